#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages that are missing for a purpose:
#   run      build and run kalvira (and a virtual display when there is none)
#   package  build and check the Debian package
#   test     the tests, the package's among them
#   bench    the benchmark, which shares the tests' helpers
# Usage: deps.sh [run|package|test|bench]
set -euo pipefail

build=(cmake make g++ dpkg-dev libfltk1.3-dev fluid librsvg2-bin fonts-urw-base35)
headless=(xvfb x11-utils xdotool imagemagick)
package=(debhelper lintian appstream appstream-compose desktop-file-utils man-db)
tests=(libgtest-dev libxtst-dev xclip locales fonts-dejavu-core)

case ${1:-run} in
run)     packages=("${build[@]}"); [ -n "${DISPLAY:-}" ] || packages+=("${headless[@]}") ;;
package) packages=("${build[@]}" "${package[@]}") ;;
test)    packages=("${build[@]}" "${headless[@]}" "${package[@]}" "${tests[@]}") ;;
bench)   packages=("${build[@]}" "${headless[@]}" "${tests[@]}" x11-apps) ;;
*)       echo "usage: $0 [run|package|test|bench]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
    as_root=(sudo)
else
    echo "Cannot install as root (no root, no sudo). Please install: ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
