# cmake -DSOURCE_DIR=<repository> -DWORK=<scratch folder> -P changelog_release_test.cmake
# The release and its date come from the top entry of a change log, in UTC, whatever zone the
# entry was written in, and an entry that cannot be read stops the configuration.
include(${SOURCE_DIR}/cmake/release.cmake)
file(MAKE_DIRECTORY ${WORK})

# expect(<top entry's version> <its date line> <version wanted> <date wanted>)
function(expect version when want_version want_date)
  file(WRITE ${WORK}/changelog
"farmyard-cannon (${version}) unstable; urgency=medium

  * A change.

 -- A Developer <dev@example.org>  ${when}

farmyard-cannon (0.0.1-1) unstable; urgency=medium

  * An older one.

 -- A Developer <dev@example.org>  Mon, 01 Jan 2024 12:00:00 +0000
")
  shooter_read_changelog(${WORK}/changelog got_version got_date)
  if(NOT got_version STREQUAL want_version OR NOT got_date STREQUAL want_date)
    message(FATAL_ERROR "${version}, ${when}: read ${got_version} ${got_date}, "
                        "wanted ${want_version} ${want_date}")
  endif()
endfunction()

expect(0.1.0-1 "Mon, 07 Dec 2026 10:00:00 +0000" 0.1.0 2026-12-07)
expect(2:1.2-3-1 "Tue, 01 Mar 2028 05:30:00 +1000" 1.2-3 2028-02-29)
expect(1.0 "Fri, 31 Dec 2027 20:00:00 -0500" 1.0 2028-01-01)
expect(0.2.0-1 "Thu,  9 Sep 2027 09:09:09 +0200" 0.2.0 2027-09-09)
expect(0.2.0-1 "Sat, 01 Mar 2100 00:00:00 +0001" 0.2.0 2100-02-28)

# A date that is not in the change log's form stops the configuration.
file(WRITE ${WORK}/broken "farmyard-cannon (0.1.0-1) unstable; urgency=medium\n\n -- A Developer <dev@example.org>  2026-12-07\n")
execute_process(COMMAND ${CMAKE_COMMAND} -DFILE=${WORK}/broken -DSOURCE_DIR=${SOURCE_DIR}
                        -P ${CMAKE_CURRENT_LIST_DIR}/changelog_release_read.cmake
                RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
if(status EQUAL 0)
  message(FATAL_ERROR "a change log dated 2026-12-07 was read without complaint")
endif()
message(STATUS "change log entries read as expected")
