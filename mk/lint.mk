# Static checks on our own code: clang-tidy (the checks in .clang-tidy, every warning an error)
# and cppcheck. Both read the build's compile commands. First, every file README.md and docs/
# name must be in the repository (tools/doc_paths.py), and the C++ of game/ and platform/ is ASCII
# but for the game's texts, written in UTF-8 inside _() (tools/plain_sources.py).
EXTRA_PACKAGES += clang-tidy cppcheck
CHECK_EXTRA += lint
# (the two benchmark programs are only configured by `make bench`, the page's story by `make web`:
# cppcheck still reads them)
LINT_SOURCES = $(filter-out bench/frames.cpp bench/probe.cpp tests/web_story.cpp, \
  $(wildcard platform/*.cpp game/*.cpp tests/*.cpp tools/*.cpp bench/*.cpp))

.PHONY: lint

lint: build
	@echo "the files the guides name"
	@/usr/bin/python3 tools/doc_paths.py
	@echo "plain sources, the game's texts in _()"
	@/usr/bin/python3 tools/plain_sources.py
	@echo "clang-tidy on $(words $(LINT_SOURCES)) files"
	@printf '%s\n' $(LINT_SOURCES) | xargs -P $(JOBS) -n 4 clang-tidy -p $(BUILD) --quiet 2>/dev/null
	@echo "cppcheck"
	@cppcheck --quiet --enable=warning,performance,portability --std=c++17 --library=googletest \
	  --inline-suppr --error-exitcode=1 --suppress=missingIncludeSystem \
	  -I platform -I game -I data -I tests platform game tests tools bench
