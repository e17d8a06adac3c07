# What the player sees, reads and hears, against tests/references (make references rewrites them).
talmyr_test(test_references test_references.cpp)
target_compile_definitions(test_references PRIVATE TALMYR_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
