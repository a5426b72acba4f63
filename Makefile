# Builds, tests and demo of the QIV-72 remote control.
#   make test   builds everything (native and Windows) and runs every test
#   make demo   runs the program under Wine against the simulated unit
#   make bench  builds optimised and runs the benchmarks
SHELL := /bin/bash
.DEFAULT_GOAL := test

JOBS ?= $(shell nproc)
NATIVE := build/native
WIN := build/win
BENCH := build/bench

NATIVE_PKGS := g++ cmake make pkg-config googletest libgtest-dev libgmock-dev libbenchmark-dev
WIN_PKGS := g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64

.PHONY: test demo bench deps native win clean

# Installs what a fresh Debian 12 lacks, and nothing when all is there.
deps:
	@missing=""; for p in $(NATIVE_PKGS) $(WIN_PKGS); do \
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

test: native win
	ctest --test-dir $(NATIVE) --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(BENCH) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BENCH) -j $(JOBS) --target frame_bench
	$(BENCH)/bin/frame_bench

demo:
	@echo "make demo needs the unit simulator and the program's window; neither is here yet."
	@exit 1

clean:
	rm -rf build
