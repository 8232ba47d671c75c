# The browser build, with emscripten: emscripten's own SDL 1.2 and a Box2D built with it (found
# through box2d_DIR). Only the game's program for the page: index.js, index.wasm and index.data (the
# bitmaps); scripts/web.sh lays them out as the page, with src/web/shell.html around them.

# The page's process has nothing to guard: its no-op stands in for the process guard.
get_target_property(shooter_web_sources shooter_core SOURCES)
list(REMOVE_ITEM shooter_web_sources ${shooter_process_guard_sources})
list(APPEND shooter_web_sources src/web/no_process_guard.cpp src/web/browser_sdl.cpp src/web/web_clock.cpp)
set_target_properties(shooter_core PROPERTIES SOURCES "${shooter_web_sources}")

add_executable(shooter_page src/web/main.cpp)
target_link_libraries(shooter_page PRIVATE shooter_core)
shooter_target_options(shooter_page)
set_target_properties(shooter_page PROPERTIES OUTPUT_NAME index SUFFIX .js
                                              LINK_DEPENDS "${PROJECT_SOURCE_DIR}/src/web/screen.js")
target_link_options(shooter_page PRIVATE
  # The main loop sleeps through the browser's timers.
  -sASYNCIFY
  # The bitmaps, decoded by the browser's SDL.
  -sSTB_IMAGE=1
  "-sEXPORTED_FUNCTIONS=_main,_malloc,_free,_stbi_load_from_memory,_stbi_image_free"
  "SHELL:--preload-file ${PROJECT_SOURCE_DIR}/bmp@/bmp"
  # The page around the game (its layout, full screen, the touch buttons), ahead of the game.
  "SHELL:--pre-js ${PROJECT_SOURCE_DIR}/src/web/screen.js"
  -sALLOW_MEMORY_GROWTH=1
  -sENVIRONMENT=web)
