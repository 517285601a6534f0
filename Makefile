# The README's commands; CMake does the real work in build/.
BUILD ?= build
CMAKE_FLAGS ?=
RUNS ?= 25

.PHONY: all deps build run test test-sanitized bench package clean

all: build

deps:
	@scripts/deps.sh

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null
	cmake --build $(BUILD) -j2

run: build
	BUILD_DIR=$(abspath $(BUILD)) scripts/run.sh

# Leak detection stays off: the program hands its windows to the toolkit and
# frees nothing before it exits.
test: build
	ASAN_OPTIONS=detect_leaks=0 scripts/with-xvfb.sh ctest --test-dir $(BUILD) --output-on-failure

test-sanitized:
	$(MAKE) test BUILD=$(BUILD)/sanitized CMAKE_FLAGS=-DKALVIRA_SANITIZE=ON

# Start-up, memory, keystroke latency and idle CPU; not part of the tests.
bench: build
	@scripts/deps.sh bench
	scripts/with-xvfb.sh $(BUILD)/bench/kalvira_bench $(BUILD)/kalvira $(BUILD)/bench/bare_window $(RUNS)

package: build
	cd $(BUILD) && cpack

clean:
	rm -rf $(BUILD)
