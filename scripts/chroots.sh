# SPDX-License-Identifier: MIT
# Sourced by the scripts that build in clean chroots: where their tarballs are
# kept between runs and clones, and how mmdebstrap makes one.  mmdebstrap's
# unshare mode needs no root: user namespaces, and subordinate ids for the user
# in /etc/subuid and /etc/subgid (deps.sh adds root's).
# CHROOTS: KALVIRA_CHROOTS, or ~/.cache/kalvira/chroots
chroots=${KALVIRA_CHROOTS:-${XDG_CACHE_HOME:-$HOME/.cache}/kalvira/chroots}
mkdir -p "$chroots"

# make_tarball TARBALL SUITE [MMDEBSTRAP_OPTION...]
# From the archive this machine uses, the suite alone (no updates, no security
# suite); its index for unstable can be past its Valid-Until date.  Made beside
# TARBALL and moved there once whole, so that a run cut short leaves no half.
make_tarball() {
    local tarball=$1 suite=$2 mirror
    shift 2
    mirror=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/*.sources 2>/dev/null | head -n 1)
    mmdebstrap --quiet --mode=unshare --aptopt='Acquire::Check-Valid-Until "false"' \
        --aptopt='APT::Install-Recommends "false"' "$@" \
        "$suite" "${tarball%.tar}.new.tar" "${mirror:-http://deb.debian.org/debian}"
    mv "${tarball%.tar}.new.tar" "$tarball"
}
