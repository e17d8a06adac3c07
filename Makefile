# Two commands do everything on a fresh Debian 12 machine: `make play` and `make check`.
BUILD ?= build
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local

.PHONY: play check build setup clean screens

setup:
	@bash tools/setup.sh

$(BUILD)/Makefile: CMakeLists.txt | setup
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: setup $(BUILD)/Makefile
	cmake --build $(BUILD) -j $(JOBS)

play: build
	./$(BUILD)/talmyr

check: build
	cd $(BUILD) && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD)

screens: build
	mkdir -p $(BUILD)/screens
	cd $(BUILD) && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ./tests/screens screens
	for f in $(BUILD)/screens/*.bmp; do convert "$$f" "$${f%.bmp}.png" && rm "$$f"; done
