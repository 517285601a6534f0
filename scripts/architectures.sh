#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# kalvira cross-built and tested for the five ways Debian's architectures do
# floating point (cross-build.sh), in a clean chroot of Debian 12 that holds
# their cross compilers and libraries, so that the build machine's dpkg is left
# as it was: no foreign architecture, no package (checked at the end).
#   i386   x87, no SSE2                armhf    long double is double
#   arm64  long double is IEEE quad    ppc64el  long double is a pair of doubles
#   s390x  big-endian
# The chroot's sources name the release alone: security updates reach the
# architectures at different times, and multiarch libraries must be of one
# version.  Its tarball is kept with the others (chroots.sh) and made anew when
# the packages below change; each run unpacks it into a temporary folder and
# runs there through bubblewrap, which needs no root either, with the source
# tree, BUILD_DIR and the sources' cache bound at their own paths.
# Usage: architectures.sh BUILD_DIR
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(mkdir -p "$1" && cd "$1" && pwd)
. "$top/scripts/chroots.sh"
tarball=$chroots/bookworm-cross.tar stamp=$chroots/bookworm-cross.packages  # what it was made with
sources=${XDG_CACHE_HOME:-$HOME/.cache}/kalvira/sources  # yaml-cpp.sh's
mkdir -p "$sources"

architectures=(i386 armhf arm64 ppc64el s390x)
# the build machine's tools, the virtual display and the Greek labels' fonts for
# arm64's window tests, and each architecture's compilers and libraries
packages=(cmake make fluid librsvg2-bin dpkg-dev libyaml-cpp-dev qemu-user-static xvfb x11-utils
          fonts-dejavu-core fonts-urw-base35)
for arch in "${architectures[@]}"; do
    packages+=("crossbuild-essential-$arch" "libfltk1.3-dev:$arch" "libxtst-dev:$arch" "libgtest-dev:$arch" "libmpfr-dev:$arch")
done

host_dpkg() { dpkg --print-foreign-architectures; dpkg-query -W -f '${binary:Package} ${Version} ${Status}\n'; }
before=$(host_dpkg)

if [ ! -s "$tarball" ] || [ "$(cat "$stamp" 2>/dev/null)" != "${packages[*]}" ]; then
    echo "Making the chroot for the architectures"
    make_tarball "$tarball" bookworm --variant=apt \
        --architectures="$(dpkg --print-architecture),$(IFS=,; echo "${architectures[*]}")" --include="$(IFS=,; echo "${packages[*]}")"
    echo "${packages[*]}" > "$stamp"
fi

root=$(mktemp -d) && trap 'chmod -R u+w "$root"; rm -rf "$root"' EXIT  # u+w: unpacked without root, /proc's folder is read-only
tar -C "$root" -xf "$tarball" --exclude='./dev/*'  # bubblewrap makes /dev
bwrap --bind "$root" / --dev /dev --proc /proc --tmpfs /tmp --ro-bind /etc/resolv.conf /etc/resolv.conf \
    --bind "$top" "$top" --bind "$build" "$build" --bind "$sources" "$sources" --unshare-pid --die-with-parent \
    --clearenv --setenv PATH /usr/sbin:/usr/bin:/sbin:/bin --setenv HOME /root --setenv XDG_CACHE_HOME "${sources%/kalvira/sources}" \
    "$top/scripts/cross-build.sh" "$build"

if [ "$(host_dpkg)" != "$before" ]; then
    diff <(echo "$before") <(host_dpkg) >&2 || true
    echo "The architectures' builds changed the build machine's dpkg (above)" >&2
    exit 1
fi
