# The page: the same game in a browser. `make web` builds build/web (copy it as it is to any static
# web host); `make web-play` serves it on 127.0.0.1 and opens it.
EXTRA_PACKAGES += emscripten python3-numpy chromium chromium-driver python3-selenium \
  webkit2gtk-driver firefox-esr python3-websocket xvfb
CHECK_EXTRA += web-check
WEB = $(BUILD)/web
WEB_MUSIC = $(BUILD)/web-music
# emcc runs Debian's JavaScript modules only with this path set.
EMENV = NODE_PATH=/usr/share/nodejs
.PHONY: web web-play web-check web-moments

web: build
	@cmake --build $(BUILD) -j $(JOBS) --target music > /dev/null
	@$(MAKE) --no-print-directory $(WEB_MUSIC)/battle.ogg
	@$(EMENV) emcmake cmake -S . -B $(BUILD)/web-build -DCMAKE_BUILD_TYPE=Release \
	  -DTALMYR_GEN=$(abspath $(BUILD))/gen -DTALMYR_MUSIC=$(abspath $(WEB_MUSIC)) \
	  -DTALMYR_WEB_OUT=$(abspath $(WEB)) -DTALMYR_WEB_TEST_OUT=$(abspath $(BUILD))/web-test > $(BUILD)/web-configure.log 2>&1 || \
	  { cat $(BUILD)/web-configure.log; exit 1; }
	$(EMENV) cmake --build $(BUILD)/web-build -j $(JOBS)
	@ls -l $(WEB)

# The music: each module rendered by the desktop's player, one exact loop, in Ogg Vorbis.
$(WEB_MUSIC)/battle.ogg: $(BUILD)/gen/un.mod $(BUILD)/gen/battle.mod tools/web_music.py
	@mkdir -p $(WEB_MUSIC)
	@./$(BUILD)/tests/music $(WEB_MUSIC) > $(WEB_MUSIC)/render.log 2>&1 || { cat $(WEB_MUSIC)/render.log; exit 1; }
	/usr/bin/python3 tools/web_music.py $(WEB_MUSIC) $(WEB_MUSIC)

web-play: web
	@/usr/bin/python3 tools/serve_web.py $(WEB)

# The page in headless Chromium against the desktop: the story, the page played by keys, the page.
web-check: web
	@cmake --build $(BUILD) -j $(JOBS) --target moments > /dev/null
	@echo "== the page in headless Chromium"
	/usr/bin/python3 tests/test_web.py $(BUILD)

# The page and the desktop's moments of the key test (what the web benchmark waits for).
web-moments: web
	@cmake --build $(BUILD) -j $(JOBS) --target moments > /dev/null
	@mkdir -p $(BUILD)/web-moments/fr
	@cd $(BUILD) && $(HEADLESS) XDG_CONFIG_HOME=$(abspath $(BUILD))/test-config ./tests/moments web-moments/fr fr
