# cmake -DSOURCE_DIR=<repository> -DFILE=<change log> -P changelog_release_read.cmake: prints
# the release and date that the configuration would read from the change log.
include(${SOURCE_DIR}/cmake/release.cmake)
shooter_read_changelog(${FILE} version date)
message(STATUS "${version} ${date}")
