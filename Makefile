# Set-up and everyday commands: `make run` to play, `make test` to run every test.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
PACKAGES = cmake g++ make pkg-config libsdl1.2-dev libsdl-image1.2-dev libglu1-mesa-dev \
           libgl1-mesa-dri libgtest-dev libbenchmark-dev xvfb xauth xdotool faketime imagemagick \
           clang libclang-rt-14-dev
SUDO = $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: run test build deps configure bench fuzz assets clean

run: build
	./$(BUILD_DIR)/cairnfold

# Drawing tests need an X display: tests/with_display.sh gives the run a
# private Xvfb of its own.
test: build
	cd $(BUILD_DIR) && ../tests/with_display.sh ctest --output-on-failure -j$(JOBS)
	$(MAKE) fuzz

build: configure
	cmake --build $(BUILD_DIR) -j$(JOBS)

configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release

# Installs whichever of the Debian packages are missing.
deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y --no-install-recommends $$missing; \
	fi

# Rebuilds every file of Media/ with the project's own generator.
assets: configure
	cmake --build $(BUILD_DIR) --target make_assets -j$(JOBS)
	./$(BUILD_DIR)/tools/make_assets .

bench: build
	tests/with_display.sh ./$(BUILD_DIR)/bench/cairnfold_bench

# The OBJ reader under libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer,
# for FUZZ_SECONDS, from the seed files in tests/fuzz/corpus. Built with clang in
# its own folder; new interesting inputs collect in $(FUZZ_DIR)/corpus.
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 20
fuzz: deps
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DCAIRNFOLD_FUZZ=ON -DCAIRNFOLD_TESTS=OFF -DCAIRNFOLD_BENCH=OFF
	cmake --build $(FUZZ_DIR) --target obj_loader_fuzz -j$(JOBS)
	mkdir -p $(FUZZ_DIR)/corpus
	./$(FUZZ_DIR)/tests/fuzz/obj_loader_fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=8192 \
	  -print_final_stats=1 $(FUZZ_DIR)/corpus tests/fuzz/corpus

clean:
	rm -rf $(BUILD_DIR) build-fuzz
