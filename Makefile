# The contract with a new user: `make run` and `make test` install what is missing first.
BUILD_DIR ?= build
CMAKE_FLAGS ?= -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
JOBS ?= $(shell nproc)
SANITIZE_DIR ?= build-sanitize
PROGRAM_TESTS = end_to_end|bad_input|install_layout

.PHONY: all deps configure build sanitize-build run test bench package clean

all: build

deps:
	@bash scripts/install-deps

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS)

configure: $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: deps build
	cd $(BUILD_DIR)/game && ./grathmoor

# Every test on the normal build, then the unit tests again with address and undefined-behaviour
# sanitizers in a second build folder (the tests that start the whole program run only once).
test: deps build sanitize-build
	UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir $(SANITIZE_DIR) --output-on-failure \
	  -j $(JOBS) -E '$(PROGRAM_TESTS)'
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

$(SANITIZE_DIR)/build.ninja:
	cmake -S . -B $(SANITIZE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DGRATHMOOR_SANITIZE=ON

sanitize-build: $(SANITIZE_DIR)/build.ninja
	cmake --build $(SANITIZE_DIR) -j $(JOBS)

# Every benchmark, each printing its figure; not part of `test`. BENCH_ARGS=--record also puts
# the run at the top of BENCHMARKS.md, BENCH_ARGS=--quick checks the tools in short runs.
BENCH_ARGS ?=
bench: deps build
	python3 bench/run_benchmarks.py --build-dir $(BUILD_DIR) $(BENCH_ARGS)

# A Debian package of the installed game, in $(BUILD_DIR)/.
package: deps build
	cmake --build $(BUILD_DIR) --target package

clean:
	rm -rf $(BUILD_DIR)

# The fuzz targets: clang with libFuzzer and the sanitizers, in a build folder of their own.
# Each runs FUZZ_SECONDS seconds; what adds coverage is merged into fuzz/corpus/.
FUZZ_BUILD_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
.PHONY: fuzz
fuzz:
	@bash scripts/install-deps fuzz
	cmake -S fuzz -B $(FUZZ_BUILD_DIR) -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(FUZZ_BUILD_DIR) -j $(JOBS)
	FUZZ_SECONDS=$(FUZZ_SECONDS) bash fuzz/run-fuzzers $(FUZZ_BUILD_DIR)
