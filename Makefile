# The README's two commands: `make run` and `make test`.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)

.PHONY: deps build run install test test-fast test-listen test-asan bench fuzz clean

deps:
	@scripts/install-deps

# The three builds are the presets of CMakePresets.json; BUILD and its kin only move them.
$(BUILD)/build.ninja:
	cmake --preset default -B $(BUILD)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run-player $(BUILD)/sonorell $(ARGS)

# PREFIX (default /usr/local) and DESTDIR as usual.
install: build
	DESTDIR=$(DESTDIR) cmake --install $(BUILD) $(if $(PREFIX),--prefix $(PREFIX))

# Every test, then the listening tier (the player heard through a real sound server), then the
# suite again under AddressSanitizer + UBSan, then a short fuzz run.
test: build test-fast test-listen test-asan fuzz-smoke

# The benchmarks are built with the tests, so a change that breaks one is seen here; `make bench`
# runs them.
test-fast: build
	cmake --build $(BUILD) -j $(JOBS) --target benchmarks
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 600 -LE listening

test-listen: build
	cd $(BUILD) && ctest --output-on-failure --timeout 600 -L listening

$(ASAN_BUILD)/build.ninja:
	cmake --preset asan -B $(ASAN_BUILD)

test-asan: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 900 -LE listening

$(FUZZ_BUILD)/build.ninja:
	cmake --preset fuzz -B $(FUZZ_BUILD)

fuzz: deps $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers

fuzz-smoke: fuzz
	@scripts/run-fuzzers $(FUZZ_BUILD) 12

bench: build
	cmake --build $(BUILD) -j $(JOBS) --target benchmarks
	@scripts/run-benchmarks $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
