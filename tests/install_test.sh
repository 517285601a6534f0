#!/usr/bin/env bash
# The installed program: cmake --install into a DESTDIR, and the Debian package
# unpacked into a scratch root, each started the way its desktop entry says.
# Usage: install_test.sh BUILD_DIR destdir|package
build=$1 case=$2
. "$(dirname "$0")/session.sh"

expect_files() {  # ROOT PREFIX: exactly the installed files, nothing else
    local root=$1 prefix=$2
    (cd "$root" && find . -type f | sed 's|^\.||' | sort) > "$tmp/files"
    printf '%s\n' bin/kalvira share/applications/kalvira.desktop \
        share/icons/hicolor/scalable/apps/kalvira.svg share/kalvira/kalvira.html |
        sed "s|^|$prefix/|" | sort | diff -u - "$tmp/files" || fail "installed files differ"
}
start_from_entry() {  # ROOT PREFIX: validate the entry, run its Exec= in its Path=,
                       # match its window class, open Help
    local root=$1 entry=$1$2/share/applications/kalvira.desktop
    desktop-file-validate "$entry" > "$tmp/validate" 2>&1 || true
    ! grep -Ei 'error|warning' "$tmp/validate" || fail "desktop entry not valid"
    local exec path
    exec=$(sed -n 's/^Exec=//p' "$entry") path=$(sed -n 's/^Path=//p' "$entry")
    [ "$exec" = "$2/bin/kalvira" ] && [ "$path" = "$2/share/kalvira" ] || fail "entry runs '$exec' in '$path'"
    cd "$root$path" && start "$root$exec"
    local class
    class=$(sed -n 's/^StartupWMClass=//p' "$entry")
    [[ $(xprop -id "$win" WM_CLASS) == *", \"$class\"" ]] || fail "window's class is not '$class'"
    open_help
    [ "$opened_title" = "kalvira help" ] || fail "help window titled '$opened_title'"
}

case $case in
destdir)
    DESTDIR=$tmp/root cmake --install "$build" --prefix /opt/kalvira > /dev/null
    expect_files "$tmp/root" /opt/kalvira
    start_from_entry "$tmp/root" /opt/kalvira ;;
package)
    (cd "$build" && cpack -B "$tmp/deb" > /dev/null)
    deb=$(ls "$tmp"/deb/kalvira_*.deb)
    depends=$(dpkg-deb -f "$deb" Depends)
    [[ $depends == *libfltk1.3* ]] || fail "Depends: $depends"
    dpkg-deb -x "$deb" "$tmp/root"
    expect_files "$tmp/root" /usr
    start_from_entry "$tmp/root" /usr ;;
*) fail "unknown case $case" ;;
esac
echo "ok: $case"
