# A thin front over CMake. `make run` shows the main job, `make test` runs every test.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
RELEASE_DIR := build/release
ASAN_DIR := build/asan
FUZZ_DIR := build/fuzz
BENCH_DIR := build/bench
FUZZ_SECONDS ?= 20

.PHONY: run programs test deps release-config release asan fuzz-smoke bench clean

deps:
	@scripts/ensure-packages

# The build directories use CMake's default generator, Unix Makefiles: gmake's directory
# lines are turned off.
QUIET_DIRS := -- --no-print-directory

release-config: deps
	@echo "Configuring $(RELEASE_DIR)"
	@cmake -S . -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release -DZEL_WERROR=ON >/dev/null

release: release-config
	@cmake --build $(RELEASE_DIR) -j $(JOBS) $(QUIET_DIRS)

asan: deps
	@cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DZEL_WERROR=ON -DZEL_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_DIR) -j $(JOBS) $(QUIET_DIRS)

# Every test twice, in the release build and under AddressSanitizer and
# UndefinedBehaviorSanitizer, then a short run of each fuzzer.
test: release asan
	ctest --test-dir $(RELEASE_DIR) --output-on-failure -j $(JOBS)
	ctest --test-dir $(ASAN_DIR) --output-on-failure -j $(JOBS)
	scripts/fuzz-smoke $(FUZZ_DIR) $(FUZZ_SECONDS)

fuzz-smoke: deps
	scripts/fuzz-smoke $(FUZZ_DIR) $(FUZZ_SECONDS)

# The viewer on the bundled sample terrain; headless machines get a screenshot instead.
# Only the viewer and the screenshot tool are built, quietly: the compiler's output goes to
# a log that is shown when the build fails.
run: release-config
	@echo "Building Tessaro and the screenshot tool in $(RELEASE_DIR) (about a minute the first time)"
	@cmake --build $(RELEASE_DIR) -j $(JOBS) --target Tessaro x11_screenshot $(QUIET_DIRS) \
	  >$(RELEASE_DIR)/build.log 2>&1 || { tail -n 40 $(RELEASE_DIR)/build.log; exit 1; }
	@scripts/run-viewer $(RELEASE_DIR)

# The three programs alone, without the tests, as quietly as `make run`.
programs: release-config
	@echo "Building Tessaro, triangulate and Planor in $(RELEASE_DIR)"
	@cmake --build $(RELEASE_DIR) -j $(JOBS) --target Tessaro triangulate Planor $(QUIET_DIRS) \
	  >$(RELEASE_DIR)/build.log 2>&1 || { tail -n 40 $(RELEASE_DIR)/build.log; exit 1; }

bench: deps
	@cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DZEL_BENCH=ON -DZEL_TESTS=OFF >/dev/null
	@cmake --build $(BENCH_DIR) -j $(JOBS) $(QUIET_DIRS)
	scripts/bench $(BENCH_DIR)

clean:
	rm -rf build
