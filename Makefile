# make test: install what is missing, build everything, run every test.
# make run:  install what is missing, build, start the virtual card and the panel under Wine.
BUILD   := build
JOBS    := $(shell nproc)
CMAKE   := cmake -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
NATIVE  := $(BUILD)/native
ASAN    := $(BUILD)/asan
TSAN    := $(BUILD)/tsan
WIN64   := $(BUILD)/win64
WIN32   := $(BUILD)/win32
# The programs a person runs. The 32-bit tree builds only these, as the product for
# Windows; the tests run in the x86_64 tree.
PRODUCT := WaveSettings cardctl zelkwave_sys

.PHONY: all deps build test run bench clean

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

build: $(NATIVE)/build.ninja $(ASAN)/build.ninja $(TSAN)/build.ninja $(WIN64)/build.ninja $(WIN32)/build.ninja
	cmake --build $(NATIVE) -j $(JOBS)
	cmake --build $(WIN64) -j $(JOBS)
	cmake --build $(WIN32) -j $(JOBS) --target $(PRODUCT)
	cmake --build $(ASAN) -j $(JOBS)
	cmake --build $(TSAN) -j $(JOBS)

test: build
	ctest --test-dir $(NATIVE) --output-on-failure
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ctest --test-dir $(ASAN) --output-on-failure
	TSAN_OPTIONS=halt_on_error=1 ctest --test-dir $(TSAN) --output-on-failure
	ctest --test-dir $(WIN64) --output-on-failure

run: $(WIN64)/build.ninja
	cmake --build $(WIN64) -j $(JOBS) --target $(PRODUCT)
	scripts/run-panel.sh $(WIN64)

bench: $(WIN64)/build.ninja
	cmake --build $(WIN64) -j $(JOBS)
	scripts/run-bench.sh $(WIN64)

clean:
	rm -rf $(BUILD)
