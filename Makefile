# Certivex: `make run` builds and starts the program, `make test` builds and runs every test.
BUILD ?= build
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=Release
JOBS ?= $(shell nproc)

.PHONY: all setup configure build run test dist bench soak clean

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

# The release package: dist/Certivex-<version>.zip.
dist: build
	@scripts/dist $(BUILD)

# Figures against the platform's own work, on a display of their own.
bench: build
	@scripts/bench $(BUILD)

# The long soak: repaints, hover, previews, exports and dialogs for minutes, with the process's
# GDI and USER objects and memory checked flat at the end.
soak: build
	@scripts/soak $(BUILD)

clean:
	rm -rf $(BUILD) out dist
