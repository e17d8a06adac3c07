# Static checks on our own code: clang-tidy (the checks in .clang-tidy, every warning an error)
# and cppcheck. Both read the build's compile commands. First, every file README.md and docs/
# name must be in the repository (tools/doc_paths.py), and the C++ of game/ and platform/ is ASCII
# but for the game's texts, written in UTF-8 inside _() (tools/plain_sources.py); last, the layout (format-check).
EXTRA_PACKAGES += clang-tidy cppcheck clang-format
CHECK_EXTRA += lint
# (the two benchmark programs are only configured by `make bench`, the page's story by `make web`:
# cppcheck still reads them)
LINT_SOURCES = $(filter-out bench/frames.cpp bench/probe.cpp tests/web_story.cpp, \
  $(wildcard platform/*.cpp game/*.cpp tests/*.cpp tools/*.cpp bench/*.cpp))

.PHONY: lint format format-check

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
	@$(MAKE) --no-print-directory format-check

# The layout .clang-format describes, on every C++ file of ours: the game, the platform (the page's
# too), the tests, the tools and the benchmarks. Not data/ (the map grids are laid out by hand as
# tables; data/.clang-format turns formatting off there) nor build/gen (generated).
FORMAT_SOURCES = $(wildcard game/*.cpp game/*.h platform/*.cpp platform/*.h platform/web/*.cpp \
  platform/web/*.h tests/*.cpp tests/*.h tools/*.cpp tools/*.h bench/*.cpp bench/*.h)

# rewrites the files in place
format: setup
	@clang-format -i $(FORMAT_SOURCES)

# fails if any file is laid out otherwise, naming every place that would change (changes nothing)
format-check: setup
	@echo "clang-format on $(words $(FORMAT_SOURCES)) files"
	@clang-format --dry-run --Werror $(FORMAT_SOURCES)
