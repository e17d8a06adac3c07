# The page (make web): the same game compiled to WebAssembly by emscripten. The pictures, the
# translations, the font's atlas and the maps come from the desktop build's generated sources
# (TALMYR_GEN); the music is each module rendered by the desktop's own player and encoded to Ogg
# Vorbis (TALMYR_MUSIC), embedded under the modules' names. What differs from the desktop lives
# in platform/web; the desktop's window and the player's keys on it, pads, display checks,
# screenshots and the kept game's file (present.cpp, present_keys.cpp, pad.cpp, desktop.cpp,
# screenshot.cpp, keep_store.cpp) are left out.
if(NOT TALMYR_GEN OR NOT TALMYR_MUSIC OR NOT TALMYR_WEB_OUT)
  message(FATAL_ERROR "the page is built by `make web` (TALMYR_GEN, TALMYR_MUSIC, TALMYR_WEB_OUT)")
endif()

# Bulk memory: memcpy and memset become the browser's own block copies (every browser of the last
# few years has them), which the per-frame copies of whole pictures and rows spend most time in.
add_compile_options(-mbulk-memory)
add_link_options(-mbulk-memory)

set(WEB_GEN ${CMAKE_BINARY_DIR}/gen)
file(MAKE_DIRECTORY ${WEB_GEN})
foreach(song un battle)
  add_custom_command(OUTPUT ${WEB_GEN}/${song}.cpp
    COMMAND ${PYTHON} ${CMAKE_SOURCE_DIR}/tools/embed.py ${song} ${TALMYR_MUSIC}/${song}.ogg
            ${WEB_GEN}/${song}.cpp
    DEPENDS ${TALMYR_MUSIC}/${song}.ogg ${CMAKE_SOURCE_DIR}/tools/embed.py VERBATIM)
endforeach()

