# The two everyday commands: `make run` (the main job) and `make test` (every test).
WERROR ?= ON
JOBS ?= $(shell nproc)
TEST_DIR := build/test
RELEASE_DIR := build/release
CMAKE_FLAGS := -G Ninja -DHUEBADGE_WERROR=$(WERROR)
# ccache, when installed, shares compiled objects between checkouts under one base folder.
ifneq ($(shell command -v ccache),)
CMAKE_FLAGS += -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
export CCACHE_BASEDIR ?= $(abspath $(CURDIR)/..)
# Precompiled headers are shared only when ccache may ignore their time stamps.
export CCACHE_SLOPPINESS ?= pch_defines,time_macros,include_file_mtime,include_file_ctime
endif
PORT ?= 8080
DEVICE_ROOT ?= $(or $(HUEBADGE_DEVICE_ROOT),$(or $(XDG_DATA_HOME),$(HOME)/.local/share)/huebadge/device)

.PHONY: run test test-steps stress fuzz deps deps-browser build-release build-test bench bench-browser format \
	format-check clean

deps:
	@scripts/install-deps

deps-browser:
	@scripts/install-deps --browser

PROGRAMS := huebadge-settings huebadge-defaults huebadge-notify huebadge-plutil

# The release build makes only the programs (and the benchmark for `make bench`), not the tests.
build-release: deps
	@cmake -S . -B $(RELEASE_DIR) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(RELEASE_DIR) -j $(JOBS) --target $(PROGRAMS)

build-test: deps
	@cmake -S . -B $(TEST_DIR) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Debug -DHUEBADGE_SANITIZE=ON >/dev/null
	@cmake --build $(TEST_DIR) -j $(JOBS)

run: build-release
	@scripts/prepare-device-root "$(DEVICE_ROOT)"
	@$(RELEASE_DIR)/huebadge-settings --device-root "$(DEVICE_ROOT)" --port $(PORT)

# Prints its own time at the end, installs and build included, whether the tests pass or not.
test:
	@start=$$(date +%s); $(MAKE) --no-print-directory test-steps; status=$$?; \
	echo "make test: $$(( $$(date +%s) - start )) s in all"; exit $$status

test-steps: deps-browser build-test
	@cd $(TEST_DIR) && ctest --output-on-failure -j $(JOBS)

# 10,000 saves killed at random moments; prints how often the file held the old or new table.
# Then the load test for 10 minutes with 1,000 slow connections; prints its figures.
STRESS_KILLS ?= 10000
STRESS_LOAD_SECONDS ?= 600
STRESS_SLOW_CONNECTIONS ?= 1000
stress: build-release
	@cmake --build $(RELEASE_DIR) -j $(JOBS) --target huebadge-killloop
	@$(RELEASE_DIR)/huebadge-killloop --kills $(STRESS_KILLS)
	@python3 tests/host/browser/load.test.py --program $(RELEASE_DIR)/huebadge-settings \
		--seconds $(STRESS_LOAD_SECONDS) --tricklers $(STRESS_SLOW_CONNECTIONS) --p95-limit 0.05

# The XML and binary property-list readers and the import of huebadge-defaults under
# libFuzzer, sharing FUZZ_SECONDS; then the browser API (event and import bodies applied to
# the pane on the demo device) for PANE_FUZZ_SECONDS. Prints each one's executions and any
# crash, hang, leak or fault.
FUZZ_SECONDS ?= 600
PANE_FUZZ_SECONDS ?= $(FUZZ_SECONDS)
fuzz:
	@mkdir -p build/fuzz
	@HUEBADGE_SOURCE_DIR=$(CURDIR) HUEBADGE_BIN=$(CURDIR)/build/fuzz \
		PLIST_FUZZ_SECONDS=$(FUZZ_SECONDS) bash tests/platform/foundation/plist_fuzz.test.sh
	@PANE_FUZZ_SECONDS=$(PANE_FUZZ_SECONDS) JOBS=$(JOBS) scripts/fuzz-pane $(CURDIR)/build/fuzz/pane

bench: build-release
	@cmake --build $(RELEASE_DIR) -j $(JOBS) --target huebadge-bench
	@$(RELEASE_DIR)/huebadge-bench
	@python3 bench/first_screen.py $(RELEASE_DIR)/huebadge-settings demo/device
	@$(MAKE) --no-print-directory bench-browser

# The pane in headless Chromium over the demo device: each interaction's round trip and
# painted time at p50 and p95 beside the goal, failed drawing fetches and bytes per event.
bench-browser: build-release deps-browser
	@node bench/browser.mjs $(RELEASE_DIR)/huebadge-settings demo/device

format:
	@git ls-files '*.h' '*.cpp' | xargs clang-format -i

format-check:
	@git ls-files '*.h' '*.cpp' | xargs clang-format --dry-run -Werror

clean:
	rm -rf build
