# Builds, tests and demo of the QIV-72 remote control.
#   make test   builds everything (native and Windows) and runs every test
#   make demo   runs the program under Wine against the simulated unit
#   make run-unit  runs the program under Wine against a real unit (QIV_TTY, QIV_COM)
#   make bench  builds optimised and runs the benchmarks
#   make bench-live  measures the live program under Wine (CPU, click to wire)
#   make fuzz   runs every fuzz target for FUZZ_SECONDS (default 300) each
#   make install  puts qiv72ctl and its manual page under PREFIX (/usr/local)
#   make e2e-repeat  runs the end-to-end tests E2E_RUNS times (default 10)
#                    under the load of the native tests
SHELL := /bin/bash
.DEFAULT_GOAL := test

JOBS ?= $(shell nproc)
NATIVE := build/native
WIN := build/win
BENCH := build/bench
RELEASE := build/release
PREFIX ?= /usr/local
FUZZ := build/fuzz
FUZZ_TARGETS := frame_receiver_fuzz frame_decoder_fuzz sim_host_fuzz setup_file_fuzz settings_file_fuzz capture_file_fuzz
FUZZ_SECONDS ?= 300
SMOKE_SECONDS ?= 20
E2E_RUNS ?= 10

NATIVE_PKGS := g++ cmake make pkg-config python3 googletest libgtest-dev libgmock-dev libbenchmark-dev
WIN_PKGS := g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
# The program under Wine and Xvfb: end-to-end tests and the demo (fonts-wine
# brings Marlett, which Wine draws the caption buttons with).
E2E_PKGS := wine64 fonts-wine xvfb xdotool imagemagick socat python3 libx11-6 libxtst6 util-linux
FUZZ_PKGS := clang-14 libclang-rt-14-dev
# The Windows download (make dist) and its test.
DIST_PKGS := zip unzip

.PHONY: run-unit test demo bench bench-live bench-ctl e2e-repeat install deps native win dist fuzz-build fuzz fuzz-smoke fuzz-seeds clean

# Installs what a fresh Debian 12 lacks, and nothing when all is there.
deps:
	@missing=""; for p in $(NATIVE_PKGS) $(WIN_PKGS) $(E2E_PKGS) $(FUZZ_PKGS) $(DIST_PKGS); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	fi

native: deps
	cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Debug -DQIV_SANITIZE=ON
	cmake --build $(NATIVE) -j $(JOBS)

win: deps
	cmake -S . -B $(WIN) -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
	cmake --build $(WIN) -j $(JOBS)

test: native win fuzz-build dist
	ctest --test-dir $(NATIVE) --output-on-failure -j $(JOBS)
	$(MAKE) --no-print-directory fuzz-smoke

# The Windows download: build/dist/qiv72rc-<VERSION>-win64.zip with the
# program, the command-line tool, a short user's guide, the license and one example setup file per
# function written by the program's own writer (tools/dist). Text files get
# Windows line ends, the guide a UTF-8 mark for older Notepads.
VERSION := $(shell cat VERSION)
DIST := build/dist
DIST_NAME := qiv72rc-$(VERSION)-win64
dist: native win
	rm -rf $(DIST)/$(DIST_NAME) $(DIST)/$(DIST_NAME).zip
	mkdir -p $(DIST)/$(DIST_NAME)/examples
	cp $(WIN)/bin/qiv72rc.exe $(WIN)/bin/qiv72ctl.exe $(DIST)/$(DIST_NAME)/
	{ printf '\357\273\277'; sed 's/$$/\r/' dist/README.txt; } >$(DIST)/$(DIST_NAME)/README.txt
	sed 's/$$/\r/' LICENSE >$(DIST)/$(DIST_NAME)/LICENSE.txt
	$(NATIVE)/bin/qiv72examples $(DIST)/$(DIST_NAME)/examples
	cd $(DIST) && zip -q -X -r $(DIST_NAME).zip $(DIST_NAME)
	@echo "$(DIST)/$(DIST_NAME).zip"

