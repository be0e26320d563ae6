# Two entry points that do all the set-up on a fresh Debian machine:
#   make test   install what is missing, build (warnings as errors, address and undefined-behaviour
#               sanitizers) and run every test
#   make demo   install what is missing, build (release) and run the example host on the sample book
JOBS ?= $(shell nproc)
# Tests wait much of their time (durable store writes reaching the disk, the example host's
# effects), so twice as many run at once as there are processors: on two cores the suite takes
# about 85 s instead of 118.
TEST_JOBS ?= $(shell echo $$(( $(JOBS) * 2 )))

# The compilers' heap in transparent huge pages (glibc 2.35 and later; elsewhere, or where the
# kernel gives none, nothing changes): a clang batch of ours touches 500-900 MB, and faulting it
# in 4 KB pages cost about an eighth of the build's CPU time.
BUILD_ENV = GLIBC_TUNABLES=$${GLIBC_TUNABLES:+$$GLIBC_TUNABLES:}glibc.malloc.hugetlb=1

.PHONY: deps build test tsan-build tsan demo fuzz-build fuzz clean

deps:
	bash scripts/install-deps.sh

# The tests' build; also compiles the benchmarks, so they keep building.
build: deps
	cmake --preset dev
	$(BUILD_ENV) cmake --build --preset dev -j $(JOBS)

test: build
	ctest --preset dev -j $(TEST_JOBS)

# The threaded layers' tests under the thread sanitizer.
tsan-build: deps
	cmake --preset tsan
	$(BUILD_ENV) cmake --build --preset tsan -j $(JOBS)

tsan: tsan-build
	ctest --preset tsan -j $(TEST_JOBS)

demo: deps
	cmake --preset release
	$(BUILD_ENV) cmake --build --preset release -j $(JOBS) --target lectoro-host
	./build/release/examples/host/lectoro-host $(ARGS)

FUZZ_RUNS ?= 20000
fuzz-build:
	bash scripts/install-deps.sh
	cmake --preset fuzz
	$(BUILD_ENV) cmake --build --preset fuzz -j $(JOBS)

fuzz: fuzz-build
	bash scripts/run-fuzzers.sh build/fuzz/fuzz $(FUZZ_RUNS)

clean:
	rm -rf build
