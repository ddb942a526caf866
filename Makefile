# The two everyday commands: `make run` and `make test`; `make bench` runs the
# benchmarks, `make lint` runs clang-tidy, `make format` formats the tree and
# `make format-check` checks it as CI does.
# Each first installs whatever Debian packages are missing, then configures and builds.

PRESET ?= default
BUILD_DIR := build/$(PRESET)

# `make fuzz`: how long each fuzz target runs, and the clang that builds them.
FUZZ_SECONDS ?= 20
CLANGXX := $(shell command -v clang++ || command -v clang++-14)

.PHONY: all deps configure build run test fuzz bench package lint format format-check clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	@cmake --build --preset $(PRESET)

run: build
	@$(BUILD_DIR)/src/app/scrfix

test: build
	@ctest --preset $(PRESET)

bench: build
	@$(BUILD_DIR)/bench/program_bench --benchmark_repetitions=9 --benchmark_report_aggregates_only=true
	@$(BUILD_DIR)/bench/cli_bench
	@$(BUILD_DIR)/bench/cli_timing
	@bench/session_under_xvfb.sh $(BUILD_DIR)/src/app/scrfix $(BUILD_DIR)/tools/test_card

package: build
	@cd $(BUILD_DIR) && cpack -G DEB

# clang-tidy with the committed .clang-tidy over everything the build compiles.
lint: build
	@scripts/lint.sh $(BUILD_DIR)

format: deps
	@scripts/check-format.sh --fix

format-check: deps
	@scripts/check-format.sh

# Builds the fuzz targets with clang and the sanitizers (only they and the
# libraries they use, no Qt) and runs each for FUZZ_SECONDS.
fuzz: deps
	@test -n "$(CLANGXX)" || { echo "make fuzz: no clang++ found"; exit 1; }
	@cmake --preset fuzz -DCMAKE_CXX_COMPILER=$(CLANGXX) >/dev/null
	@cmake --build --preset fuzz -j2
	@scripts/run-fuzzers.sh build/fuzz $(FUZZ_SECONDS)

clean:
	rm -rf build
