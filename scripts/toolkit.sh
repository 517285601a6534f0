#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds FLTK 1.4 where no archive serves it: for the Windows release, or for
# tests against an FLTK 1.4 of one's own (pass -DFLTK_DIR=PREFIX/share/fltk to
# kalvira's build).  From FLTK_SOURCE, a tarball or a folder
# of FLTK 1.4's source; by default the release tarball in a folder
# shared/toolkit beside the project's folder or above it.  Static, without
# GL, forms, tests or documentation, into PREFIX, with the licences of the
# toolkit and of the image libraries it bundles in PREFIX/licences; built
# again only when the source changes.
# Usage: toolkit.sh PREFIX [CMAKE_ARGUMENTS...]
#        toolkit.sh --find     prints the source it would take, or fails
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

find_source() {
    if [ -n "${FLTK_SOURCE:-}" ]; then
        [ -e "$FLTK_SOURCE" ] && echo "$(cd "$(dirname "$FLTK_SOURCE")" && pwd)/$(basename "$FLTK_SOURCE")"
        return
    fi
    local dir=$top
    while dir=$(dirname "$dir"); do
        for tarball in "$dir"/shared/toolkit/fltk-1.4.*-source.tar.gz; do
            [ -e "$tarball" ] && { echo "$tarball"; return; }
        done
        [ "$dir" != / ] || return 1
    done
}
source=$(find_source) || { echo "No FLTK 1.4 source found: set FLTK_SOURCE to its tarball or folder" >&2; exit 1; }
[ "${1:-}" != --find ] || { echo "$source"; exit 0; }

prefix=$1
shift
mkdir -p "$prefix" && prefix=$(cd "$prefix" && pwd)
stamp="$source $(stat -c '%s %Y' "$source") $*"
[ "$(cat "$prefix/source" 2>/dev/null)" != "$stamp" ] || exit 0

echo "Building FLTK from $source into $prefix (a minute or a few, once)"
work=$prefix.work
rm -rf "$work" && mkdir -p "$work/source"
find "$prefix" -mindepth 1 -delete
if [ -d "$source" ]; then
    cp -r "$source/." "$work/source"
else
    tar -C "$work/source" --strip-components=1 -xf "$source"
fi
{
    cmake -S "$work/source" -B "$work/build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DFLTK_BUILD_TEST=OFF -DFLTK_BUILD_GL=OFF -DFLTK_BUILD_FORMS=OFF -DFLTK_BUILD_FLTK_OPTIONS=OFF \
        -DFLTK_BUILD_HTML_DOCS=OFF -DFLTK_BUILD_PDF_DOCS=OFF -DFLTK_USE_SYSTEM_LIBPNG=OFF \
        -DFLTK_USE_SYSTEM_ZLIB=OFF -DFLTK_USE_SYSTEM_LIBJPEG=OFF "$@" &&
        cmake --build "$work/build" -j"$(nproc)" && cmake --install "$work/build"
} > "$work/log" 2>&1 || { tail -n 30 "$work/log"; echo "FLTK's build failed; its log: $work/log" >&2; exit 1; }
# the IJG's licence asks for a line in the documentation of what links libjpeg too
mkdir -p "$prefix/licences"
cp "$work/source/COPYING" "$prefix/licences/FLTK.txt"
cp "$work/source/jpeg/README" "$prefix/licences/libjpeg.txt"
cp "$work/source/png/LICENSE" "$prefix/licences/libpng.txt"
echo "$stamp" > "$prefix/source"
rm -rf "$work"
