#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Inside the chroot architectures.sh makes: kalvira built with Debian's cross
# compilers and multiarch libraries for each of the chroot's foreign
# architectures, its arithmetic test (the tooltips' read-back too) and
# kalvira-convert's run under qemu (i386 too: not every amd64 kernel runs
# 32-bit programs), and for arm64 the window tests, on the virtual display.
# yaml-cpp's -dev package cannot be installed for two architectures at once:
# each architecture's is built from its Debian source (yaml-cpp.sh).
# Usage: cross-build.sh BUILD_DIR
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(mkdir -p "$1" && cd "$1" && pwd)

# qemu's name for each; the programs run against the architecture's own
# libc6, which its multiarch libraries bring (the cross toolchain's older libc
# mixed with it does not start on s390x)
declare -A qemu_cpu=([i386]=i386 [armhf]=arm [arm64]=aarch64 [ppc64el]=ppc64le [s390x]=s390x)
for arch in $(dpkg --print-foreign-architectures); do (
    eval "$(dpkg-architecture -a "$arch" -s 2>/dev/null)"
    dir=$build/arch/$arch
    echo "== $arch ($DEB_HOST_GNU_TYPE)"
    "$top/scripts/yaml-cpp.sh" "$dir/yaml-cpp" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/debian-cross.cmake"
    "$top/scripts/configure.sh" "$dir" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/debian-cross.cmake" \
        -DCMAKE_CROSSCOMPILING_EMULATOR="qemu-${qemu_cpu[$arch]}-static" -Dyaml-cpp_DIR="$dir/yaml-cpp/lib/cmake/yaml-cpp" \
        -DBUILD_TESTING=ON > /dev/null
    cmake --build "$dir" -j"$(nproc)" > "$dir/build.log" 2>&1 || { tail -n 30 "$dir/build.log"; exit 1; }
    ctest --test-dir "$dir" -R '^(Arithmetic|ReadBack|Formulas|Tables|Numbers|Converted)\.' --output-on-failure --no-tests=error
    if [ "$arch" = arm64 ]; then
        "$top/scripts/with-xvfb.sh" ctest --test-dir "$dir" -R '^(Rows|Window|NumberField)' --output-on-failure --no-tests=error --timeout 120
    fi
); done  # a subshell each, for its own environment; a failure in it ends the run
