# Thin wrapper around CMake. `make run` and `make test` work on a fresh Debian machine.
JOBS   ?= $(shell nproc)
BUILD  ?= build
ASAN   ?= build-asan
FUZZ   ?= build-fuzz
BENCH  ?= build-bench
FUZZ_TARGETS = dbf memo index
CMAKE   = cmake -G Ninja -Wno-dev

.PHONY: all bootstrap build test test-fast test-asan run bench fuzz clean

all: build

bootstrap:
	@bash scripts/bootstrap

$(BUILD)/build.ninja: | bootstrap
	$(CMAKE) -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: bootstrap $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

# Every test, then the whole suite once more under ASan and UBSan.
test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	$(MAKE) test-asan

# The suite without the slow stress runs (label "stress").
test-fast: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -LE stress

test-asan: bootstrap
	$(CMAKE) -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DKX_SANITIZE=ON >/dev/null
	cmake --build $(ASAN) -j $(JOBS)
	cd $(ASAN) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS) -LE nosan

run: build
	bash scripts/demo $(BUILD)

bench: bootstrap
	$(CMAKE) -S . -B $(BENCH) -DCMAKE_BUILD_TYPE=Release -DKX_BENCH=ON >/dev/null
	cmake --build $(BENCH) -j $(JOBS)
	@for b in $(BENCH)/bench/bench_*; do echo "== $$b"; $$b; done

fuzz: bootstrap
	CXX=clang++ $(CMAKE) -S . -B $(FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKX_FUZZ=ON >/dev/null
	cmake --build $(FUZZ) -j $(JOBS) --target $(FUZZ_TARGETS:%=fuzz_%)
	@# New inputs go to the build folder; the committed seed corpus is only read.
	@for n in $(FUZZ_TARGETS); do echo "== fuzz_$$n"; mkdir -p $(FUZZ)/corpus-$$n; \
	  $(FUZZ)/fuzz/fuzz_$$n -max_total_time=60 $(FUZZ)/corpus-$$n fuzz/corpus/$$n || exit 1; done

clean:
	rm -rf $(BUILD) $(ASAN) $(FUZZ) $(BENCH)
