#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Wayland leg: the package built for unstable (make test-releases) and its
# autopkgtest "wayland", run by autopkgtest in a clean unstable testbed of its
# own (unshare mode: no root), as Debian's CI would run it.  The testbed's base,
# a tarball made by mmdebstrap, is kept beside sbuild.sh's chroots; the test's
# pictures are left in OUT/wayland/artifacts/.  Usage: wayland.sh [OUT]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "${1:-$top/build}" && cd "${1:-$top/build}" && pwd)
chroots=${KALVIRA_CHROOTS:-${XDG_CACHE_HOME:-$HOME/.cache}/kalvira/chroots}
tarball=$chroots/sid-testbed.tar
[ -f "$(echo "$out"/chroot/sid/kalvira_*.dsc)" ] || { echo "no package for unstable: run make test-releases first" >&2; exit 1; }

# From the archive this machine uses, whose index for unstable can be past its Valid-Until date.
if [ ! -s "$tarball" ]; then
    echo "Making the unstable testbed"
    mkdir -p "$chroots"
    mirror=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/*.sources 2>/dev/null | head -n 1)
    mmdebstrap --quiet --mode=unshare --variant=apt --aptopt='Acquire::Check-Valid-Until "false"' \
        --aptopt='APT::Install-Recommends "false"' sid "${tarball%.tar}.new.tar" "${mirror:-http://deb.debian.org/debian}"
    mv "${tarball%.tar}.new.tar" "$tarball"
fi
rm -rf "$out/wayland"
autopkgtest --apt-upgrade --test-name=wayland --output-dir "$out/wayland" "$out"/chroot/sid/kalvira_*.dsc \
    "$out"/chroot/sid/kalvira_*_"$(dpkg --print-architecture)".deb -- unshare --release sid --tarball "$tarball" > "$out/wayland.log" 2>&1 ||
    { cat "$out/wayland.log"; echo "the Wayland leg failed; its log is above" >&2; exit 1; }
grep -E '^wayland +PASS' "$out/wayland/summary" || { cat "$out/wayland.log"; echo "the Wayland leg did not pass" >&2; exit 1; }
