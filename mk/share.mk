# make test-share: the tests' lines against the rest of the project's code (C++, Python and
# JavaScript, the pages included, counted with wc -l), the share our guide keeps to about a third.
.PHONY: test-share
CODE_FILES = -name '*.cpp' -o -name '*.h' -o -name '*.py' -o -name '*.js' -o -name '*.html'

test-share:
	@t=$$(find tests \( $(CODE_FILES) \) -print0 | xargs -0 cat | wc -l); \
	 r=$$(find game platform data tools bench \( $(CODE_FILES) \) -print0 | xargs -0 cat | wc -l); \
	 echo "tests: $$t lines; the rest: $$r lines; tests are $$((100 * t / r)).$$((1000 * t / r % 10)) % of the rest"
