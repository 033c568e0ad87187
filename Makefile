# make run   installs what is missing, builds a release, lays out the program folder PROGRAM_DIR
#            (Lumivera/ at the top of the repository) and starts Lumivera; make program stops before
#            starting it
# make test  installs what is missing, builds with sanitizers and runs every test
# make bench installs what is missing, builds a release and runs the benchmarks
# make fuzz  installs what is missing, builds the fuzz targets with clang and runs each for FUZZ_TIME
#            seconds or FUZZ_RUNS inputs, whichever ends first (new crashes land in build/fuzz/crashes;
#            keep them in tests/fixtures/fuzz/<target>); FUZZ_TARGETS picks some of the targets
# make clean removes the build trees, and nothing a user made

JOBS ?= $(shell nproc)
# The build trees lie under BUILD_ROOT, the folder `make clean` removes.
BUILD_ROOT ?= build
RELEASE_DIR ?= $(BUILD_ROOT)/release
# The program folder of `make run`, where the user's books, photos, attachments, export file and
# password store are kept: outside the build trees, so that no rebuild and no `make clean` reach it.
PROGRAM_DIR ?= $(CURDIR)/Lumivera
# Short runs: the figures are ratios to floors measured in the same run, not absolute times.
BENCH_ARGS ?= --benchmark_min_time=0.2 --benchmark_color=false

.PHONY: all deps run program build test bench fuzz format clean

all: build

deps:
	@./scripts/install-deps

build: deps
	cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMIVERA_TESTS=OFF
	cmake --build $(RELEASE_DIR) -j $(JOBS)

# The release is installed into the program folder: the program's own files are added or refreshed,
# and everything else there, a password store included, is left as it is.
program: build
	cmake --install $(RELEASE_DIR) --prefix "$(abspath $(PROGRAM_DIR))"

run: program
	"$(abspath $(PROGRAM_DIR))/lumivera"

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
FUZZ_TARGETS ?= record archive password photo export journal check cli search pdf facts

fuzz: deps
	cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
		-DLUMIVERA_TESTS=OFF -DLUMIVERA_FUZZ=ON
	cmake --build build/fuzz -j $(JOBS) --target lumivera_fuzzers
	mkdir -p build/fuzz/crashes
	for t in $(FUZZ_TARGETS); do \
		mkdir -p build/fuzz/corpus/$$t tests/fixtures/fuzz/$$t; \
		ASAN_OPTIONS=intercept_tls_get_addr=0 QT_QPA_PLATFORM=offscreen \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
		./build/fuzz/fuzz/fuzz_$$t -max_total_time=$(FUZZ_TIME) -runs=$(FUZZ_RUNS) -timeout=20 -rss_limit_mb=4096 \
			-print_final_stats=1 -artifact_prefix=build/fuzz/crashes/$$t- \
			build/fuzz/corpus/$$t tests/fixtures/fuzz/$$t || exit 1; \
	done

format:
	find src tests tools bench -name '*.cpp' -o -name '*.h' | xargs clang-format -i

# A program folder inside a build tree that holds what a user made (books, photos, attachments, the
# export file, a password store other than the initial one its tree wrote beside the store writer)
# stops `make clean` before it removes anything: such a folder is left by an earlier `make run`, or by
# starting a build tree's executable by hand.
clean:
	@for d in $(BUILD_ROOT)/*/Lumivera; do \
		for f in "$$d"/*.wmn* "$$d"/Book_Zudid "$$d"/Documenti_Allegati "$$d"/Rove_Roruvorerud.xls; do \
			[ ! -e "$$f" ] || { echo "make clean: $$f was made by a user; move it out of $(BUILD_ROOT) first" >&2; exit 1; }; \
		done; \
		s="$$d/unins000.dll"; \
		[ ! -e "$$s" ] || cmp -s "$$s" "$$d/../tools/passwordstore/unins000.dll" || \
			{ echo "make clean: $$s may hold a password a user chose; move it out of $(BUILD_ROOT) first" >&2; exit 1; }; \
	done
	rm -rf $(BUILD_ROOT)
