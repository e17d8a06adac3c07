# Benchmarks and whole-process probes (make bench): built only with -DTALMYR_BENCH=ON, so that the
# everyday build stays as quick as it was. Both link the game library through the test harness,
# which starts the game exactly as the program does.
if(TALMYR_BENCH)
  if(NOT TALMYR_TESTS)
    message(FATAL_ERROR "TALMYR_BENCH needs TALMYR_TESTS (the benchmarks use the test harness)")
  endif()
  find_package(benchmark REQUIRED)

  add_executable(talmyr_bench ${CMAKE_SOURCE_DIR}/bench/frames.cpp)
  target_compile_options(talmyr_bench PRIVATE ${WARN})
  target_link_libraries(talmyr_bench PRIVATE talmyr_harness benchmark::benchmark)

  add_executable(talmyr_probe ${CMAKE_SOURCE_DIR}/bench/probe.cpp)
  target_compile_options(talmyr_probe PRIVATE ${WARN})
  target_link_libraries(talmyr_probe PRIVATE talmyr_harness)
endif()

# (the fast blits' own test, test_blit_copy, is listed with every other test in tests/CMakeLists.txt)
