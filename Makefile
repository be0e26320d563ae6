# Two entry points that do all the set-up on a fresh Debian machine:
#   make test   install what is missing, build (warnings as errors) and run every test
#   make demo   install what is missing, build and run the example host on the sample book
JOBS ?= $(shell nproc)

.PHONY: deps test asan demo fuzz clean

deps:
	bash scripts/install-deps.sh

test: deps
	cmake --preset dev
	cmake --build --preset dev -j $(JOBS)
	ctest --preset dev -j $(JOBS)

asan: deps
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

demo: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS) --target lectoro-host
	./build/release/examples/host/lectoro-host $(ARGS)

FUZZ_RUNS ?= 20000
fuzz:
	LECTORO_WITH_FUZZ=1 bash scripts/install-deps.sh
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	bash scripts/run-fuzzers.sh build/fuzz/fuzz $(FUZZ_RUNS)

clean:
	rm -rf build
