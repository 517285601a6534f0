#!/usr/bin/env bash
# The real binary as a process: arguments, the ways it ends, a German locale.
# Usage: process_test.sh KALVIRA WM_CLOSE CASE
set -euo pipefail
kalvira=$1 wm_close=$2 case=$3
docdir=$(cd "$(dirname "$0")/../doc" && pwd)
tmp=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill $pid 2>/dev/null; rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

start() {  # start kalvira with the given arguments, set $pid and $win
    "$kalvira" "$@" & pid=$!
    win=$(timeout 10 xdotool search --sync --onlyvisible --name '^kalvira' | head -n 1)
    [ -n "$win" ] || fail "no window"
    sleep 0.2
}
ends_with_zero() {
    local status=0
    timeout 5 tail --pid=$pid -f /dev/null || fail "still running"
    wait $pid || status=$?
    pid=
    [ $status -eq 0 ] || fail "exit status $status"
}
field_text() {  # click at window coordinates X Y, copy the field's text
    xdotool mousemove --window "$win" "$1" "$2" click 1 key ctrl+a ctrl+c
    sleep 0.1
    xclip -o -selection clipboard
}

case $case in
arguments)
    start && import -window "$win" "$tmp/plain.png" && kill $pid && wait $pid || true
    start -geometry 400x400 -fg red --bogus
    import -window "$win" "$tmp/args.png"
    geometry=$(xwininfo -id "$win" | awk '/Width|Height/ {printf "%s ", $2}')
    [ "$geometry" = "231 171 " ] || fail "size $geometry"
    diff=$(compare -metric AE "$tmp/plain.png" "$tmp/args.png" null: 2>&1 || true)
    [ "$diff" = 0 ] || fail "window differs by $diff pixels" ;;
escape)
    start && xdotool mousemove --window "$win" 5 160 key Escape && ends_with_zero ;;
close)
    start && "$wm_close" "$win" && ends_with_zero ;;
locale)
    localedef -i de_DE -f UTF-8 "$tmp/de_DE.UTF-8" 2>/dev/null || true
    export LOCPATH=$tmp LC_ALL=de_DE.UTF-8
    [ "$(/usr/bin/printf '%.1f' 1.5 2>/dev/null)" = "1,5" ] || fail "German locale not in effect"
    start
    xdotool mousemove --window "$win" 70 47 click 1 key ctrl+a type 1.5
    [ "$(field_text 70 92)" = 2.25 ] || fail "e' reads $(field_text 70 92)"
    [ "$(field_text 180 137)" = 632.8 ] || fail "lambda reads $(field_text 180 137)" ;;
help_three_times)
    cd "$docdir" && start
    for _ in 1 2 3; do
        xdotool mousemove --window "$win" 55 12 click 1 && sleep 0.5
        xdotool search --onlyvisible --name '^kalvira help$' | xargs -r -n1 -I{} xdotool windowmove {} 300 0
    done
    count=$(xdotool search --onlyvisible --name '^kalvira help$' | wc -l)
    [ "$count" = 3 ] || fail "$count help windows" ;;
help_without_page)
    cd "$tmp" && start
    xdotool mousemove --window "$win" 55 12 click 1 && sleep 0.5
    [ -z "$(xdotool search --onlyvisible --name '^kalvira help$')" ] || fail "page found"
    errors=$(xdotool search --onlyvisible --name '^Error$')
    [ "$(echo "$errors" | grep -c .)" = 1 ] || fail "not one error window: '$errors'"
    xdotool windowmove "$errors" 300 0
    xdotool mousemove --window "$win" 70 47 click 1 key ctrl+a type 2
    [ "$(field_text 70 92)" = 4 ] || fail "main window stopped working" ;;
quit_with_help_open)
    cd "$docdir" && start
    xdotool mousemove --window "$win" 55 12 click 1 && sleep 0.5
    help=$(xdotool search --onlyvisible --name '^kalvira help$' | head -n 1)
    xdotool windowmove "$help" 300 0 && sleep 0.2
    xdotool mousemove --window "$win" 18 12 click 1 && sleep 0.5
    kill -0 $pid 2>/dev/null || fail "ended with a help window open"
    "$wm_close" "$help" && ends_with_zero ;;
menu_letters_do_nothing)
    cd "$docdir" && start
    xdotool mousemove --window "$win" 5 160 key alt+q alt+h alt+a q h a && sleep 0.5
    windows=$(xdotool search --onlyvisible --maxdepth 1 --name '' | wc -l)
    kill -0 $pid 2>/dev/null || fail "a key ended the program"
    [ "$windows" -le 2 ] || fail "a key opened a window" ;;
about_is_modal)
    start
    xdotool mousemove --window "$win" 100 12 click 1 && sleep 0.5
    box=$(xdotool search --onlyvisible --maxdepth 1 --name '' | grep -v "^$win\$" | tail -n 1)
    [ -n "$box" ] || fail "no About box"
    xdotool windowmove "$box" 300 0 && sleep 0.2
    xdotool mousemove --window "$win" 70 47 click 1 key ctrl+a type 7
    xdotool mousemove --window "$box" 20 20 key Return && sleep 0.3
    [ "$(field_text 70 92)" = 1 ] || fail "typing reached the main window"
    [ "$(field_text 70 47)" = 1 ] || fail "n' changed" ;;
*) fail "unknown case $case" ;;
esac
echo "ok: $case"
