# The desktop: a launcher entry, icons drawn from the game's own art at build time, and the
# AppStream description, installed beside bin/talmyr (cmake --install, make install).
set(TALMYR_APP_ID org.talmyr.talmyr)
set(TALMYR_ICON_SIZES 32 48 64 128 256)

set(TALMYR_ICONS)
foreach(size ${TALMYR_ICON_SIZES})
  list(APPEND TALMYR_ICONS ${CMAKE_BINARY_DIR}/icons/${size}.png)
endforeach()
add_custom_command(OUTPUT ${TALMYR_ICONS}
  COMMAND ${PYTHON} ${CMAKE_SOURCE_DIR}/tools/make_icons.py ${CMAKE_SOURCE_DIR}/data/art
          ${CMAKE_BINARY_DIR}/icons ${TALMYR_ICON_SIZES}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_icons.py ${CMAKE_SOURCE_DIR}/data/art/sprite_perso.png
          ${CMAKE_SOURCE_DIR}/data/art/tiles_decor.png
  COMMENT "Drawing the icons" VERBATIM)
add_custom_target(talmyr_icons ALL DEPENDS ${TALMYR_ICONS})

# The manual page, compressed as Debian keeps them (no time stamp: the same bytes every build).
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/talmyr.6.gz
  COMMAND gzip -9 -n -c ${CMAKE_SOURCE_DIR}/desktop/talmyr.6 > ${CMAKE_BINARY_DIR}/talmyr.6.gz
  DEPENDS ${CMAKE_SOURCE_DIR}/desktop/talmyr.6 VERBATIM)
add_custom_target(talmyr_manpage ALL DEPENDS ${CMAKE_BINARY_DIR}/talmyr.6.gz)

include(GNUInstallDirs)
install(FILES ${CMAKE_BINARY_DIR}/talmyr.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_SOURCE_DIR}/desktop/${TALMYR_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/desktop/${TALMYR_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size ${TALMYR_ICON_SIZES})
  install(FILES ${CMAKE_BINARY_DIR}/icons/${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${TALMYR_APP_ID}.png)
endforeach()

# (their tests, desktop_files_validate and manpage_lint, are in tests/CMakeLists.txt)
