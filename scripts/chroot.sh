# SPDX-License-Identifier: MIT
# Sourced by chroot-build.sh and wayland.sh: clean chroots made by mmdebstrap,
# kept as tarballs between runs and clones in $chroots (KALVIRA_CHROOTS, or
# ~/.cache/kalvira/chroots), and one unpacked for a run.
chroots=${KALVIRA_CHROOTS:-${XDG_CACHE_HOME:-$HOME/.cache}/kalvira/chroots}
mkdir -p "$chroots"

# RELEASE TARBALL MMDEBSTRAP_OPTIONS...: from the archive this machine uses,
# whose index for unstable can be past its Valid-Until date.
make_chroot() {
    local release=$1 tarball=$2 mirror && shift 2
    mirror=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/*.sources 2>/dev/null | head -n 1)
    mmdebstrap --quiet --aptopt='Acquire::Check-Valid-Until "false"' --aptopt='APT::Install-Recommends "false"' \
        "$@" "$release" "${tarball%.tar}.new.tar" "${mirror:-http://deb.debian.org/debian}"
    mv "${tarball%.tar}.new.tar" "$tarball"
}

# TARBALL DIR: unpacked into $root, a new folder in DIR, with /proc, /sys and
# /dev bound; all undone when the script exits.
unpack_chroot() {
    root=$(mktemp -d "$2/root.XXXXXX") && mounted=()
    trap 'for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}"; done; rm -rf --one-file-system "$root"' EXIT
    tar -C "$root" -xf "$1"
    for fs in proc sys dev dev/pts; do
        mount --bind "/$fs" "$root/$fs" && mounted+=("$root/$fs")
    done
}
