#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Configures kalvira's build in BUILD_DIR with the compiler and linker flags
# the Debian package is built with: dpkg-buildflags under the maintainer
# options that debian/rules sets (hardening), for the architecture that
# DEB_HOST_ARCH names, else this machine's.
# Usage: configure.sh BUILD_DIR [CMAKE_ARGUMENTS...]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
DEB_BUILD_MAINT_OPTIONS=$(sed -n 's/^export DEB_BUILD_MAINT_OPTIONS *= *//p' "$top/debian/rules")
export DEB_BUILD_MAINT_OPTIONS
dir=$1 && shift
exec cmake -S "$top" -B "$dir" -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" "$@"
