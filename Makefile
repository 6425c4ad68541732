# Set-up and everyday commands: `make run` to play, `make test` to run every test.
BUILD_DIR ?= build
FUZZ_DIR ?= build-fuzz
SANITIZE_DIR ?= build-sanitize
# make test-debian13: the minimal Debian 13 it runs the suite in, kept between runs.
DEBIAN13_DIR ?= build-debian13
JOBS ?= $(shell nproc)
# make bench: how many runs of each benchmark (medians are reported) and which ones.
BENCH_REPETITIONS ?= 5
BENCH_FILTER ?= .
# Build folders may be nested or absolute; every path below is made from these.
BUILD := $(abspath $(BUILD_DIR))
FUZZ := $(abspath $(FUZZ_DIR))
SANITIZE := $(abspath $(SANITIZE_DIR))

# What the game needs, and what the tests, benchmarks and fuzz targets add.
# libclang-rt-dev is the clang runtime (libFuzzer, sanitizers) of Debian's default clang.
GAME_PACKAGES = g++ cmake make pkg-config libsdl1.2-dev libsdl-image1.2-dev libglu1-mesa-dev libgl1-mesa-dri
# The asset generator renders the font with FreeType and writes PNG files with libpng.
ASSET_PACKAGES = libfreetype-dev libpng-dev fonts-dejavu-core
TEST_PACKAGES = $(GAME_PACKAGES) $(ASSET_PACKAGES) libgtest-dev libbenchmark-dev zlib1g-dev xvfb xauth xdotool faketime imagemagick \
                clang libclang-rt-dev
# apt-get runs through sudo when not root; env carries the noninteractive front end through sudo.
SUDO = $(shell [ "$$(id -u)" = 0 ] || echo sudo)
APT = $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get

.PHONY: reach screenshots tiles run test test-suite test-debian13 test-sanitized memcheck build build-game deps deps-game bench bench-startup fuzz assets clean

run: build-game
	cd $(CURDIR) && $(BUILD)/cairnfold

# Drawing tests need an X display: tools/with_display.sh gives the run a
# private Xvfb of its own.
test: test-suite
	$(MAKE) test-sanitized
	$(MAKE) memcheck
	$(MAKE) fuzz

test-suite: build
	cd $(BUILD) && $(CURDIR)/tools/with_display.sh ctest --output-on-failure -j$(JOBS)

# The suite of the committed tree in a minimal Debian 13, whose SDL 1.2 is the compatibility
# layer over SDL 2: only `make` is installed by hand there, test-suite installs the rest.
test-debian13:
	$(call install_missing,debootstrap)
	$(SUDO) $(CURDIR)/tools/debian_chroot.sh trixie $(abspath $(DEBIAN13_DIR))

# A few seconds of play under valgrind memcheck; fails on a fault or leak in the game's own code.
memcheck: build
	$(CURDIR)/tests/memcheck.sh $(BUILD)/cairnfold

# The whole suite again, the game and the tests built with AddressSanitizer and
# UndefinedBehaviorSanitizer; any report fails the run. The reach tool's search, millions of
# player updates that the plain suite already runs, is left out here: sanitized it takes minutes. What SDL, X and Mesa keep
# until exit is not counted as a leak of ours (tests/lsan.supp), and Mesa's
# compiler frees with the other allocator than it allocated with, so that one
# check is off.
# LeakSanitizer stops every thread of the process at exit to read it; a thread of Mesa's that is ending
# just then can crash that stop (at random, "Tracer caught signal 11"), so Mesa's software renderer
# draws on the calling thread there and keeps no shader cache thread.
SANITIZER_ENV = ASAN_OPTIONS=detect_leaks=1:alloc_dealloc_mismatch=0 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
                LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
                LP_NUM_THREADS=0 MESA_SHADER_CACHE_DISABLE=true
test-sanitized: deps
	cmake -S $(CURDIR) -B $(SANITIZE) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCAIRNFOLD_SANITIZE=ON -DCAIRNFOLD_BENCH=OFF
	cmake --build $(SANITIZE) -j$(JOBS)
	cd $(SANITIZE) && $(SANITIZER_ENV) $(CURDIR)/tools/with_display.sh ctest --output-on-failure -j$(JOBS) -E ReachTool

