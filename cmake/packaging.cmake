# Installs the game as a desktop program under any prefix, and packages it for Debian with CPack.
#
#   bin/farmyard-cannon                    the launcher: checks, then starts the game in its data folder
#   games/farmyard-cannon                  a link to it, where Debian looks for games
#   libexec/farmyard-cannon/shooter        the game itself, which reads ./bmp/
#   share/farmyard-cannon/bmp/             the artwork
#   share/applications, share/metainfo, share/icons/hicolor, share/doc/farmyard-cannon
set(SHOOTER_PACKAGE farmyard-cannon)
set(SHOOTER_VERSION 0.1.0)
set(SHOOTER_APP_ID org.farmyardcannon.FarmyardCannon)
set(SHOOTER_DATA_DIR share/${SHOOTER_PACKAGE})
set(SHOOTER_BINARY_DIR libexec/${SHOOTER_PACKAGE})

# Every picture the game loads, read from the asset catalogue: all are installed, and the
# launcher refuses to start without any of them but the window icon, which the game can do without.
set(catalogue ${PROJECT_SOURCE_DIR}/src/assets/asset_catalog.h)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${catalogue})
file(STRINGS ${catalogue} bitmap_lines REGEX "^constexpr Bitmap k[A-Za-z0-9]+{\"\\./bmp/")
set(SHOOTER_ARTWORK_FILES)
set(required_artwork)
foreach(line IN LISTS bitmap_lines)
  string(REGEX REPLACE "^constexpr Bitmap (k[A-Za-z0-9]+){\"\\./bmp/([^\"]+)\".*" "\\1;\\2" entry "${line}")
  list(GET entry 0 constant)
  list(GET entry 1 file)
  list(APPEND SHOOTER_ARTWORK_FILES ${PROJECT_SOURCE_DIR}/bmp/${file})
  if(NOT constant STREQUAL "kWindowIcon")
    list(APPEND required_artwork ${file})
  endif()
endforeach()
if(NOT required_artwork)
  message(FATAL_ERROR "no bitmaps found in ${catalogue}")
endif()
list(JOIN required_artwork " " SHOOTER_ARTWORK)

set(desktop ${PROJECT_SOURCE_DIR}/desktop)
set(generated ${PROJECT_BINARY_DIR}/desktop)
configure_file(${desktop}/farmyard-cannon.in ${generated}/${SHOOTER_PACKAGE} @ONLY)
configure_file(${desktop}/${SHOOTER_APP_ID}.metainfo.xml.in ${generated}/${SHOOTER_APP_ID}.metainfo.xml @ONLY)
configure_file(${desktop}/changelog ${generated}/changelog @ONLY)
configure_file(${desktop}/farmyard-cannon.6 ${generated}/farmyard-cannon.6 @ONLY)
file(MAKE_DIRECTORY ${generated}/games)
file(CREATE_LINK ../bin/${SHOOTER_PACKAGE} ${generated}/games/${SHOOTER_PACKAGE} SYMBOLIC)
# Debian keeps change logs and manual pages compressed, without a time stamp inside.
foreach(doc changelog farmyard-cannon.6)
  add_custom_command(OUTPUT ${generated}/${doc}.gz
    COMMAND gzip -9 -n -c ${generated}/${doc} > ${generated}/${doc}.gz
    DEPENDS ${generated}/${doc})
endforeach()
add_custom_target(shooter_docs ALL DEPENDS ${generated}/changelog.gz ${generated}/farmyard-cannon.6.gz)

install(TARGETS shooter RUNTIME DESTINATION ${SHOOTER_BINARY_DIR})
install(PROGRAMS ${generated}/${SHOOTER_PACKAGE} DESTINATION bin)
install(FILES ${generated}/games/${SHOOTER_PACKAGE} DESTINATION games)
install(FILES ${generated}/farmyard-cannon.6.gz DESTINATION share/man/man6)
install(FILES ${SHOOTER_ARTWORK_FILES} DESTINATION ${SHOOTER_DATA_DIR}/bmp)
install(FILES ${desktop}/${SHOOTER_PACKAGE}.desktop DESTINATION share/applications)
install(FILES ${generated}/${SHOOTER_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(DIRECTORY ${desktop}/icons/ DESTINATION share/icons/hicolor)
install(FILES ${desktop}/copyright ${generated}/changelog.gz DESTINATION share/doc/${SHOOTER_PACKAGE})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${SHOOTER_PACKAGE})
set(CPACK_PACKAGE_VERSION ${SHOOTER_VERSION})
set(CPACK_PACKAGE_VENDOR "Farmyard Cannon developers")
set(CPACK_PACKAGE_CONTACT "Farmyard Cannon developers <maintainers@users.noreply.c-seed-cb2d5cb6.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "physics game: fire farm animals from a cannon at cakes")
set(CPACK_PACKAGE_DESCRIPTION "Farmyard Cannon is a single-player 2D physics game. Fire a pig, a cow or a
sheep from a cannon, slingshot-style, into a randomly generated field of
blocks, pendulums and rotors, and knock out the three cake targets.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Dependencies are read from the libraries the game links, not written by hand.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
