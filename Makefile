# The user-facing commands. Every one starts with the set-up step, which
# installs what is missing and costs nothing when all is there.
#
# Trees: build/native (host g++: portable core, tests, benchmarks),
# build/asan (the same with AddressSanitizer and UBSan), build/win32 (i686:
# comet.scr, the product) and build/win64 (x86-64 build of the same sources,
# whose Windows tests run under Wine on this machine).
NATIVE := build/native
ASAN := build/asan
WIN := build/win32
WIN64 := build/win64
JOBS ?= 2

.PHONY: all setup build native asan win32 win64 test bench run clean

all: build

setup:
	@tools/setup.sh

$(NATIVE)/CMakeCache.txt: | setup
	cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Release >/dev/null

$(ASAN)/CMakeCache.txt: | setup
	cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DCOMET_SANITIZE=ON >/dev/null

$(WIN)/CMakeCache.txt: | setup
	cmake -S . -B $(WIN) -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null

$(WIN64)/CMakeCache.txt: | setup
	cmake -S . -B $(WIN64) -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake >/dev/null

native: setup $(NATIVE)/CMakeCache.txt
	cmake --build $(NATIVE) -j $(JOBS)

asan: setup $(ASAN)/CMakeCache.txt
	cmake --build $(ASAN) -j $(JOBS)

win32: setup $(WIN)/CMakeCache.txt
	cmake --build $(WIN) -j $(JOBS)

win64: setup $(WIN64)/CMakeCache.txt
	cmake --build $(WIN64) -j $(JOBS)

build: native win32

test: native asan win32 win64
	ctest --test-dir $(NATIVE) --output-on-failure
	ctest --test-dir $(ASAN) --output-on-failure
	ctest --test-dir $(WIN) --output-on-failure
	tools/wine-session.sh ctest --test-dir $(WIN64) --output-on-failure

bench: native win64
	tools/bench.sh

run: win32 win64
	tools/run-saver.sh

clean:
	rm -rf build out
