# SPDX-License-Identifier: MIT
# The README's commands; CMake does the real work in build/.
BUILD ?= build
CMAKE_FLAGS ?=
RUNS ?= 25

# What a build is for decides which packages scripts/deps.sh installs and
# whether the tests are built; the targets below set it for their build.
PURPOSE ?= run
test screenshot: PURPOSE = test
bench: PURPOSE = bench

.PHONY: all build run test test-sanitized test-releases test-reproducible test-architectures screenshot bench bench-convert fuzz package windows test-windows clean

all: build

build:
	@scripts/deps.sh $(PURPOSE)
	scripts/configure.sh $(BUILD) -DBUILD_TESTING=$(if $(filter run,$(PURPOSE)),OFF,ON) $(CMAKE_FLAGS) >/dev/null
	cmake --build $(BUILD) -j2

run: build
	BUILD_DIR=$(abspath $(BUILD)) scripts/run.sh

# Leak detection stays off: the program hands its windows to the toolkit and
# frees nothing before it exits.
test: build
	ASAN_OPTIONS=detect_leaks=0 scripts/with-xvfb.sh ctest --test-dir $(BUILD) --output-on-failure --timeout 120

test-sanitized:
	$(MAKE) test BUILD=$(BUILD)/sanitized CMAKE_FLAGS=-DKALVIRA_SANITIZE=ON

# The package built by sbuild, its tests run and lintian-checked, in clean chroots
# of Debian 12 (FLTK 1.3), 13 and unstable (the archive's FLTK 1.4), then its
# autopkgtests in clean testbeds of each (on X11, of kalvira-convert, and as a
# Wayland client of sway and of Weston where FLTK is 1.4); no root needed.
RELEASES ?= bookworm trixie sid
test-releases:
	@scripts/deps.sh releases
	for release in $(RELEASES); do scripts/sbuild.sh $$release $(BUILD) || exit 1; done

# The package built twice, the second time in another time, path, locale and
# more: the same bytes, or diffoscope's report of what differs.
test-reproducible:
	@scripts/deps.sh reproducible
	scripts/reproducible.sh $(BUILD)

# The arithmetic test on i386, armhf, arm64, ppc64el and s390x, cross-built
# into build/arch/ in a clean chroot and run under qemu, and the window tests
# for arm64; this machine's dpkg is left as it was.
test-architectures:
	@scripts/deps.sh architectures
	scripts/architectures.sh $(BUILD)

# kalvira-convert's fuzz targets under libFuzzer, FUZZ_SECONDS each (scripts/fuzz.sh).
FUZZ_SECONDS ?= 60
fuzz:
	@scripts/deps.sh fuzz
	scripts/fuzz.sh $(BUILD)/fuzz $(FUZZ_SECONDS)

# Redraws doc/kalvira.png, the README's picture of the window, which the tests
# compare the window with pixel for pixel; for when the window changes on purpose.
screenshot: build
	UPDATE_SCREENSHOT=1 scripts/with-xvfb.sh ctest --test-dir $(BUILD) -R process.picture

# Start-up, memory, keystroke latency and idle CPU; not part of the tests.
bench: build
	scripts/with-xvfb.sh $(BUILD)/bench/kalvira_bench $(BUILD)/kalvira $(BUILD)/bench/bare_window $(RUNS)

# kalvira-convert against NumPy on a million rows: rows per second and peak memory.
bench-convert: build
	@scripts/deps.sh bench-convert
	/usr/bin/python3 bench/convert_bench.py $(BUILD)/kalvira-convert

# The Debian source and binary packages, from the committed tree, checked by lintian.
package:
	@scripts/deps.sh package
	scripts/package.sh $(BUILD)

# The Windows release in build/: kalvira-<version>-win64.zip and its installer,
# built against FLTK 1.4 from FLTK_SOURCE (see scripts/toolkit.sh).
windows:
	@scripts/deps.sh windows
	scripts/windows.sh $(BUILD)

# The Windows release under wine: the zip's program, the installer, 200% scaling;
# and the zip built again elsewhere, in another umask and time zone: the same bytes.
test-windows: windows
	@scripts/deps.sh test-windows
	scripts/windows.sh --again $(BUILD) > /dev/null
	scripts/with-xvfb.sh tests/windows_test.sh $(abspath $(BUILD)) \
	    $$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' $(BUILD)/windows/kalvira/CMakeCache.txt)

clean:
	rm -rf $(BUILD)
