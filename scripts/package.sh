#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian source and binary packages from the committed tree: the
# upstream tarball with git archive (the same bytes every time for a commit),
# then dpkg-buildpackage on it in OUT/package/, then lintian on the .changes.
# Leaves the tarball, .dsc, .debian.tar.xz, .changes, .buildinfo and .debs in OUT.
# Usage: package.sh [OUT]           (default: build/)
#        package.sh --orig-only OUT  the upstream tarball alone
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
orig_only=; [ "${1:-}" = --orig-only ] && { orig_only=1; shift; }
out=${1:-$top/build}
mkdir -p "$out" && out=$(cd "$out" && pwd)

version=$(dpkg-parsechangelog -l "$top/debian/changelog" -S Version)
upstream=${version%-*}
orig=kalvira_$upstream.orig.tar.xz
[ -z "$(git -C "$top" status --porcelain --untracked-files=no)" ] ||
    echo "note: uncommitted changes are not in the package" >&2
git -C "$top" archive --format=tar --prefix="kalvira-$upstream/" HEAD -- . ':(exclude)debian' | xz -6 -T1 > "$out/$orig"
[ -z "$orig_only" ] || exit 0

work=$out/package
rm -rf "$work" && mkdir -p "$work"
cp "$out/$orig" "$work/"
tar -C "$work" -xf "$work/$orig"
git -C "$top" archive --format=tar --prefix="kalvira-$upstream/" HEAD debian | tar -C "$work" -xf -
if ! (cd "$work/kalvira-$upstream" && dpkg-buildpackage -us -uc) > "$work/build.log" 2>&1; then
    cat "$work/build.log" >&2
    echo "dpkg-buildpackage failed; its log is above and in $work/build.log" >&2
    exit 1
fi
rm "$work/$orig"
mv "$work"/*.dsc "$work"/*.debian.tar.xz "$work"/*.changes "$work"/*.buildinfo "$work"/*.deb "$out"/
changes=$out/kalvira_${version}_$(dpkg-architecture -q DEB_HOST_ARCH).changes
lintian -EvIL +pedantic --fail-on error,warning,info,pedantic,experimental "$changes"
echo "Packages: $changes and the files it lists"
