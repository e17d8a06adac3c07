# Two commands do everything on a fresh Debian 12 machine: `make play` and `make check`.
BUILD ?= build
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local
HEADLESS = SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
# sdl12-compat, the SDL 1.2 of most players (Debian 13, Fedora, Arch): on Debian 12 it installs
# beside the classic library, and this path makes a program use it instead.
COMPAT = LD_LIBRARY_PATH=$(shell pkg-config --variable=libdir sdl)/sdl12-compat
# Packages some targets need beyond the build's own (added to by the included files).
EXTRA_PACKAGES := imagemagick sox
# Further checks `make check` runs after the test suite (added to by the included files).
CHECK_EXTRA :=

.PHONY: play check build setup clean screens maps music references
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
	@echo "== the test suite on the classic SDL 1.2"
	cd $(BUILD) && $(HEADLESS) ctest --output-on-failure -j $(JOBS)
	@grep -h -E '^(seed|[0-9]+ seeds)' $(BUILD)/Testing/Temporary/LastTest.log || true
	@echo "== the test suite on sdl12-compat"
	cd $(BUILD) && $(HEADLESS) $(COMPAT) ctest --output-on-failure -j $(JOBS)
	@for t in $(CHECK_EXTRA); do $(MAKE) --no-print-directory $$t || exit 1; done

screens: build
	mkdir -p $(BUILD)/screens
	cd $(BUILD) && $(HEADLESS) ./tests/screens screens

# After a deliberate change of art, layout, text or timing: the reference pictures, the story's
# transcript and the walkable tiles in tests/references, written anew (review them with git diff).
references: build
	cd $(BUILD)/tests && $(HEADLESS) TALMYR_UPDATE_REFERENCES=1 ./test_references

clean:
	rm -rf $(BUILD)

maps: build
	mkdir -p $(BUILD)/maps
	cd $(BUILD) && $(HEADLESS) ./tests/maps maps

music: build
	mkdir -p $(BUILD)/music
	./$(BUILD)/tests/music $(BUILD)/music
	@for f in $(BUILD)/music/*.wav; do echo "$$f"; sox "$$f" -n stat 2>&1 | grep -E 'Length|Maximum amplitude'; \
	  for side in 1 2; do printf '  channel %s (left 1, right 2) ' $$side; \
	  sox "$$f" -n remix $$side stat 2>&1 | grep -E 'RMS +amplitude'; done; done
