# The README's commands; CMake does the real work in build/.
BUILD ?= build
CMAKE_FLAGS ?=

.PHONY: all deps build run test bench package clean

all: build

deps:
	@scripts/deps.sh

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null
	cmake --build $(BUILD) -j2

run: build
	BUILD_DIR=$(abspath $(BUILD)) scripts/run.sh

test: build
	scripts/with-xvfb.sh ctest --test-dir $(BUILD) --output-on-failure

package: build
	cd $(BUILD) && cpack

clean:
	rm -rf $(BUILD)
