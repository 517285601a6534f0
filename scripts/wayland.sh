#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Wayland leg: the package built for unstable (make test-releases) installed
# in a clean unstable chroot with sway, Weston, libdecor's GTK plugin for the
# frame Weston leaves to the client, Xvfb and xdotool, where
# tests/wayland/wayland_test.sh drives it; its pictures are left in OUT/wayland/.
# The chroot is kept beside chroot-build.sh's, as sid-wayland.tar, and made anew
# when the packages it needs change.  Runs as root.  Usage: wayland.sh [OUT]
set -euo pipefail
trap 'echo "wayland.sh: line $LINENO failed" >&2' ERR
top=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "${1:-$top/build}/wayland" && cd "${1:-$top/build}/wayland" && pwd)
. "$top/scripts/chroot.sh"
deb=$(echo "$out"/../chroot/sid/kalvira_*.deb)
[ -f "$deb" ] || { echo "no package for unstable: run make test-releases first" >&2; exit 1; }

# the tools and what the package depends on, so that it installs without the archive
packages=sway,grim,jq,mawk,weston,xvfb,xdotool,x11-utils,imagemagick,libdecor-0-plugin-1-gtk,$(dpkg-deb -f "$deb" Depends | sed 's/([^)]*)//g; s/ //g')
tarball=$chroots/sid-wayland.tar
if [ "$(cat "$tarball.packages" 2>/dev/null)" != "$packages" ] || [ ! -s "$tarball" ]; then
    echo "Making the Wayland chroot"
    make_chroot sid "$tarball" --variant=apt --include="$packages" && echo "$packages" > "$tarball.packages"
fi
unpack_chroot "$tarball" "$out"
cp "$deb" "$root/tmp/" && chroot "$root" dpkg -i "/tmp/$(basename "$deb")" > /dev/null
cp -r "$top/tests/wayland" "$root/test" && mkdir "$root/pictures"
chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 bash /test/wayland_test.sh /pictures
cp "$root"/pictures/* "$out/"
