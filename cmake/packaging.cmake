# Installs the game as a desktop program under any prefix, and packages it for Debian with CPack.
#
# Into a folder (cmake --install build --prefix P):
#   bin/farmyard-cannon                    the launcher: checks, then starts the game in its data folder
#   libexec/farmyard-cannon/shooter        the game itself, which reads ./bmp/
#   share/farmyard-cannon/bmp/             the artwork
# As Debian lays out games (SHOOTER_DEBIAN_LAYOUT, set by scripts/package.sh):
#   games/farmyard-cannon                  the launcher, the only command on the PATH
#   lib/games/farmyard-cannon/shooter      the game itself
#   share/games/farmyard-cannon/bmp/       the artwork, in the architecture-independent -data package
# Both: share/applications, share/metainfo, share/icons/hicolor, share/man/man6, share/doc.
option(SHOOTER_DEBIAN_LAYOUT "Install where Debian puts games: /usr/games, /usr/lib/games, /usr/share/games" OFF)

set(SHOOTER_PACKAGE farmyard-cannon)
set(SHOOTER_DATA_PACKAGE farmyard-cannon-data)
set(SHOOTER_VERSION 0.1.0)
set(SHOOTER_APP_ID org.farmyardcannon.farmyard_cannon)
if(SHOOTER_DEBIAN_LAYOUT)
  set(SHOOTER_LAUNCHER_DIR games)
  set(SHOOTER_DATA_DIR share/games/${SHOOTER_PACKAGE})
  set(SHOOTER_BINARY_DIR lib/games/${SHOOTER_PACKAGE})
  set(SHOOTER_REINSTALL "apt install --reinstall ${SHOOTER_PACKAGE} ${SHOOTER_DATA_PACKAGE} (as root)")
else()
  set(SHOOTER_LAUNCHER_DIR bin)
  set(SHOOTER_DATA_DIR share/${SHOOTER_PACKAGE})
  set(SHOOTER_BINARY_DIR libexec/${SHOOTER_PACKAGE})
  # $prefix is the launcher's own: the folder it was installed under.
  set(SHOOTER_REINSTALL "cmake --install ${PROJECT_BINARY_DIR} --prefix $prefix")
endif()

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
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${desktop}/changelog ${desktop}/farmyard-cannon.6)
configure_file(${desktop}/farmyard-cannon.in ${generated}/${SHOOTER_PACKAGE} @ONLY)
configure_file(${desktop}/${SHOOTER_APP_ID}.metainfo.xml.in ${generated}/${SHOOTER_APP_ID}.metainfo.xml @ONLY)
configure_file(${desktop}/changelog ${generated}/changelog @ONLY)
configure_file(${desktop}/farmyard-cannon.6 ${generated}/farmyard-cannon.6 @ONLY)
# Debian keeps change logs and manual pages compressed, without a time stamp inside. They are
# made while configuring, so an install after building the game alone finds every file it needs.
foreach(doc changelog farmyard-cannon.6)
  execute_process(COMMAND gzip -9 -n -c ${generated}/${doc}
                  OUTPUT_FILE ${generated}/${doc}.gz RESULT_VARIABLE gzip_status)
  if(NOT gzip_status EQUAL 0)
    message(FATAL_ERROR "gzip could not compress ${generated}/${doc}")
  endif()
endforeach()

# The program goes first and the launcher last, so an install that stops halfway (the game not
# built yet, a folder not writable) leaves no launcher behind that would start a missing game.
install(TARGETS shooter RUNTIME DESTINATION ${SHOOTER_BINARY_DIR} COMPONENT game)
if(SHOOTER_DEBIAN_LAYOUT)
  # Stripped as Debian strips programs: also the compiler's notes, which no debugger reads.
  install(CODE "execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
                  --strip-unneeded \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${SHOOTER_BINARY_DIR}/shooter\"
                  COMMAND_ERROR_IS_FATAL ANY)" COMPONENT game)
  install(FILES ${desktop}/farmyard-cannon.lintian-overrides DESTINATION share/lintian/overrides
          RENAME ${SHOOTER_PACKAGE} COMPONENT game)
endif()
install(FILES ${SHOOTER_ARTWORK_FILES} DESTINATION ${SHOOTER_DATA_DIR}/bmp COMPONENT data)
install(DIRECTORY ${desktop}/icons/ DESTINATION share/icons/hicolor COMPONENT data)
install(FILES ${generated}/farmyard-cannon.6.gz DESTINATION share/man/man6 COMPONENT game)
install(FILES ${desktop}/${SHOOTER_PACKAGE}.desktop DESTINATION share/applications COMPONENT game)
install(FILES ${generated}/${SHOOTER_APP_ID}.metainfo.xml DESTINATION share/metainfo COMPONENT game)
install(FILES ${desktop}/copyright ${generated}/changelog.gz DESTINATION share/doc/${SHOOTER_PACKAGE}
        COMPONENT game)
if(SHOOTER_DEBIAN_LAYOUT)
  # Every Debian package carries its own copyright and change log.
  install(FILES ${desktop}/copyright ${generated}/changelog.gz DESTINATION share/doc/${SHOOTER_DATA_PACKAGE}
          COMPONENT data)
endif()
install(PROGRAMS ${generated}/${SHOOTER_PACKAGE} DESTINATION ${SHOOTER_LAUNCHER_DIR} COMPONENT game)

# Two packages from one run: the game, and its artwork for every architecture.
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL game data)
set(CPACK_PACKAGE_NAME ${SHOOTER_PACKAGE})
set(CPACK_PACKAGE_VERSION ${SHOOTER_VERSION})
set(CPACK_PACKAGE_VENDOR "Farmyard Cannon developers")
set(CPACK_PACKAGE_CONTACT "Farmyard Cannon developers <maintainers@users.noreply.c-seed-cb2d5cb6.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_GAME_PACKAGE_NAME ${SHOOTER_PACKAGE})
set(CPACK_DEBIAN_GAME_DESCRIPTION "physics game: fire farm animals from a cannon at cakes
Farmyard Cannon is a single-player 2D physics game. Fire a pig, a cow or a
sheep from a cannon, slingshot-style, into a randomly generated field of
blocks, pendulums and rotors, and knock out the three cake targets.")
# Dependencies are read from the libraries the game links, not written by hand, but for one
# choice: the SDL 1.2 library. Both Debian ships satisfy what the linker needs, and apt, left to
# itself, takes the classic one (libsdl1.2debian); the game is made and tested on sdl12-compat,
# so that one is named first, ahead of what is read from the libraries (CPack puts these first).
# A machine that already has the classic library keeps it: the game works on both. The artwork
# must be the same release as the program that draws it.
set(CPACK_DEBIAN_GAME_PACKAGE_SHLIBDEPS ON)
set(SHOOTER_SDL_DEPENDS "libsdl1.2-compat-shim | libsdl1.2debian (>= 1.2.15)")
set(CPACK_DEBIAN_GAME_PACKAGE_DEPENDS "${SHOOTER_SDL_DEPENDS}, ${SHOOTER_DATA_PACKAGE} (= ${SHOOTER_VERSION})")
set(CPACK_DEBIAN_DATA_PACKAGE_NAME ${SHOOTER_DATA_PACKAGE})
set(CPACK_DEBIAN_DATA_PACKAGE_ARCHITECTURE all)
set(CPACK_DEBIAN_DATA_DESCRIPTION "physics game: fire farm animals from a cannon at cakes - artwork
This package holds the pictures of Farmyard Cannon, a single-player 2D
physics game, and its icons. They are the same on every architecture.")
include(CPack)
