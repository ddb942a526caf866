# The two everyday commands: `make run` and `make test`; `make bench` runs the benchmarks.
# Each first installs whatever Debian packages are missing, then configures and builds.

PRESET ?= default
BUILD_DIR := build/$(PRESET)

.PHONY: all deps configure build run test bench package clean

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

clean:
	rm -rf build
