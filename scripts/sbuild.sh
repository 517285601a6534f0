#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package of the committed tree for a release as Debian's
# build machines do: with sbuild, for unstable as debian/changelog says, in a
# clean chroot of that release, taking
# only the first alternative of each Build-Depends, its tests on a virtual
# display of the chroot's own, then that release's lintian, then its
# autopkgtests in a clean testbed of that release as Debian's CI runs them
# (gui, convert, and wayland where the release's FLTK is 1.4).  Debian 12 has no
# FLTK 1.4, the first alternative: there, and only there, sbuild takes the
# first alternative that can be installed, which Debian's builders would not.
# sbuild's and autopkgtest's unshare modes need no root, as mmdebstrap's.
# Both tarballs are made by mmdebstrap and kept between runs and clones
# (chroots.sh): RELEASE.tar, with the build dependencies and lintian installed,
# made anew when debian/control changes, and RELEASE-testbed.tar, the bare
# system the autopkgtests install their dependencies into.  The packages, the
# build's log and the tests' artifacts (the Wayland pictures) are left in
# OUT/chroot/RELEASE/.
# Usage: sbuild.sh RELEASE [OUT]   (bookworm, trixie or sid; OUT: build/)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
release=$1 out=$(mkdir -p "${2:-$top/build}/chroot" && cd "${2:-$top/build}/chroot" && pwd)
. "$top/scripts/chroots.sh"
tarball=$chroots/$release.tar stamp=$chroots/$release.control  # the debian/control it was made for
testbed=$chroots/$release-testbed.tar

if ! cmp -s "$top/debian/control" "$stamp" || [ ! -s "$tarball" ] || [ ! -s "$chroots/$release.lintian" ]; then
    echo "Making the $release chroot"
    make_tarball "$tarball" "$release" --variant=buildd --include=lintian \
        --customize-hook='mkdir "$1/tmp/kalvira"' --customize-hook="copy-in $top/debian $top/scripts/package.sh /tmp/kalvira" \
        --customize-hook='chroot "$1" env DEBIAN_FRONTEND=noninteractive apt-get build-dep -y -qq /tmp/kalvira > /dev/null' \
        --customize-hook='chroot "$1" bash /tmp/kalvira/package.sh --lintian-options > "$1/tmp/lintian-options"' \
        --customize-hook="download /tmp/lintian-options $chroots/$release.lintian" \
        --customize-hook='rm -rf "$1/tmp/kalvira" "$1/tmp/lintian-options"'
    cp "$top/debian/control" "$stamp"
fi
if [ ! -s "$testbed" ]; then  # brought up to date by autopkgtest's --apt-upgrade at each run
    echo "Making the $release testbed"
    make_tarball "$testbed" "$release" --variant=apt
fi

work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
"$top/scripts/package.sh" --source "$work" > /dev/null
alternatives=() && [ "$release" != bookworm ] || alternatives=(--resolve-alternatives)
# lintian's findings and the autopkgtests' failures fail the build; autopkgtest
# runs as this user, its unshare mode needing no root
printf '%s\n' '$lintian_require_success = 1;' '$autopkgtest_require_success = 1;' "\$autopkgtest_root_args = '';" 1 > "$work/sbuild.conf"
if ! (cd "$work/package" && SBUILD_CONFIG=$work/sbuild.conf sbuild --chroot-mode=unshare --chroot="$tarball" \
        --dist=unstable --arch-all "${alternatives[@]}" --no-apt-upgrade --no-apt-distupgrade --no-run-piuparts \
        --run-lintian --lintian-opts="$(cat "$chroots/$release.lintian")" --run-autopkgtest \
        --autopkgtest-opts="--apt-upgrade --output-dir $work/tests -- unshare --release $release --tarball $testbed" \
        --nolog ./*.dsc) > "$work/sbuild.log" 2>&1; then
    cat "$work/sbuild.log" >&2
    echo "sbuild failed for $release; its log is above" >&2
    exit 1
fi
# A test that skips passes in sbuild's eyes: wayland may skip only where the package is built against FLTK 1.3.
expected=(gui convert)
! dpkg-deb -f "$(echo "$work"/package/kalvira_*_"$(dpkg --print-architecture)".deb)" Depends | grep -q 'libfltk1\.4' || expected+=(wayland)
for test in "${expected[@]}"; do
    grep -qE "^$test +PASS" "$work/tests/summary" || { cat "$work/sbuild.log" >&2; echo "$release: the autopkgtest $test did not pass" >&2; exit 1; }
done
rm -rf "${out:?}/$release" && mkdir -p "$out/$release"
cp "$work"/package/*.{deb,dsc,changes,buildinfo,debian.tar.xz,orig.tar.xz} "$work/sbuild.log" "$out/$release/"
[ ! -d "$work/tests/artifacts" ] || cp -r "$work/tests/artifacts" "$out/$release/"
echo "$release: built, tested, lintian-clean and its autopkgtests passed: $out/$release/"
