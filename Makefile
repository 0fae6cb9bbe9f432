# make run    installs what is missing, builds (Release) and opens the program
# make test   installs what is missing, builds with warnings as errors and runs every test
# make check  the same suite built with AddressSanitizer and UndefinedBehaviorSanitizer
# make fuzz   the libFuzzer harnesses (clang), each for FUZZ_RUNS inputs
# make random-long  the random-input test of every window, with many more sequences
.PHONY: run test check fuzz fuzz-build fuzz-ci random-long configure-release build-release build-test build-check deps bench clean

JOBS ?= $(shell nproc)
RELEASE := build/release
TESTING := build/test
CHECKING := build/check
FUZZING := build/fuzz

# A sanitizer report ends the test program with a failure; leaks that belong to Qt's own
# libraries (fonts, plugins) are listed in scripts/lsan.supp.
SANITIZER_ENV := ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:check_initialization_order=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0

deps:
	@bash scripts/install-deps.sh

# The programs a user runs (the README's examples use all three); the benchmarks are built
# by `make bench` alone.
PROGRAMS := quorvel quorvel-cli quorvel-demo-video

configure-release: deps
	@cmake -S . -B $(RELEASE) -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVEL_TESTS=OFF >/dev/null

build-release: configure-release
	@cmake --build $(RELEASE) -j $(JOBS) --target $(PROGRAMS)

run: build-release
	@$(RELEASE)/quorvel

build-test: deps
	@cmake -S . -B $(TESTING) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVEL_WERROR=ON -DQUORVEL_BENCH=OFF >/dev/null
	@cmake --build $(TESTING) -j $(JOBS)

test: build-test
	@cd $(TESTING) && ctest --output-on-failure -j $(JOBS)

build-check: deps
	@cmake -S . -B $(CHECKING) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVEL_SANITIZE=ON -DQUORVEL_BENCH=OFF >/dev/null
	@cmake --build $(CHECKING) -j $(JOBS)

check: build-check
	@cd $(CHECKING) && $(SANITIZER_ENV) QUORVEL_RANDOM_SEQUENCES=300 ctest --output-on-failure -j $(JOBS)

# FUZZ_RUNS inputs per harness, from its seed corpus in fuzz/corpus/NAME; new inputs found
# are kept in build/fuzz/corpus/NAME, findings (crash-*, leak-*, timeout-*) in build/fuzz.
FUZZ_RUNS ?= 2000000
fuzz-build: deps
	@cmake -S . -B $(FUZZING) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DQUORVEL_FUZZ=ON -DQUORVEL_TESTS=OFF -DQUORVEL_BENCH=OFF >/dev/null
	@cmake --build $(FUZZING) -j $(JOBS) --target fuzzers

fuzz: fuzz-build
	@bash scripts/run-fuzzers.sh $(FUZZING) $(FUZZ_RUNS)

# What CI runs: a fixed number of inputs per harness.
fuzz-ci: FUZZ_RUNS := 5000
fuzz-ci: fuzz

RANDOM_SEQUENCES ?= 2000
RANDOM_DEFAULT_RUNS ?= 20
random-long: build-check
	@cd $(CHECKING) && $(SANITIZER_ENV) QUORVEL_RANDOM_SEQUENCES=$(RANDOM_SEQUENCES) \
	  QUORVEL_RANDOM_DEFAULT_RUNS=$(RANDOM_DEFAULT_RUNS) ./tests/random_input_tests

bench: configure-release
	@cmake --build $(RELEASE) -j $(JOBS)
	@for b in $(RELEASE)/bench/*_bench; do [ -x "$$b" ] && "$$b" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true; done

clean:
	@rm -rf build
