#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The real program as a process on the test display, as built and installed
# into a prefix.  Usage: process_test.sh BUILD_DIR VERSION DESKTOP_ID CASE
# UPDATE_SCREENSHOT=1 makes the picture case redraw doc/kalvira.png first.
build=$1 version=$2 id=$3 case=$4
kalvira=$build/kalvira
. "$(dirname "$0")/session.sh"

drawn_as_committed() {  # the README's picture, pixel for pixel
    import -window "$win" "$tmp/window.png" && compare -metric AE "$top/doc/kalvira.png" "$tmp/window.png" null: 2>/dev/null
}
close() { wmctrl -i -c "$1" && until_true gone "$1"; }

# only the fonts that a minimal system with the package has
printf '<fontconfig>%s<include>/etc/fonts/conf.d</include><cachedir>%s</cachedir></fontconfig>\n' "$(dpkg -L \
    fonts-dejavu-core fonts-urw-base35 | grep -E '\.(ttf|otf|t1)$' | xargs -n1 dirname | sort -u | sed 's|.*|<dir>&</dir>|')" \
    "$tmp/fontcache" > "$tmp/fonts.conf"
export FONTCONFIG_FILE=$tmp/fonts.conf
case $case in
window|picture)  # whatever the arguments and the locale (numbers read and shown with a point),
         # of a fixed size, and ended by Escape with status 0; picture: drawn as in the
         # README, pixel for pixel, which holds only for the fonts and FreeType it was drawn with
    localedef -i de_DE -f UTF-8 "$tmp/de_DE.UTF-8" 2>/dev/null || true
    export LOCPATH=$tmp LC_ALL=de_DE.UTF-8
    [ "$(/usr/bin/printf '%.1f' 1.5 2>/dev/null)" = "1,5" ] || fail "German locale not in effect"
    start "$kalvira" -geometry 400x400 -fg red --bogus
    if [ "$case" = picture ] && [ "$(. /etc/os-release && echo "$ID $VERSION_ID")" != "debian 12" ]; then
        echo "skipped: the picture was drawn with Debian 12's fonts, FreeType and FLTK 1.3"; exit 77
    elif [ "$case" = picture ]; then
        [ -z "${UPDATE_SCREENSHOT:-}" ] || { sleep 1; import -window "$win" "$top/doc/kalvira.png"; }
        until_true drawn_as_committed || { cp "$tmp/window.png" "$build/window-differs.png"; fail "window differs: $build/window-differs.png"; }
    fi
    type_into UI_n_real 1.5 && [ "$(field_text UI_epsilon_real)" = 2.25 ] || fail "1.5 squared reads $(field_text UI_epsilon_real)"
    read -r _ _ width height < <(place UI_window)
    [[ $(xprop -id "$win" WM_NORMAL_HINTS) == *"minimum size: $width by $height"*"maximum size: $width by $height"* ]] ||
        fail "the window can be resized"
    xdotool mousemove --window "$win" 5 160 key Escape && ends_with_zero
    for factor in 0 -2 11; do  # the toolkit would show no window or a huge one: ignored, with a word
        FLTK_SCALING_FACTOR=$factor start "$kalvira" 2> "$tmp/stderr"
        [[ $(xwininfo -id "$win") == *"Width: $width"*"Height: $height"* ]] &&
            grep -q "^kalvira: FLTK_SCALING_FACTOR=$factor ignored" "$tmp/stderr" || fail "factor $factor not ignored, or silently"
        xdotool mousemove --window "$win" 5 160 key Escape && ends_with_zero
    done ;;
