# Thin front door: every target installs what is missing first.
# make run    build and start the program on its built-in default
# make test   build, run every test (normal build, then ASan+UBSan, TSan for the threaded parts)
# make bench  build and run the benchmarks
# make fuzz   build and run each fuzz target for FUZZ_SECONDS
# make package  build the Debian package into build/ (install it with apt install ./build/tc101tool_*.deb)

FUZZ_SECONDS ?= 60
CMAKE_GEN := -G Ninja

.PHONY: deps build run test bench fuzz package clean

deps:
	@bash scripts/install-deps.sh

build: deps
	@cmake -S . -B build $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_UNITY_BUILD=ON >/dev/null
	@cmake --build build

run: build
	@bash scripts/run-default.sh build/app/tc101tool

test: deps
	@bash scripts/run-tests.sh

package: build
	@cd build && cpack

bench: deps
	@cmake -S . -B build-bench $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DTC101_BENCH=ON -DTC101_TESTS=OFF >/dev/null
	@cmake --build build-bench
	@bash scripts/run-bench.sh build-bench

fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B build-fuzz $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DTC101_FUZZ=ON -DTC101_SANITIZE=address -DTC101_GUI=OFF -DTC101_TESTS=OFF >/dev/null
	@cmake --build build-fuzz
	@bash scripts/run-fuzz.sh build-fuzz $(FUZZ_SECONDS)

clean:
	rm -rf build build-asan build-tsan build-bench build-fuzz
