# A Debian package of the game (make package): the program in /usr/games, its desktop entry,
# icons, metainfo, manual page and changelog under /usr, with the libraries it needs at run time
# declared by dpkg-shlibdeps, with their versions. lintian finds nothing to say about it.
include(GNUInstallDirs)
if(NOT TALMYR_APP_ID)
  set(TALMYR_APP_ID org.talmyr.talmyr)
endif()
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME talmyr)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Talmyr developers")
set(CPACK_PACKAGE_CONTACT "The Talmyr developers <talmyr@talmyr.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "short role-playing game on a small island, in French or English")
# (lines of at most 80 characters, as Debian wants them)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "A young hero lands on a small island, is robbed by a vagrant, learns that the\nroyal family is held in the castle and faces its master in turn-based duels.\nThe story is told in French or in English. It plays with the keyboard or a\ngamepad, in a window or full screen.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The dependencies as dpkg-shlibdeps reads them from the program: the packages of the libraries it
# is linked with, each with the least version that has every symbol it uses.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# One package of two parts: everything make install installs but the program in bin/, and the
# program in games/.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL Unspecified debian)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_OUTPUT_FILE_PREFIX packages)  # under the build folder, or under cpack -B
include(CPack)

# Debian keeps a package's licence as its copyright file, and its history as changelog.gz
# (compressed with no time stamp: the same bytes every build).
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/talmyr
        RENAME copyright)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/changelog.gz
  COMMAND gzip -9 -n -c ${CMAKE_SOURCE_DIR}/desktop/changelog > ${CMAKE_BINARY_DIR}/changelog.gz
  DEPENDS ${CMAKE_SOURCE_DIR}/desktop/changelog VERBATIM)
add_custom_target(talmyr_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/talmyr)

# (its test, package_runs_installed, is in tests/CMakeLists.txt)