help)  # a new window each time; after Quit it runs until the last one is closed with
       # the window manager's close control, then ends with status 0
    window_manager && cd "$top/doc" && start "$kalvira"
    helps=()
    for _ in 1 2 3; do
        open_from_menu Help && helps+=("$opened")
        [ "$opened_title" = "kalvira help" ] || fail "help window titled '$opened_title'"
    done
    [ "$(printf '%s\n' "${helps[@]}" | sort -u | wc -l)" = 3 ] || fail "Help reused a window"
    click Quit && until_true gone "$win"
    for w in "${helps[@]}"; do
        kill -0 $pid 2>/dev/null || fail "ended with a help window open"
        close "$w"
    done
    ends_with_zero ;;
menus)  # no keyboard shortcuts; About is modal; Help without the page shows one error window
    cd "$tmp" && start "$kalvira"
    xdotool mousemove --window "$win" 5 160 key alt+q alt+h alt+a q h a
    type_into UI_n_real 3 && [ "$(field_text UI_epsilon_real)" = 9 ] || fail "the keys were not handled"
    [ "$(windows | grep -vc "^$win\$")" = 0 ] || fail "a key opened a window"
    open_from_menu About && type_into UI_n_real 7
    [ "$opened_title" = "About kalvira" ] || fail "About titled '$opened_title'"
    xdotool mousemove --window "$opened" 20 20 key Return && until_true gone "$opened"
    [ "$(field_text UI_epsilon_real)" = 9 ] || fail "typing reached the main window under About"
    open_from_menu Help
    [ "$opened_title" = Error ] || fail "help window titled '$opened_title'"
    [ "$(xdotool search --onlyvisible --name '^Error$' | wc -l)" = 1 ] || fail "more than one error window"
    type_into UI_n_real 2
    [ "$(field_text UI_epsilon_real)" = 4 ] || fail "the converter stopped working" ;;
prefix)  # installed from source; the entry's command, from an unrelated folder, keeps its
         # process (Help's window is found by it), answers --version and --help, carries
         # the icon, opens Help and ends with 0
    cmake --install "$build" --prefix "$tmp/prefix" > /dev/null
    printf '%s\n' bin/kalvira bin/kalvira-convert libexec/kalvira/$id share/kalvira/kalvira.html share/man/man1/kalvira{,-convert}.1 \
        share/bash-completion/completions/kalvira-convert share/kalvira/refractiveindex.info-database/{catalog-nk.yml,LICENSE} \
        share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
        share/icons/hicolor/scalable/apps/kalvira.svg share/icons/hicolor/{32x32,48x48,64x64,128x128,256x256}/apps/kalvira.png |
        sort | diff -u - <(cd "$tmp/prefix" && find . -type f | sed 's|^\./||' | grep -v '/refractiveindex.info-database/data/' | sort) ||
        fail "installed files differ"
    entry=$tmp/prefix/share/applications/$id.desktop command=$tmp/prefix/bin/kalvira
    [ "$(sed -n 's/^Exec=//p' "$entry")" = "$command" ] || fail "entry runs $(grep ^Exec= "$entry")"
    [ "$("$command" --version)" = "kalvira $version" ] && [ "$("$command" --help | wc -l)" = 4 ] ||
        fail "--version or --help"
    window_manager && mkdir -p "$tmp/elsewhere" && cd "$tmp/elsewhere" && start "$command"
    open_from_menu Help
    [ "$opened_title" = "kalvira help" ] || fail "help window titled '$opened_title'"
    for w in "$win" "$opened"; do  # the entry's id (Wayland's app_id too) and its StartupWMClass
        [ "$(xprop -id "$w" WM_CLASS)" = "WM_CLASS(STRING) = \"$(basename "$entry" .desktop)\", \"$(sed -n \
            's/^StartupWMClass=//p' "$entry")\"" ] || fail "window $w's class does not match the entry"
    done
    for w in "$win" "$opened"; do
        [ "$(xprop -id "$w" _NET_WM_ICON | grep -c 'Icon (')" = 2 ] || fail "window $w has no icons"
    done
    close "$opened" && close "$win" && ends_with_zero ;;
*) fail "unknown case $case" ;;
esac
echo "ok: $case"
