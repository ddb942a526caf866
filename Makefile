# The two everyday commands: `make run` and `make test`; `make bench` runs the benchmarks.
# Each first installs whatever Debian packages are missing, then configures and builds.

PRESET ?= default
BUILD_DIR := build/$(PRESET)

# `make fuzz`: how long each fuzz target runs, and the clang that builds them.
FUZZ_SECONDS ?= 20
CLANGXX := $(shell command -v clang++ || command -v clang++-14)

.PHONY: all deps configure build run test fuzz bench package clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	@cmake --build --preset $(PRESET)

run: build
	@if [ -x $(BUILD_DIR)/src/app/scrfix ]; then $(BUILD_DIR)/src/app/scrfix; \
	else echo "scrfix: there is no window program yet"; fi

test: build
	@ctest --preset $(PRESET)

# Every benchmark executable the build made (the sanitize preset builds none).
bench: build
	@found=no; for benchmark in $(BUILD_DIR)/bench/*_bench; do \
		[ -x "$$benchmark" ] || continue; found=yes; "$$benchmark" || exit 1; done; \
	[ $$found = yes ] || echo "no benchmarks in build preset $(PRESET)"

# Builds the fuzz targets with clang and the sanitizers (no Qt needed) and runs
# each for FUZZ_SECONDS.
fuzz: deps
	@test -n "$(CLANGXX)" || { echo "make fuzz: no clang++ found"; exit 1; }
	@cmake --preset fuzz -DCMAKE_CXX_COMPILER=$(CLANGXX) >/dev/null
	@cmake --build --preset fuzz -j2
	@scripts/run-fuzzers.sh build/fuzz $(FUZZ_SECONDS)

clean:
	rm -rf build
