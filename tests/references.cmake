# What the player sees, reads and hears, against tests/references (make references rewrites them).
talmyr_test(test_references test_references.cpp)
target_compile_definitions(test_references PRIVATE TALMYR_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
# the translations: msgfmt's checks, every text of the template the build extracts from the code
# translated, none that the code no longer has
add_test(NAME test_po COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/test_po.py ${CMAKE_SOURCE_DIR}
         ${CMAKE_BINARY_DIR}/gen/talmyr.pot)
