#!/usr/bin/env bash
# Installs the Debian packages kalvira needs to build, test and run, if any are missing.
set -euo pipefail

packages=(cmake make g++ libfltk1.3-dev fluid fonts-urw-base35 libgtest-dev libxtst-dev
          xvfb xdotool x11-utils xclip imagemagick desktop-file-utils locales dpkg-dev)
[ "${1:-}" = bench ] && packages+=(x11-apps)

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
