# Two commands do everything on a fresh Debian 12 machine: `make play` and `make check`.
BUILD ?= build
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local
HEADLESS = SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
# Packages some targets need beyond the build's own (added to by the included files).
EXTRA_PACKAGES := imagemagick sox
# Further checks `make check` runs after the test suite (added to by the included files).
CHECK_EXTRA :=

.PHONY: play check build setup clean screens maps music
.DEFAULT_GOAL := build

-include mk/*.mk

setup:
	@bash tools/setup.sh $(EXTRA_PACKAGES)

$(BUILD)/Makefile: CMakeLists.txt | setup
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: setup $(BUILD)/Makefile
	cmake --build $(BUILD) -j $(JOBS)

play: build
	./$(BUILD)/talmyr

check: build
	cd $(BUILD) && $(HEADLESS) ctest --output-on-failure -j $(JOBS)
	@grep -h -E '^(seed|[0-9]+ seeds|careless)' $(BUILD)/Testing/Temporary/LastTest.log || true
	@for t in $(CHECK_EXTRA); do $(MAKE) --no-print-directory $$t || exit 1; done

screens: build
	mkdir -p $(BUILD)/screens
	cd $(BUILD) && $(HEADLESS) ./tests/screens screens
	for f in $(BUILD)/screens/*.bmp; do convert "$$f" "$${f%.bmp}.png" && rm "$$f"; done

clean:
	rm -rf $(BUILD)

maps: build
	mkdir -p $(BUILD)/maps
	cd $(BUILD) && $(HEADLESS) ./tests/maps maps
	for f in $(BUILD)/maps/*.bmp; do convert "$$f" "$${f%.bmp}.png" && rm "$$f"; done

music: build
	mkdir -p $(BUILD)/music
	./$(BUILD)/tests/music $(BUILD)/music
	@for f in $(BUILD)/music/*.wav; do echo "$$f"; sox "$$f" -n stat 2>&1 | grep -E 'Length|Maximum amplitude'; \
	  for side in 1 2; do printf '  channel %s (left 1, right 2) ' $$side; \
	  sox "$$f" -n remix $$side stat 2>&1 | grep -E 'RMS +amplitude'; done; done
