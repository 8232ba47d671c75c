# cmake -DDRAWN=<folder> -DSOURCE_DIR=<repository> -P compare_artwork.cmake
# The artwork tool's drawing in DRAWN/bmp and DRAWN/icons holds the same files as the committed
# bmp/ and desktop/icons/, each the same byte for byte; otherwise names every difference and fails.
set(differences)
foreach(pair "bmp:bmp" "icons:desktop/icons")
  string(REPLACE ":" ";" pair "${pair}")
  list(GET pair 0 drawn_folder)
  list(GET pair 1 committed_folder)
  file(GLOB_RECURSE drawn_files LIST_DIRECTORIES false RELATIVE ${DRAWN}/${drawn_folder}
       ${DRAWN}/${drawn_folder}/*)
  file(GLOB_RECURSE committed_files LIST_DIRECTORIES false RELATIVE ${SOURCE_DIR}/${committed_folder}
       ${SOURCE_DIR}/${committed_folder}/*)
  set(all_files ${drawn_files} ${committed_files})
  list(REMOVE_DUPLICATES all_files)
  list(SORT all_files)
  foreach(name IN LISTS all_files)
    set(drawn_file ${DRAWN}/${drawn_folder}/${name})
    set(committed_file ${SOURCE_DIR}/${committed_folder}/${name})
    if(NOT EXISTS ${drawn_file})
      list(APPEND differences "${committed_folder}/${name} is committed but not drawn")
    elseif(NOT EXISTS ${committed_file})
      list(APPEND differences "${committed_folder}/${name} is drawn but not committed")
    else()
      execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${drawn_file} ${committed_file}
                      RESULT_VARIABLE same)
      if(NOT same EQUAL 0)
        list(APPEND differences "${committed_folder}/${name} differs from the drawing in ${drawn_file}")
      endif()
    endif()
  endforeach()
endforeach()
if(differences)
  list(JOIN differences "\n  " text)
  message(FATAL_ERROR "The artwork tool does not draw the committed pictures:\n  ${text}\n"
                      "Redraw them with make_artwork bmp desktop/icons, look at them and commit them.")
endif()
