# Thin wrapper: set-up, then CMake and CTest.
BUILD ?= build
DIST ?= dist
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
CMAKE_FLAGS ?=

.PHONY: all setup configure build run test bench fuzz fuzz-run clean

all: build

setup:
	@sh scripts/setup.sh

configure: setup
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) > /dev/null

build: configure
	@cmake --build $(BUILD)

run: build
	@cmake --install $(BUILD) --prefix $(abspath $(DIST)) > /dev/null
	@$(abspath $(DIST))/kennel-logbook

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

fuzz: setup
	@cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DKL_BUILD_FUZZ=ON \
	  -DKL_BUILD_TESTS=OFF -DKL_BUILD_BENCH=OFF > /dev/null
	@cmake --build $(FUZZ_BUILD)

# Runs every fuzz target for FUZZ_SECONDS from its seed corpus; what it finds lands in
# $(FUZZ_BUILD)/corpus (new inputs) and the current folder (crash-*, leak-*, timeout-*).
fuzz-run: fuzz
	@for t in $(FUZZ_BUILD)/fuzz/fuzz_*; do \
	  [ -f "$$t" ] && [ -x "$$t" ] || continue; \
	  name=$${t##*/fuzz_}; mkdir -p $(FUZZ_BUILD)/corpus/$$name; \
	  echo "fuzzing $$name for $(FUZZ_SECONDS) s"; \
	  QT_QPA_PLATFORM=offscreen $$t -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=4096 \
	    -print_final_stats=1 $(FUZZ_BUILD)/corpus/$$name fuzz/corpus/$$name || exit 1; \
	done

# Build output only: the program folder and the journal in it are never touched.
clean:
	rm -rf $(BUILD) $(FUZZ_BUILD)
