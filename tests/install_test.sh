#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The installed program: from source into a prefix, and as the Debian package,
# each started the way its desktop entry says from a folder without the page.
# Usage: install_test.sh BUILD_DIR VERSION WM_CLOSE prefix|package
build=$1 version=$2 wm_close=$3 case=$4
top=$(cd "$(dirname "$0")/.." && pwd)
. "$(dirname "$0")/session.sh"

expect_files() {  # ROOT PREFIX [EXTRA...]: exactly these files below ROOT, in PREFIX (relative)
    local root=$1 prefix=$2
    shift 2
    (cd "$root" && find . -type f | sed 's|^\./||' | sort) > "$tmp/files"
    { printf '%s\n' bin/kalvira libexec/kalvira/kalvira share/kalvira/kalvira.html \
          share/applications/org.kalvira.kalvira.desktop share/metainfo/org.kalvira.kalvira.metainfo.xml \
          share/icons/hicolor/scalable/apps/kalvira.svg "$@"
      for size in 32 48 64 128 256; do echo "share/icons/hicolor/${size}x$size/apps/kalvira.png"; done
    } | sed "s|^|${prefix:+$prefix/}|" | sort | diff -u - "$tmp/files" || fail "installed files differ"
}
check_metadata() {  # ROOT PREFIX: the entry and the metainfo validate without a remark
    local share=$1$2/share
    desktop-file-validate "$share/applications/org.kalvira.kalvira.desktop" 2>&1 | grep . && fail "desktop entry"
    appstreamcli validate --no-net --pedantic "$share/metainfo/org.kalvira.kalvira.metainfo.xml" > "$tmp/as" 2>&1 ||
        { cat "$tmp/as"; fail "metainfo not valid"; }
    ! grep -E '^[EWIP]:' "$tmp/as" || fail "metainfo has remarks"
}
run_from_anywhere() {  # PREFIX: the entry's command, started from an unrelated folder,
                        # keeps its process, shows the icon, opens the help page and ends with 0
    local entry=$1/share/applications/org.kalvira.kalvira.desktop
    [ "$(sed -n 's/^Exec=//p' "$entry")" = "$1/bin/kalvira" ] || fail "entry runs $(grep ^Exec= "$entry")"
    mkdir -p "$tmp/elsewhere" && cd "$tmp/elsewhere" && start "$1/bin/kalvira"
    [ "$(xprop -id "$win" _NET_WM_PID)" = "_NET_WM_PID(CARDINAL) = $pid" ] || fail "the launcher did not exec"
    [[ $(xprop -id "$win" WM_CLASS) == *", \"$(sed -n 's/^StartupWMClass=//p' "$entry")\"" ]] ||
        fail "window's class does not match the entry"
    open_help
    [ "$opened_title" = "kalvira help" ] || fail "help window titled '$opened_title'"
    for w in "$win" "$opened"; do
        [ "$(xprop -id "$w" _NET_WM_ICON | grep -c 'Icon (')" = 2 ] || fail "window $w has no icons"
    done
    "$wm_close" "$opened" && "$wm_close" "$win" && ends_with_zero
}

case $case in
prefix)
    cmake --install "$build" --prefix "$tmp/prefix" > /dev/null
    expect_files "$tmp/prefix" "" share/man/man1/kalvira.1
    check_metadata "" "$tmp/prefix"
    run_from_anywhere "$tmp/prefix" ;;
package)
    "$top/scripts/package.sh" "$tmp/out" > "$tmp/log" 2>&1 || { cat "$tmp/log"; fail "package build or lintian"; }
    deb=$tmp/out/kalvira_${version}_$(dpkg --print-architecture).deb
    [ -f "$deb" ] || fail "no $deb: the changelog's version is not $version"
    depends=$(dpkg-deb -f "$deb" Depends)
    [[ $depends == *libfltk1.3* ]] && [[ $depends == *fonts-urw-base35* ]] || fail "Depends: $depends"
    dpkg-deb -x "$deb" "$tmp/root"
    expect_files "$tmp/root" usr share/man/man1/kalvira.1.gz share/doc/kalvira/changelog.gz \
        share/doc/kalvira/copyright share/lintian/overrides/kalvira
    readelf -d "$tmp/root/usr/libexec/kalvira/kalvira" | grep -q BIND_NOW || fail "not linked with BIND_NOW"
    zgrep -q "^\.TH KALVIRA 1 .* \"kalvira $version\"" "$tmp/root/usr/share/man/man1/kalvira.1.gz" ||
        fail "manual page not of version $version"
    grep -q "<release version=\"$version\"" "$tmp/root/usr/share/metainfo/org.kalvira.kalvira.metainfo.xml" ||
        fail "metainfo has no release $version"
    check_metadata "$tmp/root" /usr
    appstreamcli compose --no-net --origin=kalvira --result-root="$tmp/catalogue" "$tmp/root" > /dev/null
    zgrep -q '<icon type="cached" width="64" height="64">org.kalvira.kalvira.png</icon>' \
        "$tmp"/catalogue/usr/share/swcatalog/xml/kalvira.xml.gz || fail "not in the catalogue with its icon"
    # the Greek labels with only the fonts the package pulls in (through fontconfig, DejaVu)
    only_fonts fonts-dejavu-core $(grep -o 'fonts-[a-z0-9-]*' <<<"$depends")
    cd "$tmp/root/usr/share/kalvira" && start "$tmp/root/usr/libexec/kalvira/kalvira"
    looks_as_committed
    kill $pid && wait $pid || true
    pid=
    unset FONTCONFIG_FILE
    if [ "$(id -u)" != 0 ] || dpkg-query -W kalvira > /dev/null 2>&1; then
        echo "not root, or kalvira already installed: the package is not installed for real"
    else
        undo=(sh -c 'apt-get purge -y -qq kalvira > /dev/null')
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" > /dev/null 2>&1 || fail "apt-get install"
        [ "$(man -w kalvira)" = /usr/share/man/man1/kalvira.1.gz ] || fail "man does not find the page"
        run_from_anywhere /usr
    fi ;;
*) fail "unknown case $case" ;;
esac
echo "ok: $case"
