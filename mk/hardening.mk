# Hardening: the whole test suite again under the address and undefined-behaviour sanitizers (in a
# build of their own: the input storm and the machines without sound or pads among them),
# and a scripted game under valgrind.
ASAN_BUILD ?= build-asan
SANITIZERS = ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  LSAN_OPTIONS=suppressions=$(CURDIR)/tools/lsan.supp
EXTRA_PACKAGES += valgrind
CHECK_EXTRA += hardening memcheck

.PHONY: hardening memcheck

$(ASAN_BUILD)/Makefile: CMakeLists.txt | setup
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALMYR_SANITIZE=ON

# The desktop and package checks and the art's Python checks run no code of ours that a sanitizer
# could see: they run once, in the normal build.
hardening: setup $(ASAN_BUILD)/Makefile
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && $(HEADLESS) $(SANITIZERS) ctest --output-on-failure -j $(JOBS) \
	  -E '^(desktop_files_validate|package_runs_installed|test_art|test_po|manpage_lint)$$'
	@grep -h '^storm:' $(ASAN_BUILD)/Testing/Temporary/LastTest.log || true

memcheck: build
	cd $(BUILD)/tests && $(HEADLESS) valgrind --tool=memcheck --error-exitcode=1 \
	  --leak-check=full --show-leak-kinds=definite --errors-for-leak-kinds=definite \
	  --suppressions=$(CURDIR)/tools/valgrind.supp \
	  ./test_storm --gtest_filter='MemcheckGame.*'
