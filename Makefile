# Thin wrapper: set-up, then CMake and CTest.
BUILD ?= build
DIST ?= dist
FUZZ_BUILD ?= build-fuzz
CMAKE_FLAGS ?=

.PHONY: all setup configure build run test bench fuzz clean

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

# Build output only: the program folder and the journal in it are never touched.
clean:
	rm -rf $(BUILD) $(FUZZ_BUILD)
