#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian source and binary packages from the committed tree: the
# upstream tarball with git archive (the same bytes every time for a commit),
# then dpkg-buildpackage on it in OUT/package/, then lintian on the .changes.
# Leaves the tarball, .dsc, .debian.tar.xz, .changes, .buildinfo and .debs in OUT.
# Usage: package.sh [OUT]           (default: build/)
#        package.sh --orig-only OUT  the upstream tarball alone
#        package.sh --source OUT     the tarball unpacked with debian/ in OUT/package/
#        package.sh --build DIR      build and check the unpacked source in DIR,
#                                    without git (in a chroot); the packages go beside DIR
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

# dpkg-buildpackage, its whole log shown if it fails, then this release's
# lintian, but for what differs between the releases the same debian/ builds on:
# - newer-standards-version: the Standards-Version is unstable's, newer than
#   Debian 12's and 13's lintian know;
# - package-uses-old-debhelper-compat-version: 13, the highest compat level
#   Debian 12's and 13's debhelper provide;
# - redundant-priority-optional-field, redundant-rules-requires-root-no-field:
#   unstable's dpkg takes them as given, Debian 12's lintian asks for them;
# - appstream-metadata-validation-failed: AppStream 1.0 asks for a homepage,
#   which kalvira does not have yet, and a developer block, which Debian 12's
#   AppStream 0.16 does not know (the package test validates the metainfo).
build_and_check() {
    local dir=$1 tag release_tags
    # an older lintian stops at a tag it does not know: only those it knows
    release_tags=$(for tag in newer-standards-version package-uses-old-debhelper-compat-version \
        redundant-priority-optional-field redundant-rules-requires-root-no-field appstream-metadata-validation-failed; do
        if lintian-explain-tags "$tag" > /dev/null 2>&1; then echo "$tag"; fi; done | paste -sd,)
    if ! (cd "$dir" && dpkg-buildpackage -us -uc) > "$dir/../build.log" 2>&1; then
        cat "$dir/../build.log" >&2
        echo "dpkg-buildpackage failed; its log is above and in $(cd "$dir/.." && pwd)/build.log" >&2
        exit 1
    fi
    lintian -EvIL +pedantic --fail-on error,warning,info,pedantic,experimental \
        --suppress-tags "$release_tags" "$dir"/../*.changes
}

mode=all; case ${1:-} in --orig-only|--source|--build) mode=${1#--}; shift ;; esac
if [ "$mode" = build ]; then
    build_and_check "$1"
    exit 0
fi
out=${1:-$top/build}
mkdir -p "$out" && out=$(cd "$out" && pwd)

version=$(dpkg-parsechangelog -l "$top/debian/changelog" -S Version)
upstream=${version%-*}
orig=kalvira_$upstream.orig.tar.xz
[ -z "$(git -C "$top" status --porcelain --untracked-files=no)" ] ||
    echo "note: uncommitted changes are not in the package" >&2
git -C "$top" archive --format=tar --prefix="kalvira-$upstream/" HEAD -- . ':(exclude)debian' | xz -6 -T1 > "$out/$orig"
[ "$mode" != orig-only ] || exit 0

work=$out/package
rm -rf "$work" && mkdir -p "$work"
cp "$out/$orig" "$work/"
tar -C "$work" -xf "$work/$orig"
git -C "$top" archive --format=tar --prefix="kalvira-$upstream/" HEAD debian | tar -C "$work" -xf -
[ "$mode" != source ] || exit 0
build_and_check "$work/kalvira-$upstream"
rm "$work/$orig"
mv "$work"/*.dsc "$work"/*.debian.tar.xz "$work"/*.changes "$work"/*.buildinfo "$work"/*.deb "$out"/
echo "Packages: $out/kalvira_${version}_$(dpkg-architecture -q DEB_HOST_ARCH).changes and the files it lists"