fuzz-build: deps
	CC=clang-14 CXX=clang++-14 cmake -S . -B $(FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQIV_FUZZ=ON
	cmake --build $(FUZZ) -j $(JOBS)

# Replays the kept corpora and regressions, then fuzzes each target briefly
# into a scratch corpus under build/ (the kept corpora stay as they are).
fuzz-smoke: fuzz-build
	@set -eo pipefail; for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ)/work/$$t $(FUZZ)/artifacts; \
	  echo "== $$t: replaying fuzz/corpus/$$t and fuzz/regressions/$$t"; \
	  $(FUZZ)/bin/$$t -runs=0 fuzz/corpus/$$t fuzz/regressions/$$t 2>&1 | tail -n 2; \
	  echo "== $$t: fuzzing $(SMOKE_SECONDS) s"; \
	  $(FUZZ)/bin/$$t -max_total_time=$(SMOKE_SECONDS) -rss_limit_mb=2048 -print_final_stats=0 \
	    -artifact_prefix=$(FUZZ)/artifacts/$$t- $(FUZZ)/work/$$t fuzz/corpus/$$t 2>&1 | tail -n 1; \
	done; echo "fuzz: $(words $(FUZZ_TARGETS)) passed, 0 failed"

fuzz: fuzz-build
	@set -eo pipefail; for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ)/work/$$t $(FUZZ)/artifacts; \
	  $(FUZZ)/bin/$$t -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=2048 \
	    -artifact_prefix=$(FUZZ)/artifacts/$$t- $(FUZZ)/work/$$t fuzz/corpus/$$t; \
	done

# Rewrites the kept seed corpora from frames the unit side builds.
fuzz-seeds: fuzz-build
	$(FUZZ)/bin/fuzz_seed_writer fuzz/corpus

bench: deps
	cmake -S . -B $(BENCH) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BENCH) -j $(JOBS) --target frame_bench
	$(BENCH)/bin/frame_bench

# qiv72ctl unsanitized and optimised, with its manual page. DESTDIR works
# as usual for packaging.
install: deps
	cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(RELEASE) -j $(JOBS) --target qiv72ctl
	install -D -m 0755 $(RELEASE)/bin/qiv72ctl $(DESTDIR)$(PREFIX)/bin/qiv72ctl
	install -D -m 0644 tools/ctl/qiv72ctl.1 $(DESTDIR)$(PREFIX)/share/man/man1/qiv72ctl.1

# qiv72ctl against qiv72sim at wire pace: put of 48 differing Dual Mono
# values and status, timed (bench/ctl_bench.sh). Not part of `make test`.
bench-ctl: deps
	cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(RELEASE) -j $(JOBS) --target qiv72ctl qiv72sim
	bash bench/ctl_bench.sh $(RELEASE)/bin/qiv72ctl $(RELEASE)/bin/qiv72sim

# The live program under Wine against the simulated unit at wire pace in the
# Analyser function: its CPU use over 30 s and the time from a click to its
# host frame at the unit (bench/live_analyser.sh). Not part of `make test`.
bench-live: native win
	QIV_ROOT=$(CURDIR) QIV_WIN_BIN=$(CURDIR)/$(WIN)/bin QIV_SIM=$(CURDIR)/$(NATIVE)/bin/qiv72sim \
	  QIV_E2E_DIR=$(CURDIR)/$(NATIVE)/e2e bash bench/live_analyser.sh
	QIV_ROOT=$(CURDIR) QIV_WIN_BIN=$(CURDIR)/$(WIN)/bin QIV_SIM=$(CURDIR)/$(NATIVE)/bin/qiv72sim \
	  QIV_E2E_DIR=$(CURDIR)/$(NATIVE)/e2e bash bench/live_reconnect.sh

# The end-to-end tests E2E_RUNS times in a row while the native tests keep
# every core busy, as in a full `make test`: the passes per run and the
# slowest wait of each test (tools/e2e/repeat.sh). Not part of `make test`.
e2e-repeat: native win dist
	bash tools/e2e/repeat.sh $(NATIVE) $(E2E_RUNS)

# Runs qiv72rc.exe under Wine against the simulated unit (tools/e2e/demo.sh):
# on $$DISPLAY when there is one, else a short tour under Xvfb that leaves
# screenshots in build/demo/.
demo: native win
	QIV_ROOT=$(CURDIR) QIV_WIN_BIN=$(CURDIR)/$(WIN)/bin QIV_SIM=$(CURDIR)/$(NATIVE)/bin/qiv72sim \
	  QIV_E2E_DIR=$(CURDIR)/build/demo bash tools/e2e/demo.sh

# Runs qiv72rc.exe under Wine on this desktop against a real unit on a
# serial port of this machine: make run-unit QIV_TTY=/dev/ttyUSB0 QIV_COM=5
run-unit: win
	QIV_ROOT=$(CURDIR) QIV_WIN_BIN=$(CURDIR)/$(WIN)/bin QIV_SIM=/bin/true \
	  QIV_E2E_DIR=$(CURDIR)/build/unit QIV_TTY=$(QIV_TTY) QIV_COM=$(QIV_COM) bash tools/e2e/run_unit.sh

clean:
	rm -rf build
