#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Windows release as a Windows user meets it, under wine and a window
# manager on the test display: the zip's kalvira.exe, the installer with its
# shortcut and uninstaller, and the window at twice the display scaling; and
# the zip the same bytes as a second build's (windows.sh --again).
# Usage: windows_test.sh BUILD_DIR VERSION   (make test-windows)
build=$1 version=$2
. "$(dirname "$0")/session.sh"
export WINEPREFIX=$tmp/prefix WINEDEBUG=-all
release=kalvira-$version-win64 start_timeout=60

cmp "$build/$release.zip" "$build/windows/again/$release.zip" || fail "two builds of the zip differ"

# the zip, and the program in it: a GUI program needing only Windows' own DLLs, with version and icon
unzip -q "$build/$release.zip" -d "$tmp"
diff -u <(printf '%s\n' kalvira.exe kalvira-convert.exe kalvira.html README.txt LICENSE.txt licences/{FLTK,libjpeg,libpng,yaml-cpp}.txt \
              licences/mingw-w64-runtime-and-winpthreads.txt refractiveindex.info-database/{catalog-nk.yml,LICENSE} | sort) \
        <(cd "$tmp/$release" && find . -type f | sed 's|^\./||' | grep -v '^refractiveindex.info-database/data/' | sort) ||
    fail "the zip's files"
exe=$tmp/$release/kalvira.exe
x86_64-w64-mingw32-objdump -p "$exe" > "$tmp/headers"
grep -q 'Subsystem.*(Windows GUI)' "$tmp/headers" || fail "not a GUI program"
! grep 'DLL Name' "$tmp/headers" | grep -viE ' (kernel32|user32|gdi32|gdiplus|comctl32|comdlg32|ole32|shell32|ws2_32|msvcrt)\.dll$|winspool\.drv$' ||
    fail "needs DLLs beyond Windows' own"
wrestool -x --raw -t 16 "$exe" | strings -el | grep -qx "$version" || fail "no version resource with $version"
wrestool -x -t 14 "$exe" > "$tmp/kalvira.ico" && icotool -l "$tmp/kalvira.ico" | grep -q 'width=256' || fail "no icon"

wineboot -i > /dev/null 2>&1

# kalvira-convert.exe, a console program: the same bytes as the native build's, and its errors
converter=$tmp/$release/kalvira-convert.exe sample=$top/tests/data/refractiveindex/main/Au/nk/Johnson.yml
x86_64-w64-mingw32-objdump -p "$converter" > "$tmp/headers"
grep -q 'Subsystem.*(Windows CUI)' "$tmp/headers" || fail "kalvira-convert.exe is no console program"
[ -x "$build/kalvira-convert" ] || fail "no native $build/kalvira-convert to compare with: make build first"
cp "$sample" "$tmp/Johnson.yml" && (cd "$tmp" && wine "$converter" --at 587.56,632.8 Johnson.yml > "$tmp/converted.csv")
"$build/kalvira-convert" --at 587.56,632.8 "$sample" | cmp - "$tmp/converted.csv" || fail "kalvira-convert.exe differs: $(cat "$tmp/converted.csv")"
status=0 && (cd "$tmp" && wine "$converter" --at 100 Johnson.yml > /dev/null 2> "$tmp/refused") || status=$?
[ $status = 1 ] && grep -q 'Johnson.yml: 100 nm lies outside the data' "$tmp/refused" || fail "100 nm: status $status, $(cat "$tmp/refused")"
for asked in "--at 587.56 specs/SCHOTT-optical/N-BK7" "--list gold"; do  # from the database beside it
    (cd "$tmp" && wine "$converter" $asked > "$tmp/by-name.txt") && "$build/kalvira-convert" $asked | cmp - "$tmp/by-name.txt" ||
        fail "kalvira-convert.exe $asked: $(head -c 300 "$tmp/by-name.txt")"
done
window_manager
undo=(wineserver -k)
help_finds_its_page() {  # sets $help, the help window
    click Help
    help=$(timeout 30 xdotool search --sync --onlyvisible --name '^kalvira help$' | head -n 1) || fail "Help shows no page"
}

# the zip's program, started in its folder
cd "$tmp/$release" && start wine kalvira.exe
type_into UI_n_real 1.5 && type_into UI_n_imag 0.01
[ "$(field_text UI_epsilon_real)" = 2.2499 ] || fail "e' reads $(field_text UI_epsilon_real)"
help_finds_its_page
wmctrl -i -c "$help" && until_true gone "$help"
kill -0 $pid 2> /dev/null || fail "closing Help ended kalvira"
wmctrl -i -c "$win" && ends_with_zero

# the installer, for this user only: the files, the Start-menu shortcut (kalvira started in its
# folder), the entry among installed programs, and an uninstaller that leaves nothing behind
wine "$build/$release-setup.exe" /S && wineserver -w
users=$WINEPREFIX/drive_c/users/$(id -un)
installed=$users/AppData/Local/Programs/kalvira shortcut="$users/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/kalvira.lnk"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\kalvira'
diff -u <(cd "$tmp/$release" && find . -type f | sed 's|^\./||' | sort) \
        <(cd "$installed" && find . -type f ! -name uninstall.exe | sed 's|^\./||' | sort) || fail "installed files"
wine reg query "$key" > "$tmp/key" 2>&1
grep -q "DisplayVersion.*REG_SZ.*$version" "$tmp/key" && grep -q 'Publisher.*REG_SZ.*kalvira authors' "$tmp/key" ||
    fail "uninstall entry: $(cat "$tmp/key")"
cd "$tmp" && wine start /unix "$shortcut"
win=$(timeout 60 xdotool search --sync --onlyvisible --name '^kalvira' | head -n 1)
help_finds_its_page
wineserver -k && wineserver -w
wine "$installed/uninstall.exe" /S && wineserver -w
[ ! -e "$installed" ] && [ ! -e "$shortcut" ] || fail "the uninstaller left $(find "$installed" "$shortcut" 2>/dev/null)"
! wine reg query "$key" > /dev/null 2>&1 || fail "the uninstaller left the uninstall entry"

# at 200% display scaling the window is twice as large, and its numbers fit
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f > /dev/null 2>&1 && wineserver -w
cd "$tmp/$release" && start wine kalvira.exe
scale=2
read -r _ _ width height < <(place UI_window)
[ "$(xdotool getwindowgeometry "$win" | grep -o '[0-9]*x[0-9]*$')" = $((2 * width))x$((2 * height)) ] || fail "not twice the size at 192 DPI"
type_into UI_epsilon_real 3 && type_into UI_epsilon_imag -4
[[ $(field_text UI_K) =~ ^-9\.929[0-9]*e\+06$ ]] || fail "K reads $(field_text UI_K) for -9.92918e+06"
import -window "$win" "$build/windows-192dpi.png"
wmctrl -i -c "$win" && ends_with_zero
echo "ok: windows"
