# The user-facing commands. Every one starts with the set-up step, which
# installs what is missing and costs nothing when all is there.
NATIVE := build/native
WIN := build/win32
ASAN := build/asan
JOBS ?= 2

.PHONY: all setup build native win32 asan test bench run clean

all: build

setup:
	@tools/setup.sh

$(NATIVE)/CMakeCache.txt: | setup
	cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Release >/dev/null

$(WIN)/CMakeCache.txt: | setup
	cmake -S . -B $(WIN) -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null

$(ASAN)/CMakeCache.txt: | setup
	cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DCOMET_SANITIZE=ON >/dev/null

native: setup $(NATIVE)/CMakeCache.txt
	cmake --build $(NATIVE) -j $(JOBS)

win32: setup $(WIN)/CMakeCache.txt
	cmake --build $(WIN) -j $(JOBS)

asan: setup $(ASAN)/CMakeCache.txt
	cmake --build $(ASAN) -j $(JOBS)

build: native win32

test: native win32 asan
	ctest --test-dir $(NATIVE) --output-on-failure
	ctest --test-dir $(ASAN) --output-on-failure
	tools/wine-session.sh ctest --test-dir $(WIN) --output-on-failure

bench: native
	tools/bench.sh $(NATIVE) $(WIN)

run: win32
	tools/run-saver.sh $(WIN)/comet.scr

clean:
	rm -rf build out
