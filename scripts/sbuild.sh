#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package of the committed tree for a release as Debian's
# build machines do: with sbuild, for unstable as debian/changelog says, in a
# clean chroot of that release, taking
# only the first alternative of each Build-Depends, its tests on a virtual
# display of the chroot's own, then that release's lintian.  Debian 12 has no
# FLTK 1.4, the first alternative: there, and only there, sbuild takes the
# first alternative that can be installed, which Debian's builders would not.
# sbuild's unshare mode needs no root: user namespaces, and subordinate ids
# for the user in /etc/subuid and /etc/subgid (deps.sh adds root's).
# The chroot, a tarball made by mmdebstrap with the build dependencies and
# lintian installed, is kept as CHROOTS/RELEASE.tar between runs and clones,
# and made anew when debian/control changes; the packages and the build's log
# are left in OUT/chroot/RELEASE/.
# Usage: sbuild.sh RELEASE [OUT]   (bookworm, trixie or sid; OUT: build/)
# CHROOTS: KALVIRA_CHROOTS, or ~/.cache/kalvira/chroots
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
release=$1 out=$(mkdir -p "${2:-$top/build}/chroot" && cd "${2:-$top/build}/chroot" && pwd)
chroots=${KALVIRA_CHROOTS:-${XDG_CACHE_HOME:-$HOME/.cache}/kalvira/chroots}
tarball=$chroots/$release.tar stamp=$chroots/$release.control  # the debian/control it was made for
mkdir -p "$chroots"

# From the archive this machine uses, whose index for unstable can be past its
# Valid-Until date.
if ! cmp -s "$top/debian/control" "$stamp" || [ ! -s "$tarball" ] || [ ! -s "$chroots/$release.lintian" ]; then
    echo "Making the $release chroot"
    mirror=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/*.sources 2>/dev/null | head -n 1)
    mmdebstrap --quiet --mode=unshare --variant=buildd --include=lintian \
        --aptopt='Acquire::Check-Valid-Until "false"' --aptopt='APT::Install-Recommends "false"' \
        --customize-hook='mkdir "$1/tmp/kalvira"' --customize-hook="copy-in $top/debian $top/scripts/package.sh /tmp/kalvira" \
        --customize-hook='chroot "$1" env DEBIAN_FRONTEND=noninteractive apt-get build-dep -y -qq /tmp/kalvira > /dev/null' \
        --customize-hook='chroot "$1" bash /tmp/kalvira/package.sh --lintian-options > "$1/tmp/lintian-options"' \
        --customize-hook="download /tmp/lintian-options $chroots/$release.lintian" \
        --customize-hook='rm -rf "$1/tmp/kalvira" "$1/tmp/lintian-options"' \
        "$release" "$chroots/$release.new.tar" "${mirror:-http://deb.debian.org/debian}"
    mv "$chroots/$release.new.tar" "$tarball" && cp "$top/debian/control" "$stamp"
fi

work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
"$top/scripts/package.sh" --source "$work" > /dev/null
alternatives=() && [ "$release" != bookworm ] || alternatives=(--resolve-alternatives)
echo '$lintian_require_success = 1; 1;' > "$work/sbuild.conf"  # lintian's findings fail the build
if ! (cd "$work/package" && SBUILD_CONFIG=$work/sbuild.conf sbuild --chroot-mode=unshare --chroot="$tarball" \
        --dist=unstable "${alternatives[@]}" --no-apt-upgrade --no-apt-distupgrade --no-run-piuparts --no-run-autopkgtest \
        --run-lintian --lintian-opts="$(cat "$chroots/$release.lintian")" --nolog ./*.dsc) > "$work/sbuild.log" 2>&1; then
    cat "$work/sbuild.log" >&2
    echo "sbuild failed for $release; its log is above" >&2
    exit 1
fi
rm -rf "${out:?}/$release" && mkdir -p "$out/$release"
cp "$work"/package/*.{deb,dsc,changes,buildinfo,debian.tar.xz,orig.tar.xz} "$work/sbuild.log" "$out/$release/"
echo "$release: built, tested and lintian-clean: $out/$release/"
