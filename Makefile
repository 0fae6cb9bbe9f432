# make run   installs what is missing, builds (Release) and opens the program
# make test  installs what is missing, builds with warnings as errors and runs every test
.PHONY: run test build-release build-test deps bench clean

JOBS ?= $(shell nproc)
RELEASE := build/release
TESTING := build/test

deps:
	@bash scripts/install-deps.sh

build-release: deps
	@cmake -S . -B $(RELEASE) -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVEL_TESTS=OFF >/dev/null
	@cmake --build $(RELEASE) -j $(JOBS)

run: build-release
	@$(RELEASE)/quorvel

build-test: deps
	@cmake -S . -B $(TESTING) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVEL_WERROR=ON -DQUORVEL_BENCH=OFF >/dev/null
	@cmake --build $(TESTING) -j $(JOBS)

test: build-test
	@cd $(TESTING) && ctest --output-on-failure -j $(JOBS)

bench: deps
	@cmake -S . -B $(RELEASE) -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVEL_TESTS=OFF >/dev/null
	@cmake --build $(RELEASE) -j $(JOBS)
	@for b in $(RELEASE)/bench/*_bench; do [ -x "$$b" ] && "$$b" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true; done

clean:
	@rm -rf build
