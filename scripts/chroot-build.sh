#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package from the committed tree in a clean chroot of a
# release, as Debian's build machines do: only build-essential and the
# Build-Depends, as an unprivileged user, the tests on a virtual display of the
# chroot's own, then the release's lintian.  The chroot, with the build
# dependencies installed, is kept between runs and clones as
# CHROOTS/RELEASE.tar, and made anew when debian/control changes; the packages
# are left in OUT/chroot/RELEASE/.  Runs as root.
# Usage: chroot-build.sh RELEASE [OUT]   (bookworm, trixie or sid; OUT: build/)
# CHROOTS: KALVIRA_CHROOTS, or ~/.cache/kalvira/chroots
set -euo pipefail
trap 'echo "chroot-build.sh: line $LINENO failed" >&2' ERR
top=$(cd "$(dirname "$0")/.." && pwd)
release=$1 out=$(mkdir -p "${2:-$top/build}/chroot" && cd "${2:-$top/build}/chroot" && pwd)
. "$top/scripts/chroot.sh"
tarball=$chroots/$release.tar
stamp=$chroots/$release.control  # the debian/control its build dependencies are for

if ! cmp -s "$top/debian/control" "$stamp" 2>/dev/null || [ ! -s "$tarball" ]; then
    echo "Making the $release chroot"
    make_chroot "$release" "$tarball" --variant=buildd --include=lintian \
        --customize-hook='mkdir -p "$1/tmp/kalvira"' \
        --customize-hook="copy-in $top/debian /tmp/kalvira" \
        --customize-hook='chroot "$1" env DEBIAN_FRONTEND=noninteractive apt-get build-dep -y -qq /tmp/kalvira >/dev/null' \
        --customize-hook='rm -rf "$1/tmp/kalvira"'
    cp "$top/debian/control" "$stamp"
fi
unpack_chroot "$tarball" "$out"

"$top/scripts/package.sh" --source "$root/build" > /dev/null
chown -R 65534:65534 "$root/build/package"
dir=$(cd "$root/build/package" && echo kalvira-*/)
chroot --userspec=65534:65534 "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/nonexistent \
    LANG=C.UTF-8 /build/package/"$dir"scripts/package.sh --build /build/package/"$dir"
rm -rf "${out:?}/$release" && mkdir -p "$out/$release"
cp "$root"/build/package/*.{deb,dsc,changes,buildinfo,debian.tar.xz} "$root"/build/package/build.log "$out/$release/"
echo "$release: built, tested and lintian-clean: $out/$release/"
