# make run   installs what is missing, builds a release and starts Lumivera
# make test  installs what is missing, builds with sanitizers and runs every test
# make bench installs what is missing, builds a release and runs the benchmarks

JOBS ?= $(shell nproc)

.PHONY: all deps run build test bench format clean

all: build

deps:
	@./scripts/install-deps

build: deps
	cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMIVERA_TESTS=OFF
	cmake --build build/release -j $(JOBS)

run: build
	./build/release/Lumivera/lumivera

test: deps
	cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLUMIVERA_SANITIZE=ON -DLUMIVERA_TESTS=ON
	cmake --build build/test -j $(JOBS)
	ctest --test-dir build/test --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMIVERA_TESTS=OFF -DLUMIVERA_BENCH=ON
	cmake --build build/bench -j $(JOBS)
	for b in build/bench/bench/lumivera_bench_*; do ./$$b || exit 1; done

format:
	find src tests tools bench -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf build
