# A thin front over CMake. Plain `make` lists the commands; `make run` shows the main job,
# `make test` runs every test. Each command first installs the Debian packages it needs
# (scripts/ensure-packages) and builds only what it needs.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
RELEASE_DIR := build/release
ASAN_DIR := build/asan
FUZZ_DIR := build/fuzz
BENCH_DIR := build/bench
FUZZ_SECONDS ?= 20
PREFIX ?= /usr/local
DESTDIR ?=
PROGRAMS := Tessaro triangulate Planor
# Whether build/release is yet to be made: only then is the first build worth a warning.
RELEASE_IS_NEW := $(if $(wildcard $(RELEASE_DIR)/CMakeCache.txt),,yes)

.DEFAULT_GOAL := help
.PHONY: help run programs install package test fuzz-smoke bench deps clean

# CMake's own notes are dropped; its warnings and errors (standard error) are shown.
configure_release = cmake -S . -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release -DZEL_WERROR=ON >/dev/null
configure_asan = cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DZEL_WERROR=ON -DZEL_SANITIZE=ON >/dev/null
quiet_build = JOBS=$(JOBS) scripts/quiet-build

help: ## list these commands, one line each (also plain `make`)
	@awk -F ':.*## ' '/^[a-z-]+:.*## / { printf "make %-12s %s\n", $$1, $$2 }' $(firstword $(MAKEFILE_LIST))

run: ## build the viewer and open it on the bundled sample (no display: a screenshot)
	@scripts/ensure-packages run
	@echo "Configuring $(RELEASE_DIR)"
	@$(configure_release)
	@echo "Building Tessaro and the screenshot tool in $(RELEASE_DIR)$(if $(RELEASE_IS_NEW), (about half a minute on a new build))"
	@$(quiet_build) $(RELEASE_DIR) Tessaro x11_screenshot
	@scripts/run-viewer $(RELEASE_DIR)

programs: ## build Tessaro, triangulate and Planor in build/release, not the tests
	@scripts/ensure-packages programs
	@echo "Configuring $(RELEASE_DIR)"
	@$(configure_release)
	@echo "Building Tessaro, triangulate and Planor in $(RELEASE_DIR)"
	@$(quiet_build) $(RELEASE_DIR) $(PROGRAMS)
	@echo "The programs: $(RELEASE_DIR)/viewer/Tessaro, $(RELEASE_DIR)/triangulate/triangulate, $(RELEASE_DIR)/extract/Planor"

install: ## install programs, man pages, docs and sample under PREFIX (/usr/local), in DESTDIR
	@scripts/ensure-packages install
	@$(configure_release)
	@echo "Building the programs and their man pages in $(RELEASE_DIR)"
	@$(quiet_build) $(RELEASE_DIR) $(PROGRAMS) man_pages package_docs
	@echo "Installing under $(DESTDIR)$(PREFIX)"
	@DESTDIR="$(DESTDIR)" cmake --install $(RELEASE_DIR) --prefix "$(PREFIX)"

package: ## write the Debian package build/release/tessaro_<version>_<arch>.deb
	@scripts/ensure-packages package
	@$(configure_release)
	@echo "Building the programs and their man pages in $(RELEASE_DIR)"
	@$(quiet_build) $(RELEASE_DIR) $(PROGRAMS) man_pages package_docs
	@cd $(RELEASE_DIR) && cpack -G DEB >cpack.log 2>&1 || { cat cpack.log; exit 1; }
	@deb=$$(sed -n 's/^CPack: - package: \(.*\) generated\.$$/\1/p' $(RELEASE_DIR)/cpack.log); \
	  echo "The package: $${deb#$$PWD/}"; \
	  echo "Depends: $$(dpkg-deb -f "$$deb" Depends)"; \
	  echo "Install it with: sudo apt install ./$${deb#$$PWD/}"

# Each step prints a line or two of result and stops `make test` when it fails, showing the
# failure in full.
test: ## check the format, build release and ASan + UBSan, run every test in both, then the fuzzers
	@scripts/ensure-packages test
	@scripts/check-format
	@echo "Building $(RELEASE_DIR) (warnings as errors; compiler output in $(RELEASE_DIR)/build.log)"
	@$(configure_release)
	@$(quiet_build) $(RELEASE_DIR)
	@echo "Building $(ASAN_DIR) (AddressSanitizer and UndefinedBehaviorSanitizer)"
	@$(configure_asan)
	@$(quiet_build) $(ASAN_DIR)
	@scripts/run-tests $(RELEASE_DIR) $(JOBS)
	@scripts/run-tests $(ASAN_DIR) $(JOBS)
	@scripts/fuzz-smoke $(FUZZ_DIR) $(FUZZ_SECONDS)

fuzz-smoke: ## run each fuzzer for FUZZ_SECONDS (20) over its corpus
	@scripts/ensure-packages fuzz-smoke
	@scripts/fuzz-smoke $(FUZZ_DIR) $(FUZZ_SECONDS)

bench: ## build with benchmarks in build/bench and print the table of medians
	@scripts/ensure-packages bench
	@cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DZEL_BENCH=ON -DZEL_TESTS=OFF >/dev/null
	@echo "Building $(BENCH_DIR)"
	@$(quiet_build) $(BENCH_DIR)
	@scripts/bench $(BENCH_DIR)

deps: ## install the Debian packages of every command
	@scripts/ensure-packages all

clean: ## remove every build (build/)
	rm -rf build
