#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds kalvira for 64-bit Windows: the toolkit first (scripts/toolkit.sh,
# cross-compiled, without fluid: the host's fluid writes the window code)
# into BUILD/windows/fltk and yaml-cpp (scripts/yaml-cpp.sh) into
# BUILD/windows/yaml-cpp, then kalvira.exe, kalvira-convert.exe and their
# release, copied to BUILD:
# kalvira-<version>-win64.zip and kalvira-<version>-win64-setup.exe.
# Usage: windows.sh [BUILD]   (default BUILD: build/)
#        windows.sh --again [BUILD]   the release built a second time, from a copy
#            of the tree at another path, into BUILD/windows/again/, for the test
#            that two builds give the same bytes
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
again= && [ "${1:-}" != --again ] || { again=yes; shift; }
build=${1:-$top/build}
mkdir -p "$build" && build=$(cd "$build" && pwd)
work=$build/windows toolchain=$top/cmake/windows-toolchain.cmake

release() {  # SOURCE BINARY: kalvira's release built from SOURCE in BINARY
    cmake -S "$1" -B "$2" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
        -DFLTK_DIR="$work/fltk/CMake" -Dyaml-cpp_DIR="$work/yaml-cpp/lib/cmake/yaml-cpp" \
        -DKALVIRA_LICENCES="$work/fltk/licences;$work/yaml-cpp/licences" > /dev/null
    cmake --build "$2" -j"$(nproc)"
}

"$top/scripts/toolkit.sh" "$work/fltk" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DFLTK_BUILD_FLUID=OFF
"$top/scripts/yaml-cpp.sh" "$work/yaml-cpp" -DCMAKE_TOOLCHAIN_FILE="$toolchain"
if [ -n "$again" ]; then
    copy=$(mktemp -d) && trap 'rm -rf "$copy"' EXIT
    tar -C "$top" --exclude=./build --exclude=./.git -cf - . | tar -C "$copy" -xf -
    rm -rf "$work/again" && (umask 077 && TZ=Asia/Tokyo release "$copy" "$work/again")
    exit 0
fi
release "$top" "$work/kalvira"
cp "$work"/kalvira/kalvira-*-win64.zip "$work"/kalvira/kalvira-*-win64-setup.exe "$build"/
ls "$build"/kalvira-*-win64*