file(GLOB DESKTOP_GEN ${TALMYR_GEN}/*.cpp)
list(REMOVE_ITEM DESKTOP_GEN ${TALMYR_GEN}/un.cpp ${TALMYR_GEN}/battle.cpp)
add_library(talmyr_data STATIC ${DESKTOP_GEN} ${WEB_GEN}/un.cpp ${WEB_GEN}/battle.cpp data/maps.cpp)
target_include_directories(talmyr_data PUBLIC data platform)

file(GLOB GAME_SOURCES game/*.cpp)
list(REMOVE_ITEM GAME_SOURCES ${CMAKE_SOURCE_DIR}/game/main.cpp)
file(GLOB PLATFORM_SOURCES platform/*.cpp platform/web/*.cpp)
list(REMOVE_ITEM PLATFORM_SOURCES ${CMAKE_SOURCE_DIR}/platform/present.cpp
     ${CMAKE_SOURCE_DIR}/platform/present_keys.cpp
     ${CMAKE_SOURCE_DIR}/platform/pad.cpp ${CMAKE_SOURCE_DIR}/platform/desktop.cpp
     ${CMAKE_SOURCE_DIR}/platform/screenshot.cpp ${CMAKE_SOURCE_DIR}/platform/keep_store.cpp)
add_library(talmyr_core STATIC ${PLATFORM_SOURCES} ${GAME_SOURCES})
target_include_directories(talmyr_core PUBLIC platform game)
target_compile_options(talmyr_core PRIVATE ${WARN} -include ${CMAKE_SOURCE_DIR}/platform/web/sdl_page.h)
target_compile_definitions(talmyr_core PRIVATE TALMYR_VERSION="${PROJECT_VERSION}")
target_link_libraries(talmyr_core PUBLIC talmyr_data)

# The game waits in SDL_Delay as on the desktop: asyncify lets such a wait hand the browser its
# turn. The page (index.html) is our own; emscripten writes only the program and its loader.
set(WEB_LINK "SHELL:--js-library ${CMAKE_SOURCE_DIR}/platform/web/library_talmyr.js" -sASYNCIFY -sASYNCIFY_IGNORE_INDIRECT=1 -sASYNCIFY_STACK_SIZE=65536 -sINITIAL_MEMORY=33554432
    -sALLOW_MEMORY_GROWTH=1 -sENVIRONMENT=web -sEXIT_RUNTIME=1 -sEXPORTED_RUNTIME_METHODS=[]
    -sINCOMING_MODULE_JS_API=[arguments,canvas,print,printErr,onExit,onAbort,onRuntimeInitialized,setStatus,monitorRunDependencies,locateFile,preRun,instantiateWasm])

add_executable(talmyr game/main.cpp)
target_link_libraries(talmyr PRIVATE talmyr_core)
target_link_options(talmyr PRIVATE ${WEB_LINK})
set_target_properties(talmyr PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY ${TALMYR_WEB_OUT}
                      LINK_DEPENDS ${CMAKE_SOURCE_DIR}/platform/web/library_talmyr.js)

# The page's icons, drawn from the game's art as the desktop's are; then the page itself, its
# manifest and its service worker, stamped with the build (tools/web_page.py).
set(WEB_ICONS)
foreach(size 64 192 512 maskable-512)
  list(APPEND WEB_ICONS ${TALMYR_WEB_OUT}/icons/${size}.png)
endforeach()
add_custom_command(OUTPUT ${WEB_ICONS}
  COMMAND ${PYTHON} ${CMAKE_SOURCE_DIR}/tools/make_icons.py ${CMAKE_SOURCE_DIR}/data/art
          ${TALMYR_WEB_OUT}/icons 64 192 512 maskable-512
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_icons.py ${CMAKE_SOURCE_DIR}/data/art/sprite_perso.png
          ${CMAKE_SOURCE_DIR}/data/art/tiles_decor.png VERBATIM)
set(PAGE_SOURCES)
foreach(f index.html page_layout.js page_controls.js page_language.js page_failure.js
          page_fullscreen.js page_music_button.js page_keys.js page_screenshot.js
          page_storage_note.js page_offline.js page_loader.js page_start.js manifest.webmanifest
          sw.js)
  list(APPEND PAGE_SOURCES ${CMAKE_SOURCE_DIR}/platform/web/${f})
endforeach()
add_custom_command(OUTPUT ${TALMYR_WEB_OUT}/index.html ${TALMYR_WEB_OUT}/sw.js
  COMMAND ${PYTHON} ${CMAKE_SOURCE_DIR}/tools/web_page.py ${CMAKE_SOURCE_DIR}/platform/web
          ${TALMYR_WEB_OUT}
  DEPENDS $<TARGET_FILE:talmyr> ${WEB_ICONS} ${PAGE_SOURCES} ${CMAKE_SOURCE_DIR}/tools/web_page.py
  VERBATIM)
add_custom_target(web_page ALL DEPENDS ${TALMYR_WEB_OUT}/index.html ${TALMYR_WEB_OUT}/sw.js)
add_dependencies(web_page talmyr)

# The page's test build (tests/test_web.py): the recorded story of the desktop's suite, played in
# the browser on the virtual clock, with the desktop's own test support.
if(TALMYR_WEB_TEST_OUT)
  add_executable(talmyr_story ${CMAKE_SOURCE_DIR}/tests/web_story.cpp ${CMAKE_SOURCE_DIR}/tests/harness.cpp
                 ${CMAKE_SOURCE_DIR}/tests/support_record.cpp ${CMAKE_SOURCE_DIR}/tests/support_autopilot.cpp
                 ${CMAKE_SOURCE_DIR}/tests/support_story.cpp)
  target_include_directories(talmyr_story PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_compile_options(talmyr_story PRIVATE ${WARN} -include ${CMAKE_SOURCE_DIR}/platform/web/sdl_page.h)
  target_link_libraries(talmyr_story PRIVATE talmyr_core)
  target_link_options(talmyr_story PRIVATE ${WEB_LINK}
                      "SHELL:--js-library ${CMAKE_SOURCE_DIR}/tests/library_web_story.js")
  set_target_properties(talmyr_story PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY ${TALMYR_WEB_TEST_OUT}
                        LINK_DEPENDS "${CMAKE_SOURCE_DIR}/platform/web/library_talmyr.js;${CMAKE_SOURCE_DIR}/tests/library_web_story.js")
endif()
if(TALMYR_WEB_TEST_OUT)
  configure_file(${CMAKE_SOURCE_DIR}/tests/web_story.html ${TALMYR_WEB_TEST_OUT}/index.html COPYONLY)
endif()
