#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The real binary as a process: arguments, the ways it ends, a German locale.
# Usage: process_test.sh KALVIRA WM_CLOSE CASE
kalvira=$1 wm_close=$2 case=$3
docdir=$(cd "$(dirname "$0")/../doc" && pwd)
. "$(dirname "$0")/session.sh"

case $case in
arguments)
    start "$kalvira" && import -window "$win" "$tmp/plain.png" && kill $pid && wait $pid || true
    start "$kalvira" -geometry 400x400 -fg red --bogus
    import -window "$win" "$tmp/args.png"
    geometry=$(xwininfo -id "$win" | awk '/Width|Height/ {printf "%s ", $2}')
    [ "$geometry" = "231 171 " ] || fail "size $geometry"
    diff=$(compare -metric AE "$tmp/plain.png" "$tmp/args.png" null: 2>&1 || true)
    [ "$diff" = 0 ] || fail "window differs by $diff pixels" ;;
escape)
    start "$kalvira" && xdotool mousemove --window "$win" 5 160 key Escape && ends_with_zero ;;
close)
    start "$kalvira" && "$wm_close" "$win" && ends_with_zero ;;
locale)
    localedef -i de_DE -f UTF-8 "$tmp/de_DE.UTF-8" 2>/dev/null || true
    export LOCPATH=$tmp LC_ALL=de_DE.UTF-8
    [ "$(/usr/bin/printf '%.1f' 1.5 2>/dev/null)" = "1,5" ] || fail "German locale not in effect"
    start "$kalvira"
    xdotool mousemove --window "$win" 70 47 click 1 key ctrl+a type 1.5
    [ "$(field_text 70 92)" = 2.25 ] || fail "e' reads $(field_text 70 92)"
    [ "$(field_text 180 137)" = 632.8 ] || fail "lambda reads $(field_text 180 137)" ;;
help_three_times)
    cd "$docdir" && start "$kalvira"
    for _ in 1 2 3; do
        xdotool mousemove --window "$win" 55 12 click 1 && sleep 0.5
        xdotool search --onlyvisible --name '^kalvira help$' | xargs -r -n1 -I{} xdotool windowmove {} 300 0
    done
    count=$(xdotool search --onlyvisible --name '^kalvira help$' | wc -l)
    [ "$count" = 3 ] || fail "$count help windows" ;;
help_without_page)
    cd "$tmp" && start "$kalvira" && open_help
    [ "$opened_title" = Error ] || fail "help window titled '$opened_title'"
    errors=$(xdotool search --onlyvisible --name '^Error$' | wc -l)
    [ "$errors" = 1 ] || fail "$errors error windows"
    xdotool mousemove --window "$win" 70 47 click 1 key ctrl+a type 2
    [ "$(field_text 70 92)" = 4 ] || fail "main window stopped working" ;;
quit_with_help_open)
    cd "$docdir" && start "$kalvira" && open_help
    [ "$opened_title" = "kalvira help" ] || fail "help window titled '$opened_title'"
    xdotool mousemove --window "$win" 18 12 click 1 && sleep 0.5
    kill -0 $pid 2>/dev/null || fail "ended with a help window open"
    "$wm_close" "$opened" && ends_with_zero ;;
menu_letters_do_nothing)
    cd "$docdir" && start "$kalvira"
    xdotool mousemove --window "$win" 5 160 key alt+q alt+h alt+a q h a && sleep 0.5
    windows=$(xdotool search --onlyvisible --maxdepth 1 --name '' | wc -l)
    kill -0 $pid 2>/dev/null || fail "a key ended the program"
    [ "$windows" -le 2 ] || fail "a key opened a window" ;;
about_is_modal)
    start "$kalvira"
    open_from_menu 100
    xdotool mousemove --window "$win" 70 47 click 1 key ctrl+a type 7
    xdotool mousemove --window "$opened" 20 20 key Return && sleep 0.3
    [ "$(field_text 70 92)" = 1 ] || fail "typing reached the main window"
    [ "$(field_text 70 47)" = 1 ] || fail "n' changed" ;;
*) fail "unknown case $case" ;;
esac
echo "ok: $case"