# The game alone: no test or benchmark libraries needed.
build-game: deps-game
	cmake -S $(CURDIR) -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DCAIRNFOLD_TESTS=OFF -DCAIRNFOLD_BENCH=OFF
	cmake --build $(BUILD) --target cairnfold -j$(JOBS)

# Everything: the game, the tests, the benchmarks and the asset generator.
build: deps
	cmake -S $(CURDIR) -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DCAIRNFOLD_TESTS=ON -DCAIRNFOLD_BENCH=ON
	cmake --build $(BUILD) -j$(JOBS)

# Install whichever of the Debian packages are missing.
define install_missing
	@missing=$$(for p in $(1); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(APT) update && $(APT) install -y --no-install-recommends $$missing; \
	fi
endef
deps-game:
	$(call install_missing,$(GAME_PACKAGES))
deps:
	$(call install_missing,$(TEST_PACKAGES))

# Rebuilds every file of Media/ with the project's own generator; only this
# installs what the generator needs (the committed Media/ needs none of it).
assets: build-game
	$(call install_missing,$(ASSET_PACKAGES))
	cmake -S $(CURDIR) -B $(BUILD)
	cmake --build $(BUILD) --target make_assets -j$(JOBS)
	$(BUILD)/tools/make_assets $(CURDIR)

# Every place a walking player reaches from the start of a new game, searched with the game's own
# physics in the whole world of each known-good seed (REACH_SEEDS) at each end of the game's time
# step (REACH_STEPS); REACH_MAP (when not empty) becomes the map of the first seed at the first step.
# Fails when a collectable is out of reach, a run leaves the world, a lift cannot be boarded or a
# descent cannot be walked.
REACH_SEEDS ?= 1733432707 1 42 3141592
REACH_STEPS ?= 0.96 2
REACH_MAP ?= docs/reach.png
reach: build
	cd $(CURDIR) && status=0; map="$(if $(REACH_MAP),--map $(BUILD)/reach.ppm)"; \
	  for step in $(REACH_STEPS); do for seed in $(REACH_SEEDS); do \
	    echo "reach: seed $$seed, step $$step"; start=$$(date +%s); \
	    $(BUILD)/tools/reach $$seed --step $$step $$map || status=1; map=; \
	    echo "reach: seed $$seed, step $$step: $$(( $$(date +%s) - start )) s"; \
	  done; done; \
	  $(if $(REACH_MAP),convert $(BUILD)/reach.ppm -strip $(REACH_MAP);) exit $$status

# The README's pictures, taken from the running game under Xvfb.
screenshots: build
	cmake --build $(BUILD) --target stage_view -j$(JOBS)
	$(CURDIR)/tools/screenshots.sh $(BUILD)

# The sheet of every tile and entity model, drawn by the game's renderer under Xvfb.
tiles: build
	cmake --build $(BUILD) --target tile_sheet -j$(JOBS)
	cd $(CURDIR) && tools/with_display.sh $(BUILD)/tools/tile_sheet $(BUILD)/tiles.ppm
	convert $(BUILD)/tiles.ppm -strip $(CURDIR)/docs/tiles.png

bench: build
	cd $(CURDIR) && tools/with_display.sh $(BUILD)/bench/cairnfold_bench --benchmark_filter='$(BENCH_FILTER)' \
	  --benchmark_repetitions=$(BENCH_REPETITIONS) --benchmark_report_aggregates_only=true

# The real game timed from exec to its first presented frame, new and resumed, BENCH_REPETITIONS runs each.
bench-startup: build
	$(CURDIR)/tools/with_display.sh $(CURDIR)/bench/startup_process.sh $(BUILD) $(BENCH_REPETITIONS)

# Every file reader under libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer,
# each for FUZZ_SECONDS: the OBJ loader from tests/fuzz/corpus and the project's models, the
# settings reader from the shipped settings.ini, the world and core readers from the saves
# of a generated world. Inputs that once crashed live in tests/fuzz/regressions/<target>,
# where a new crash is written too; they run first each time. Built with clang in its own
# folder; new interesting inputs collect in $(FUZZ_DIR)/corpus.
FUZZ_SECONDS ?= 30
FUZZ_TARGETS = obj_loader settings world_file core_file
fuzz: deps
	cmake -S $(CURDIR) -B $(FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DCAIRNFOLD_FUZZ=ON -DCAIRNFOLD_TESTS=OFF -DCAIRNFOLD_BENCH=OFF
	cmake --build $(FUZZ) --target $(FUZZ_TARGETS:%=%_fuzz) make_save_seeds -j$(JOBS)
	mkdir -p $(FUZZ)/seeds/settings $(FUZZ)/seeds/saves/Saves $(FUZZ_TARGETS:%=$(FUZZ)/corpus/%) \
	  $(FUZZ_TARGETS:%=$(CURDIR)/tests/fuzz/regressions/%)
	cp $(CURDIR)/settings.ini $(FUZZ)/seeds/settings/
	cd $(FUZZ)/seeds/saves && $(FUZZ)/tests/fuzz/make_save_seeds 1
	mkdir -p $(FUZZ)/seeds/world $(FUZZ)/seeds/core
	cp $(FUZZ)/seeds/saves/Saves/worldgrid.dat $(FUZZ)/seeds/world/
	cp $(FUZZ)/seeds/saves/Saves/coresave.dat $(FUZZ)/seeds/core/
	$(call run_fuzz,obj_loader,8192,$(CURDIR)/tests/fuzz/corpus $(CURDIR)/Media/worldtiles $(CURDIR)/Media/entities)
	$(call run_fuzz,settings,65536,$(FUZZ)/seeds/settings)
	$(call run_fuzz,world_file,1875010,$(FUZZ)/seeds/world)
	$(call run_fuzz,core_file,1200000,$(FUZZ)/seeds/core)

# $(1) target, $(2) longest input, $(3) seed folders or files.
define run_fuzz
	cd $(FUZZ) && $(FUZZ)/tests/fuzz/$(1)_fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=$(2) -rss_limit_mb=4096 \
	  -print_final_stats=1 -artifact_prefix=$(CURDIR)/tests/fuzz/regressions/$(1)/ \
	  $(FUZZ)/corpus/$(1) $(CURDIR)/tests/fuzz/regressions/$(1) $(3)
endef

clean:
	rm -rf $(BUILD) $(FUZZ) $(SANITIZE)

# ---- The Debian package: `make deb` builds build-deb/cairnfold_<version>_<arch>.deb (tools/make_deb.sh,
# from packaging/) and checks it with lintian; `make test-deb` installs and plays it in a minimal Debian 13.
DEB_DIR ?= build-deb
# Building it: Debian's packaging tools and lintian; the icons come from the asset generator.
DEB_PACKAGES = $(GAME_PACKAGES) $(ASSET_PACKAGES) dpkg-dev lintian
# Playing the installed package under Xvfb as a user of its own, the menu entry's validator and the
# parser of Debian's machine-readable copyright files.
PACKAGE_TEST_PACKAGES = xvfb xauth xdotool desktop-file-utils passwd python3-debian
.PHONY: deb test-package test-deb

deb:
	$(call install_missing,$(DEB_PACKAGES))
	JOBS=$(JOBS) $(CURDIR)/tools/make_deb.sh $(abspath $(DEB_DIR))

# Installs the package, adds a user and removes the package again: meant for a system of its own,
# the Debian 13 tree of test-deb. There PURGE_BUILD_PACKAGES=1 purges what building it installed (and
# all that came with it) first, so that the package's own Depends must bring every library the game needs.
test-package: deb
	$(if $(PURGE_BUILD_PACKAGES),$(APT) purge --autoremove -y $(filter-out make,$(DEB_PACKAGES)))
	$(call install_missing,$(PACKAGE_TEST_PACKAGES))
	$(SUDO) $(CURDIR)/tools/with_display.sh $(CURDIR)/tests/package_test.sh $$(ls -t $(abspath $(DEB_DIR))/cairnfold_*.deb | head -1)

test-deb:
	$(call install_missing,debootstrap)
	$(SUDO) $(CURDIR)/tools/debian_chroot.sh trixie $(abspath $(DEBIAN13_DIR)) "test-package PURGE_BUILD_PACKAGES=1"

# ---- Windows: cairnfold-windows-x86_64.zip cross-built with MinGW-w64, tested under Wine on Xvfb.
# The libraries (SDL 1.2, on Debian 13 sdl12-compat over SDL 2; libpng, zlib) are built from Debian's
# source packages into WINDOWS_CACHE, outside the clone, one folder a release, reused by every later build.
WINDOWS_PACKAGES = g++-mingw-w64-x86-64-posix wine wine64 zip unzip dpkg-dev xz-utils cmake make pkg-config \
                   googletest xvfb xauth xdotool faketime
WINDOWS_CACHE ?= $(or $(XDG_CACHE_HOME),$(HOME)/.cache)/cairnfold/windows-x86_64
WINDOWS_BUILD_DIR ?= build-windows
WINDOWS_BUILD := $(abspath $(WINDOWS_BUILD_DIR))
.PHONY: windows test-windows deps-windows
deps-windows:
	$(call install_missing,$(WINDOWS_PACKAGES))
windows: deps-windows
	WINDOWS_CACHE=$(WINDOWS_CACHE) JOBS=$(JOBS) $(CURDIR)/tools/windows_build.sh $(WINDOWS_BUILD)

# The zip and the test suite cross-built, the suite run under Wine, and the packed game played under
# Wine beside the Linux game (tools/windows_test.sh), all on a private Xvfb.
test-windows: deps-windows build
	WINDOWS_CACHE=$(WINDOWS_CACHE) JOBS=$(JOBS) $(CURDIR)/tools/windows_build.sh $(WINDOWS_BUILD) --tests
	WINDOWS_CACHE=$(WINDOWS_CACHE) $(CURDIR)/tools/with_display.sh $(CURDIR)/tools/windows_test.sh $(WINDOWS_BUILD) $(BUILD)

# ---- The browser: build-web/ (index.html, cairnfold.js, .wasm and .data) built with Debian's Emscripten,
# served by any static web server. zlib and libpng are built with emcc from Debian's source packages into
# WEB_CACHE, outside the clone, one folder a release. CMake builds in WEB_BUILD_DIR.
WEB_PACKAGES = emscripten dpkg-dev cmake make python3 chromium chromium-driver python3-selenium \
               $(GAME_PACKAGES) xvfb xauth xdotool imagemagick
WEB_CACHE ?= $(or $(XDG_CACHE_HOME),$(HOME)/.cache)/cairnfold/web
WEB_DIR ?= build-web
WEB_BUILD_DIR ?= build-web-cmake
WEB_PORT ?= 8033
WEB := $(abspath $(WEB_DIR))
.PHONY: web run-web test-web deps-web
deps-web:
	$(call install_missing,$(WEB_PACKAGES))
web: deps-web
	WEB_CACHE=$(WEB_CACHE) JOBS=$(JOBS) $(CURDIR)/tools/web_build.sh $(WEB) $(abspath $(WEB_BUILD_DIR))

run-web: web
	@echo "Cairnfold in the browser: http://127.0.0.1:$(WEB_PORT)/ (Ctrl-C stops the server)"
	cd $(WEB) && python3 -m http.server $(WEB_PORT) --bind 127.0.0.1

# The page played in headless Chromium (SwiftShader's WebGL) beside the Linux game on Xvfb, both under
# the same stood-still calendar clock (tests/web_test.py).
test-web: web build-game
	$(CURDIR)/tools/with_display.sh /usr/bin/python3 $(CURDIR)/tests/web_test.py $(WEB) $(BUILD)/cairnfold

# The page's frame rate in headless Chromium at the new game's view distance (bench/web_frame_rate.py).
.PHONY: bench-web
bench-web: web
	$(CURDIR)/tools/with_display.sh /usr/bin/python3 $(CURDIR)/bench/web_frame_rate.py $(WEB)
