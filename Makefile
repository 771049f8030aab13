# make test: install what is missing, build everything, run every test.
# make run:  install what is missing, build, start the virtual card and the panel under Wine.
# make fuzz: run each fuzz target for FUZZ_SECONDS; what it finds stays under build/fuzz.
# make dist: the release zips for Windows users, dist/WaveSettings-<version>-win32.zip and -win64.zip.
# make docs: the README's pictures in docs/ taken again from what the program draws now.
BUILD   := build
JOBS    := $(shell nproc)
CMAKE   := cmake -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
NATIVE  := $(BUILD)/native
ASAN    := $(BUILD)/asan
TSAN    := $(BUILD)/tsan
WIN64   := $(BUILD)/win64
WIN32   := $(BUILD)/win32
FUZZ    := $(BUILD)/fuzz
FUZZ_TARGETS := virtual_card device_link cardctl_command
FUZZ_SECONDS := 180
# The programs a person runs. The 32-bit tree builds only these, as the product for
# Windows; the tests run in the x86_64 tree.
PRODUCT := WaveSettings cardctl zelkwave_sys

.PHONY: all deps build test run bench fuzz dist docs clean

all: build

deps:
	@scripts/deps.sh

$(NATIVE)/build.ninja: | deps
	$(CMAKE) -S . -B $(NATIVE)
$(ASAN)/build.ninja: | deps
	$(CMAKE) -S . -B $(ASAN) -DWAVE_SANITIZE=address,undefined
$(TSAN)/build.ninja: | deps
	$(CMAKE) -S . -B $(TSAN) -DWAVE_SANITIZE=thread
$(WIN64)/build.ninja: | deps
	$(CMAKE) -S . -B $(WIN64) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake
$(WIN32)/build.ninja: | deps
	$(CMAKE) -S . -B $(WIN32) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
# The fuzz targets are a project of their own, built with clang and libFuzzer.
$(FUZZ)/build.ninja: | deps
	CC=clang-14 CXX=clang++-14 $(CMAKE) -S fuzz -B $(FUZZ)

build: $(NATIVE)/build.ninja $(ASAN)/build.ninja $(TSAN)/build.ninja $(WIN64)/build.ninja $(WIN32)/build.ninja \
       $(FUZZ)/build.ninja
	cmake --build $(NATIVE) -j $(JOBS)
	cmake --build $(WIN64) -j $(JOBS)
	cmake --build $(WIN32) -j $(JOBS) --target $(PRODUCT) wave_dist
	cmake --build $(ASAN) -j $(JOBS)
	cmake --build $(TSAN) -j $(JOBS)
	cmake --build $(FUZZ) -j $(JOBS)

test: build
	ctest --test-dir $(NATIVE) --output-on-failure
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ctest --test-dir $(ASAN) --output-on-failure
	TSAN_OPTIONS=halt_on_error=1 ctest --test-dir $(TSAN) --output-on-failure
	ctest --test-dir $(WIN64) --output-on-failure
	ctest --test-dir $(FUZZ) --output-on-failure

run: $(WIN64)/build.ninja
	cmake --build $(WIN64) -j $(JOBS) --target $(PRODUCT)
	scripts/run-panel.sh $(WIN64)

bench: $(WIN64)/build.ninja
	cmake --build $(WIN64) -j $(JOBS)
	scripts/run-bench.sh $(WIN64)

# Each tree packs its own zip (scripts/dist.py, the `wave_dist` target); the tests
# unpack the same zips.
dist: $(WIN32)/build.ninja $(WIN64)/build.ninja
	cmake --build $(WIN32) -j $(JOBS) --target wave_dist
	cmake --build $(WIN64) -j $(JOBS) --target wave_dist
	rm -rf dist
	mkdir -p dist
	cp $(WIN32)/dist/*.zip $(WIN64)/dist/*.zip dist/
	@ls -l dist

# The tests that save the pictures' screenshots run first; test docs_pictures
# compares docs/ with the same screenshots.
docs: $(WIN64)/build.ninja
	cmake --build $(WIN64) -j $(JOBS) --target docs_programs
	ctest --test-dir $(WIN64) -L screenshots --output-on-failure
	scripts/docs.py update $(BUILD)/screenshots docs

# New inputs go to build/fuzz/corpus/<target>, seeded from fuzz/corpus/<target>; every
# target runs even when one finds a fault, and the run fails if any did.
fuzz: $(FUZZ)/build.ninja
	cmake --build $(FUZZ) -j $(JOBS)
	@failed=""; for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ)/corpus/$$t; \
	  $(FUZZ)/$$t -max_total_time=$(FUZZ_SECONDS) -timeout=10 -artifact_prefix=$(FUZZ)/$$t- \
	    $(FUZZ)/corpus/$$t fuzz/corpus/$$t || failed="$$failed $$t"; \
	done; \
	if [ -n "$$failed" ]; then echo "fuzz targets that found a fault:$$failed"; exit 1; fi

clean:
	rm -rf $(BUILD)
