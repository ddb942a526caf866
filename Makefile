# The two everyday commands: `make run` and `make test`.
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

bench: build
	@$(BUILD_DIR)/bench/program_bench --benchmark_repetitions=9 --benchmark_report_aggregates_only=true
	@bench/session_under_xvfb.sh $(BUILD_DIR)/src/app/scrfix $(BUILD_DIR)/tools/test_card

package: build
	@cd $(BUILD_DIR) && cpack -G DEB

clean:
	rm -rf build
