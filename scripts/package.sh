#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package with dpkg-buildpackage from a copy of the source
# tree, so that the tree stays clean, and checks it with lintian.  Leaves
# kalvira_<version>_<arch>.deb (and its -dbgsym package) in OUT.
# Usage: package.sh [OUT]   (default: build/)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$top/build}
mkdir -p "$out" && out=$(cd "$out" && pwd)
work=$out/package
rm -rf "$work" && mkdir -p "$work/kalvira"
tar -C "$top" --exclude=./.git --exclude=./build -cf - . | tar -C "$work/kalvira" -xf -

if ! (cd "$work/kalvira" && dpkg-buildpackage -b -us -uc -J) > "$work/build.log" 2>&1; then
    tail -n 30 "$work/build.log" >&2
    echo "dpkg-buildpackage failed; the whole log is in $work/build.log" >&2
    exit 1
fi
mv "$work"/*.deb "$out"/
deb=$out/kalvira_$(dpkg-parsechangelog -l "$top/debian/changelog" -S Version)_$(dpkg-architecture -q DEB_HOST_ARCH).deb
lintian --fail-on error,warning --info "$deb"
echo "Package: $deb"
