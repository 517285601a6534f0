#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds yaml-cpp where kalvira-convert needs one that Debian does not install
# beside the build machine's: for the Windows release and for the other
# architectures.  From the Debian source package of the yaml-cpp installed
# here (apt-get source, through a list of source archives of its own made
# from this machine's, so that the machine's apt setup is left as it is),
# kept in ~/.cache/kalvira/sources; static, without tests or tools, into
# PREFIX; built again only when the source or the arguments change.
# Usage: yaml-cpp.sh PREFIX [CMAKE_ARGUMENTS...]   (then -Dyaml-cpp_DIR=PREFIX/...)
set -euo pipefail
prefix=$1 && shift
cache=${XDG_CACHE_HOME:-$HOME/.cache}/kalvira/sources
version=$(dpkg-query -W -f '${source:Version}' libyaml-cpp-dev)
dsc=$cache/yaml-cpp_${version#*:}.dsc
mkdir -p "$cache" "$prefix" && prefix=$(cd "$prefix" && pwd)
stamp="$version $*"
[ "$(cat "$prefix/source" 2>/dev/null)" != "$stamp" ] || exit 0

if [ ! -s "$dsc" ]; then
    apt_dir=$cache/apt
    mkdir -p "$apt_dir/parts" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
    for list in /etc/apt/sources.list.d/*.sources; do
        [ -e "$list" ] && sed 's/^Types:.*/Types: deb-src/' "$list" > "$apt_dir/parts/$(basename "$list")"
    done
    [ ! -e /etc/apt/sources.list ] || sed -n 's/^deb /deb-src /p' /etc/apt/sources.list > "$apt_dir/parts/sources.list"
    apt=(apt-get -qq -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$apt_dir/parts"
         -o Dir::State::Lists="$apt_dir/lists" -o Dir::Cache="$apt_dir/cache" -o APT::Sandbox::User="$(id -un)")
    "${apt[@]}" update
    (cd "$cache" && "${apt[@]}" source --download-only "yaml-cpp=$version")
fi

echo "Building yaml-cpp $version into $prefix"
work=$prefix.work
rm -rf "$work" && mkdir -p "$work"
find "$prefix" -mindepth 1 -delete
dpkg-source --no-check -x "$dsc" "$work/source" > /dev/null
{
    cmake -S "$work/source" -B "$work/build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DYAML_BUILD_SHARED_LIBS=OFF -DYAML_CPP_BUILD_TESTS=OFF -DYAML_CPP_BUILD_TOOLS=OFF -DYAML_CPP_BUILD_CONTRIB=OFF "$@" &&
        cmake --build "$work/build" -j"$(nproc)" && cmake --install "$work/build"
} > "$work/log" 2>&1 || { tail -n 30 "$work/log"; echo "yaml-cpp's build failed; its log: $work/log" >&2; exit 1; }
mkdir -p "$prefix/licences" && cp "$work/source/LICENSE" "$prefix/licences/yaml-cpp.txt"
echo "$stamp" > "$prefix/source"
rm -rf "$work"
