# Shared by the process tests: start kalvira on the test display, read its
# fields, see how it ends.  Sourced; sets $tmp, $pid and $win.
set -euo pipefail
tmp=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill $pid 2>/dev/null; rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

start() {  # start the program given as $1 with the remaining arguments
    "$@" & pid=$!
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
open_from_menu() {  # click the menu bar at X, move the new window aside; sets $opened, $opened_title
    xdotool mousemove --window "$win" "$1" 12 click 1 && sleep 0.5
    opened=$(xdotool search --onlyvisible --maxdepth 1 --name '' | grep -v "^$win\$" | tail -n 1)
    [ -n "$opened" ] || fail "no window opened"
    xdotool windowmove "$opened" 300 0 && sleep 0.2
    opened_title=$(xdotool getwindowname "$opened")
}
open_help() { open_from_menu 55; }
