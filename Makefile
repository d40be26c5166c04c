# Certivex: `make run` builds and starts the program, `make test` builds and runs every test.
BUILD ?= build
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=Release
JOBS ?= $(shell nproc)

.PHONY: all setup configure build run test clean

all: build

setup:
	@scripts/setup

configure: setup
	@test -f $(BUILD)/CMakeCache.txt || cmake -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake $(CMAKE_FLAGS)

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	@scripts/run $(BUILD)

test: build
	@scripts/wine-prefix $(BUILD)
	@cd $(BUILD) && ctest --output-on-failure --timeout 600

clean:
	rm -rf $(BUILD) out
