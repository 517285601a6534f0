#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages missing for a purpose: the build dependencies
# debian/control lists (through apt-get build-dep), and the tools it does not.
#   run      build and run kalvira (and a virtual display when there is none)
#   package  build and check the Debian package
#   test     the tests
#   reproducible  the package built twice by reprotest, and compared
#   bench    the benchmark, which shares the tests' helpers
#   bench-convert  kalvira-convert's benchmark, against NumPy
#   fuzz     kalvira-convert's fuzz targets, with clang's libFuzzer
#   windows  the Windows release, cross-compiled (no build dependencies of Linux's)
#   releases the package built by sbuild for Debian 12, 13 and unstable
#   test-windows  the Windows release and its test under wine
#   architectures cross builds for i386, armhf, arm64, ppc64el and s390x, in a chroot
# Usage: deps.sh [run|package|test|reproducible|bench|bench-convert|fuzz|releases|windows|test-windows|architectures]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

headless=(xvfb x11-utils xdotool imagemagick)
packaging=(lintian appstream appstream-compose librsvg2-common desktop-file-utils man-db)  # librsvg2-common: compose reads the SVG icon
windows=(cmake make fluid librsvg2-bin g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix nsis icoutils zip)

profile=()  # the build profile: without the tests' build dependencies for a plain build
linux=yes   # whether the build dependencies debian/control lists are needed
case ${1:-run} in
run)     profile=(-P nocheck); tools=(fonts-urw-base35);  # its symbol font draws the Greek labels
         [ -n "${DISPLAY:-}" ] || tools+=("${headless[@]}") ;;
package) tools=("${packaging[@]}") ;;
test)    tools=() ;;
reproducible) profile=(-P nocheck); tools=(reprotest disorderfs faketime locales-all diffoscope-minimal dpkg-dev git xz-utils) ;;
bench)   tools=(x11-apps) ;;
bench-convert) profile=(-P nocheck); tools=(python3 python3-numpy python3-yaml) ;;
fuzz)    tools=(clang libclang-rt-14-dev) ;;  # Debian 12's clang and its libFuzzer
releases) linux=; tools=(sbuild mmdebstrap uidmap autopkgtest dpkg-dev git xz-utils) ;;
windows) linux=; tools=("${windows[@]}") ;;
test-windows) linux=; tools=("${windows[@]}" "${headless[@]}" wine wine64 openbox wmctrl xclip unzip
                            fonts-urw-base35) ;;  # wine finds its narrow face through fontconfig
architectures) linux=; tools=(mmdebstrap uidmap bubblewrap) ;;  # all else is in the chroot
*)       echo "usage: $0 [run|package|test|reproducible|bench|bench-convert|fuzz|releases|windows|test-windows|architectures]" >&2; exit 2 ;;
esac

# sbuild and mmdebstrap in unshare mode map the user's subordinate ids
if [[ ${1:-} =~ ^(releases|architectures)$ ]] && ! grep -q "^$(id -un):" /etc/subuid 2> /dev/null; then
    [ "$(id -u)" -eq 0 ] || { echo "Please give $(id -un) subordinate ids:" \
        "usermod --add-subuids 100000-165535 --add-subgids 100000-165535 $(id -un)" >&2; exit 1; }
    usermod --add-subuids 100000-165535 --add-subgids 100000-165535 root
fi

build_deps_met() {
    [ -z "$linux" ] || { command -v dpkg-checkbuilddeps >/dev/null && (cd "$top" && dpkg-checkbuilddeps "${profile[@]}" 2>/dev/null); }
}
missing=()
for p in "${tools[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
build_deps_met && [ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
    as_root=(sudo)
else
    echo "Cannot install as root (no root, no sudo). Please run: apt-get build-dep ${profile[*]} $top/" \
         "and apt-get install ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
echo "Installing missing packages"
# The archive's mirrors sync every few hours, and lists caught mid-sync have the
# wrong size for a few minutes.
for try in 1 2 3; do
    "${as_root[@]}" apt-get update -qq && break
    [ $try -lt 3 ] || { echo "apt-get update failed three times, a minute apart" >&2; exit 1; }
    echo "apt-get update failed; trying again in a minute" >&2
    sleep 60
done
build_deps_met || "${as_root[@]}" apt-get build-dep -y -qq --no-install-recommends "${profile[@]}" "$top/" >/dev/null
[ ${#missing[@]} -eq 0 ] || "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
