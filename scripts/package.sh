#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian source and binary packages from the committed tree: the
# upstream tarball with git archive (the same bytes every time for a commit),
# then dpkg-buildpackage on it in OUT/package/, then lintian on the .changes
# and the checks lintian leaves out.
# Leaves the tarball, .dsc, .debian.tar.xz, .changes, .buildinfo and .debs in OUT.
# Usage: package.sh [OUT]           (default: build/)
#        package.sh --source OUT     the source package in OUT/package/ (.dsc, tarballs),
#                                    and unpacked there
#        package.sh --lintian-options  the options lintian checks a build with
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

# lintian's options: everything it finds fails the build, but for what differs
# between the releases the same debian/ builds on:
# - newer-standards-version: the Standards-Version is unstable's, newer than
#   Debian 12's and 13's lintian know;
# - package-uses-old-debhelper-compat-version: 13, the highest compat level
#   Debian 12's and 13's debhelper provide;
# - redundant-priority-optional-field, redundant-rules-requires-root-no-field:
#   unstable's dpkg takes them as given, Debian 12's lintian asks for them;
# - appstream-metadata-validation-failed: AppStream 1.0 asks for a homepage,
#   which kalvira does not have yet, and a developer block, which Debian 12's
#   AppStream 0.16 does not know (check_package validates the metainfo).
# An older lintian stops at a tag it does not know: only those the lintian at
# hand knows are named.
lintian_options() {
    local tag
    echo "-EvIL +pedantic --fail-on error,warning,info,pedantic,experimental --suppress-tags" \
        "$(for tag in newer-standards-version package-uses-old-debhelper-compat-version redundant-priority-optional-field \
               redundant-rules-requires-root-no-field appstream-metadata-validation-failed; do
               if lintian-explain-tags "$tag" > /dev/null 2>&1; then echo "$tag"; fi; done | paste -sd,)"
}

# dpkg-buildpackage, its whole log shown if it fails, then lintian.
build_and_check() {
    local dir=$1
    if ! (cd "$dir" && dpkg-buildpackage -us -uc) > "$dir/../build.log" 2>&1; then
        cat "$dir/../build.log" >&2
        echo "dpkg-buildpackage failed; its log is above and in $(cd "$dir/.." && pwd)/build.log" >&2
        exit 1
    fi
    lintian $(lintian_options) "$dir"/../*.changes
}

# What lintian leaves out: the desktop entry and the metainfo validate (AppStream 1.0
# asks for a homepage, none yet, and a developer block, which Debian 12's 0.16 does not
# know), software centres' catalogue takes the package with its icon (AppStream 1.2 caches
# it as JPEG XL), and debian/changelog has the version and date that CMakeLists.txt sets.
check_package() {
    local deb=$1 root id version date
    root=$(mktemp -d) && trap 'rm -rf "$root"' RETURN
    dpkg-deb -x "$deb" "$root/files"
    ! desktop-file-validate "$root"/files/usr/share/applications/*.desktop 2>&1 | grep . || exit 1
    appstreamcli validate --no-net --pedantic "$root"/files/usr/share/metainfo/*.xml > "$root/found" 2>&1 || true
    ! grep -E '^[EWIP]:' "$root/found" | grep -vE 'url-homepage-missing|developer-(name-tag-deprecated|info-missing)' ||
        { cat "$root/found"; exit 1; }
    appstreamcli compose --no-net --origin=kalvira --result-root="$root/catalogue" "$root/files" > /dev/null
    id=$(basename "$root"/files/usr/share/metainfo/*.metainfo.xml .metainfo.xml)
    zgrep -qE "<icon type=\"cached\" width=\"64\" height=\"64\">$id.(png|jxl)</icon>" \
        "$root"/catalogue/usr/share/swcatalog/xml/kalvira.xml.gz || { echo "not in the catalogue with its icon" >&2; exit 1; }
    version=$(sed -n 's/^project(kalvira VERSION \([^ ]*\).*/\1/p' "$top/CMakeLists.txt")
    date=$(sed -n 's/^set(KALVIRA_RELEASE_DATE \(.*\))/\1/p' "$top/CMakeLists.txt")
    [ "$(dpkg-parsechangelog -l "$top/debian/changelog" -S Version | sed 's/-[^-]*$//') $(date -u -d \
        "$(dpkg-parsechangelog -l "$top/debian/changelog" -S Date)" +%F)" = "$version $date" ] ||
        { echo "debian/changelog does not have $version of $date" >&2; exit 1; }
}

mode=all; case ${1:-} in --source|--lintian-options) mode=${1#--}; shift ;; esac
if [ "$mode" = lintian-options ]; then
    lintian_options
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

work=$out/package
rm -rf "$work" && mkdir -p "$work"
cp "$out/$orig" "$work/"
tar -C "$work" -xf "$work/$orig"
git -C "$top" archive --format=tar --prefix="kalvira-$upstream/" HEAD debian | tar -C "$work" -xf -
if [ "$mode" = source ]; then
    (cd "$work" && dpkg-source -b "kalvira-$upstream" > /dev/null)
    exit 0
fi
build_and_check "$work/kalvira-$upstream"
check_package "$work/kalvira_${version}_$(dpkg-architecture -q DEB_HOST_ARCH).deb"
rm "$work/$orig"
mv "$work"/*.dsc "$work"/*.debian.tar.xz "$work"/*.changes "$work"/*.buildinfo "$work"/*.deb "$out"/
echo "Packages: $out/kalvira_${version}_$(dpkg-architecture -q DEB_HOST_ARCH).changes and the files it lists"
