# A Debian package of the game (make package): the program, its desktop entry, icons and
# metainfo under /usr, with the SDL 1.2 libraries it needs at run time declared.
include(GNUInstallDirs)
if(NOT TALMYR_APP_ID)
  set(TALMYR_APP_ID org.talmyr.talmyr)
endif()
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME talmyr)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Talmyr developers")
set(CPACK_PACKAGE_CONTACT "The Talmyr developers <talmyr@talmyr.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "short role-playing game on a small island, in French")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "A young hero lands on a small island, is robbed by a vagrant, learns that the royal family\nis held in the castle and faces its master in turn-based duels. Keyboard only; the story\nis told in French.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6, libstdc++6, libgcc-s1, libsdl1.2debian, libsdl-mixer1.2, libsdl-ttf2.0-0")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_OUTPUT_FILE_PREFIX packages)  # under the build folder, or under cpack -B
include(CPack)

# Debian keeps a package's licence as its copyright file.
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/talmyr
        RENAME copyright)

if(TALMYR_TESTS)
  # Builds the package in a scratch folder, unpacks it into a scratch root, checks its contents
  # and starts the unpacked program headless until a close.
  add_test(NAME package_runs_installed
           COMMAND bash ${CMAKE_SOURCE_DIR}/desktop/check_package.sh ${CMAKE_BINARY_DIR}
                   ${TALMYR_APP_ID})
  set_tests_properties(package_runs_installed PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
endif()
