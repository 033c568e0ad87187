# make run   installs what is missing, builds a release and starts Lumivera
# make test  installs what is missing, builds with sanitizers and runs every test
# make bench installs what is missing, builds a release and runs the benchmarks
# make fuzz  installs what is missing, builds the fuzz targets with clang and runs each for FUZZ_TIME
#            seconds or FUZZ_RUNS inputs, whichever ends first (new crashes land in build/fuzz/crashes;
#            keep them in tests/fixtures/fuzz/<target>); FUZZ_TARGETS picks some of the targets

JOBS ?= $(shell nproc)
# Short runs: the figures are ratios to floors measured in the same run, not absolute times.
BENCH_ARGS ?= --benchmark_min_time=0.2 --benchmark_color=false

.PHONY: all deps run build test bench fuzz format clean

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
	@rm -f build/bench/figures.txt
	@for b in build/bench/bench/lumivera_bench_*; do \
		[ -f $$b ] && [ -x $$b ] || continue; \
		out=build/bench/$$(basename $$b).txt; \
		./$$b $(BENCH_ARGS) > $$out || { cat $$out; exit 1; }; \
		cat $$out; grep -E ': .*ratio ' $$out >> build/bench/figures.txt; \
	done
	@echo; echo "== Figures ($$(nproc) cores) =="; cat build/bench/figures.txt

FUZZ_TIME ?= 60
FUZZ_RUNS ?= -1
FUZZ_TARGETS ?= record archive password photo export

fuzz: deps
	cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
		-DLUMIVERA_TESTS=OFF -DLUMIVERA_FUZZ=ON
	cmake --build build/fuzz -j $(JOBS) --target lumivera_fuzzers
	mkdir -p build/fuzz/crashes
	for t in $(FUZZ_TARGETS); do \
		mkdir -p build/fuzz/corpus/$$t tests/fixtures/fuzz/$$t; \
		ASAN_OPTIONS=intercept_tls_get_addr=0 QT_QPA_PLATFORM=offscreen \
		./build/fuzz/fuzz/fuzz_$$t -max_total_time=$(FUZZ_TIME) -runs=$(FUZZ_RUNS) -timeout=20 -rss_limit_mb=4096 \
			-print_final_stats=1 -artifact_prefix=build/fuzz/crashes/$$t- \
			build/fuzz/corpus/$$t tests/fixtures/fuzz/$$t || exit 1; \
	done

format:
	find src tests tools bench -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf build
