# Installs the game as a desktop program under any prefix, in the folders GNUInstallDirs names
# (CMAKE_INSTALL_BINDIR and the others can be set as usual).
#
# Into a folder (cmake --install build --prefix P):
#   bin/farmyard-cannon                    the launcher: checks, then starts the game in its data folder
#   libexec/farmyard-cannon/shooter        the game itself, which reads ./bmp/
#   share/farmyard-cannon/bmp/             the artwork
# As Debian and the FHS lay out games (SHOOTER_GAMES_LAYOUT, set by the Debian packaging):
#   games/farmyard-cannon                  the launcher, the only command on the PATH
#   lib/games/farmyard-cannon/shooter      the game itself
#   share/games/farmyard-cannon/bmp/       the artwork
# Both: share/applications, share/metainfo, share/icons/hicolor, share/man/man6.
# The program is installed as built, with its debug information: stripping it, and the copyright
# file, change log and the like under share/doc, are left to whoever packages it.
include(GNUInstallDirs)
option(SHOOTER_GAMES_LAYOUT "Install where Debian puts games: games/, lib/games/, share/games/" OFF)

set(SHOOTER_PACKAGE farmyard-cannon)
set(SHOOTER_APP_ID org.farmyardcannon.farmyard_cannon)
if(SHOOTER_GAMES_LAYOUT)
  set(SHOOTER_LAUNCHER_DIR games)
  set(SHOOTER_BINARY_DIR lib/games/${SHOOTER_PACKAGE})
  set(SHOOTER_DATA_DIR ${CMAKE_INSTALL_DATAROOTDIR}/games/${SHOOTER_PACKAGE})
else()
  set(SHOOTER_LAUNCHER_DIR ${CMAKE_INSTALL_BINDIR})
  set(SHOOTER_BINARY_DIR ${CMAKE_INSTALL_LIBEXECDIR}/${SHOOTER_PACKAGE})
  set(SHOOTER_DATA_DIR ${CMAKE_INSTALL_DATADIR}/${SHOOTER_PACKAGE})
endif()
# What the launcher tells a player whose game or artwork has gone missing.
set(SHOOTER_REINSTALL "cmake --install ${PROJECT_BINARY_DIR} --prefix $prefix" CACHE STRING
    "How to put a damaged install back, as the launcher says it ($prefix is the launcher's own prefix)")

# The launcher finds the game and its artwork from its own place, so that the install works under
# any prefix given at install time; folders given as absolute paths are taken as they are.
if(IS_ABSOLUTE "${SHOOTER_LAUNCHER_DIR}")
  set(SHOOTER_LAUNCHER_PREFIX "'${CMAKE_INSTALL_PREFIX}'")
else()
  file(RELATIVE_PATH up "/prefix/${SHOOTER_LAUNCHER_DIR}" "/prefix")
  string(REGEX REPLACE "/$" "" up "${up}")
  set(SHOOTER_LAUNCHER_PREFIX "$(cd \"$(dirname \"$self\")/${up}\" && pwd)")
endif()
foreach(dir DATA BINARY)
  if(IS_ABSOLUTE "${SHOOTER_${dir}_DIR}")
    set(SHOOTER_LAUNCHER_${dir} "${SHOOTER_${dir}_DIR}")
  else()
    set(SHOOTER_LAUNCHER_${dir} "$prefix/${SHOOTER_${dir}_DIR}")
  endif()
  # The manual page names the folders where the configured prefix puts them.
  cmake_path(ABSOLUTE_PATH SHOOTER_${dir}_DIR BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}"
             OUTPUT_VARIABLE SHOOTER_FULL_${dir}_DIR)
endforeach()
cmake_path(ABSOLUTE_PATH SHOOTER_LAUNCHER_DIR BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}"
           OUTPUT_VARIABLE SHOOTER_FULL_LAUNCHER_DIR)

set(desktop ${PROJECT_SOURCE_DIR}/desktop)
set(generated ${PROJECT_BINARY_DIR}/desktop)
configure_file(${desktop}/farmyard-cannon.in ${generated}/${SHOOTER_PACKAGE} @ONLY)
configure_file(${desktop}/${SHOOTER_APP_ID}.metainfo.xml.in ${generated}/${SHOOTER_APP_ID}.metainfo.xml @ONLY)
configure_file(${desktop}/farmyard-cannon.6 ${generated}/farmyard-cannon.6 @ONLY)

# Every picture the game loads, read from the asset catalogue: all are installed, as committed or,
# with SHOOTER_DRAW_ARTWORK, as the artwork tool drew them in this build (the same bytes).
if(SHOOTER_DRAW_ARTWORK)
  set(artwork_source ${PROJECT_BINARY_DIR}/artwork/bmp)
  set(icon_source ${PROJECT_BINARY_DIR}/artwork/icons)
else()
  set(artwork_source ${PROJECT_SOURCE_DIR}/bmp)
  set(icon_source ${desktop}/icons)
endif()
set(catalogue ${PROJECT_SOURCE_DIR}/src/assets/asset_catalog.h)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${catalogue})
file(STRINGS ${catalogue} bitmap_lines REGEX "^constexpr Bitmap k[A-Za-z0-9]+{\"\\./bmp/")
set(SHOOTER_ARTWORK_FILES)
foreach(line IN LISTS bitmap_lines)
  string(REGEX REPLACE "^constexpr Bitmap k[A-Za-z0-9]+{\"\\./bmp/([^\"]+)\".*" "\\1" file "${line}")
  list(APPEND SHOOTER_ARTWORK_FILES ${artwork_source}/${file})
endforeach()
if(NOT SHOOTER_ARTWORK_FILES)
  message(FATAL_ERROR "no bitmaps found in ${catalogue}")
endif()

# The program goes first and the launcher last, so an install that stops halfway (the game not
# built yet, a folder not writable) leaves no launcher behind that would start a missing game.
install(TARGETS shooter RUNTIME DESTINATION ${SHOOTER_BINARY_DIR})
install(FILES ${SHOOTER_ARTWORK_FILES} DESTINATION ${SHOOTER_DATA_DIR}/bmp)
install(DIRECTORY ${icon_source}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${generated}/farmyard-cannon.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${desktop}/${SHOOTER_PACKAGE}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${generated}/${SHOOTER_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(PROGRAMS ${generated}/${SHOOTER_PACKAGE} DESTINATION ${SHOOTER_LAUNCHER_DIR})
