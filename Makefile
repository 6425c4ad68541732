# Set-up and everyday commands: `make run` to play, `make test` to run every test.
BUILD_DIR ?= build
FUZZ_DIR ?= build-fuzz
JOBS ?= $(shell nproc)
# Build folders may be nested or absolute; every path below is made from these.
BUILD := $(abspath $(BUILD_DIR))
FUZZ := $(abspath $(FUZZ_DIR))

# What the game needs, and what the tests, benchmarks and fuzz targets add.
# libclang-rt-dev is the clang runtime (libFuzzer, sanitizers) of Debian's default clang.
GAME_PACKAGES = g++ cmake make pkg-config libsdl1.2-dev libsdl-image1.2-dev libglu1-mesa-dev libgl1-mesa-dri
TEST_PACKAGES = $(GAME_PACKAGES) libgtest-dev libbenchmark-dev zlib1g-dev xvfb xauth xdotool faketime imagemagick \
                clang libclang-rt-dev
# apt-get runs through sudo when not root; env carries the noninteractive front end through sudo.
SUDO = $(shell [ "$$(id -u)" = 0 ] || echo sudo)
APT = $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get

.PHONY: run test build build-game deps deps-game bench fuzz assets clean

run: build-game
	cd $(CURDIR) && $(BUILD)/cairnfold

# Drawing tests need an X display: tests/with_display.sh gives the run a
# private Xvfb of its own.
test: build
	cd $(BUILD) && $(CURDIR)/tests/with_display.sh ctest --output-on-failure -j$(JOBS)
	$(MAKE) fuzz

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

# Rebuilds every file of Media/ with the project's own generator.
assets: build-game
	cmake --build $(BUILD) --target make_assets -j$(JOBS)
	$(BUILD)/tools/make_assets $(CURDIR)

bench: build
	cd $(CURDIR) && tests/with_display.sh $(BUILD)/bench/cairnfold_bench

# The OBJ reader under libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer,
# for FUZZ_SECONDS, from the seed files in tests/fuzz/corpus. Built with clang in
# its own folder; new interesting inputs collect in $(FUZZ_DIR)/corpus.
FUZZ_SECONDS ?= 20
fuzz: deps
	cmake -S $(CURDIR) -B $(FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DCAIRNFOLD_FUZZ=ON -DCAIRNFOLD_TESTS=OFF -DCAIRNFOLD_BENCH=OFF
	cmake --build $(FUZZ) --target obj_loader_fuzz -j$(JOBS)
	mkdir -p $(FUZZ)/corpus
	$(FUZZ)/tests/fuzz/obj_loader_fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=8192 \
	  -print_final_stats=1 $(FUZZ)/corpus $(CURDIR)/tests/fuzz/corpus

clean:
	rm -rf $(BUILD) $(FUZZ)
