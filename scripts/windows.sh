#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds kalvira for 64-bit Windows.  The toolkit first, once per source: from
# FLTK_SOURCE (FLTK 1.4's source as a tarball or a folder), static, without GL,
# tests or fluid (the host's fluid writes the window code), into
# BUILD/windows/fltk.  Then kalvira.exe and its release, copied to BUILD:
# kalvira-<version>-win64.zip and kalvira-<version>-win64-setup.exe.
# Usage: FLTK_SOURCE=... windows.sh [BUILD]   (default BUILD: build/)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
mkdir -p "$build" && build=$(cd "$build" && pwd)
source=${FLTK_SOURCE:-$top/../shared/toolkit/fltk-1.4.5-source.tar.gz}
[ -e "$source" ] || { echo "No toolkit source at $source: set FLTK_SOURCE to FLTK 1.4's source" >&2; exit 1; }
work=$build/windows toolchain=$top/windows/toolchain.cmake
stamp="$(cd "$(dirname "$source")" && pwd)/$(basename "$source") $(stat -c '%s %Y' "$source")"

if [ "$(cat "$work/fltk/source" 2>/dev/null)" != "$stamp" ]; then
    echo "Building FLTK for win64 from $source (a few minutes, once)"
    rm -rf "$work/fltk" "$work/fltk-build" "$work/fltk-source"
    if [ -d "$source" ]; then
        cp -r "$source" "$work/fltk-source"
    else
        mkdir -p "$work/fltk-source" && tar -C "$work/fltk-source" --strip-components=1 -xf "$source"
    fi
    cmake -S "$work/fltk-source" -B "$work/fltk-build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$work/fltk" -DFLTK_BUILD_TEST=OFF \
        -DFLTK_BUILD_GL=OFF -DFLTK_BUILD_FLUID=OFF -DFLTK_BUILD_FLTK_OPTIONS=OFF -DFLTK_BUILD_FORMS=OFF \
        -DFLTK_BUILD_HTML_DOCS=OFF -DFLTK_BUILD_PDF_DOCS=OFF -DFLTK_USE_SYSTEM_LIBPNG=OFF \
        -DFLTK_USE_SYSTEM_ZLIB=OFF -DFLTK_USE_SYSTEM_LIBJPEG=OFF > "$work/fltk.log"
    cmake --build "$work/fltk-build" -j"$(nproc)" >> "$work/fltk.log"
    cmake --install "$work/fltk-build" >> "$work/fltk.log"
    # the licences the release carries: the toolkit's, and those of the image
    # libraries it bundles (the IJG's asks for a line in the documentation too)
    mkdir -p "$work/fltk/licences"
    cp "$work/fltk-source/COPYING" "$work/fltk/licences/FLTK.txt"
    cp "$work/fltk-source/jpeg/README" "$work/fltk/licences/libjpeg.txt"
    cp "$work/fltk-source/png/LICENSE" "$work/fltk/licences/libpng.txt"
    echo "$stamp" > "$work/fltk/source"
    rm -rf "$work/fltk-build" "$work/fltk-source"
fi

cmake -S "$top" -B "$work/kalvira" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DFLTK_DIR="$work/fltk/CMake" -DFLTK_LICENCES="$work/fltk/licences" > /dev/null
cmake --build "$work/kalvira" -j"$(nproc)"
cp "$work"/kalvira/kalvira-*-win64.zip "$work"/kalvira/kalvira-*-win64-setup.exe "$build"/
ls "$build"/kalvira-*-win64*
