# SPDX-License-Identifier: MIT
# Sourced by the shell tests and the autopkgtest: a private temporary folder,
# clean-up whatever happens, and a user's dealings with kalvira's windows.  Places
# are named (UI_n_real, Help) as in tests/window.layout, the window as designed, at $scale.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
tmp=$(mktemp -d) pid= wm= undo=()  # undo: a command to run at the end, whatever happens
trap 'set +e; [ -n "$pid" ] && { pkill -P $pid; kill $pid; } 2>/dev/null; [ ${#undo[@]} -eq 0 ] || "${undo[@]}"
      [ -z "$wm" ] || kill $wm; rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

until_true() {  # COMMAND...: until it succeeds, for 10 s at most
    for _ in $(seq 200); do "$@" && return; sleep 0.05; done
    return 1
}
gone() { ! xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }
windows() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null | sort; }  # the program's, shown
window_manager() {  # started, for the close controls a user has (wmctrl -i -c WINDOW)
    openbox --startup "touch $tmp/managing" > /dev/null 2>&1 & wm=$!
    until_true test -e "$tmp/managing" || fail "no window manager"
}

place() {  # NAME: "X Y W H", where the window as designed has it
    awk -v name="$1" '$1 == name { print $3, $4, $5, $6; found = 1; exit } END { exit !found }' "$top/tests/window.layout"
}
label() {  # NAME: its label as designed
    awk -F '"' -v name="$1" '{ split($1, field, " ") } field[1] == name { print $2; exit }' "$top/tests/window.layout"
}
at() {  # NAME: "X Y", its middle in the window, at $scale
    local where && where=$(place "$1") || fail "no $1 in tests/window.layout"
    awk -v s="${scale:-1}" '{ printf "%d %d\n", ($1 + $3 / 2) * s, ($2 + $4 / 2) * s }' <<< "$where"
}
click() { local xy && xy=$(at "$1") || exit 1; xdotool mousemove --window "$win" $xy click 1; }

start() {  # the program given as $1 with the remaining arguments; sets $pid, $win, at the top left
    "$@" & pid=$!
    win=$(timeout "${start_timeout:-10}" xdotool search --sync --onlyvisible --name '^kalvira' | head -n 1)
    [ -n "$win" ] || fail "no window"
    xdotool windowmove --sync "$win" 0 0
}
ends_with_zero() {  # [WHAT ended it]: the program, with status 0
    timeout 10 tail --pid=$pid -f /dev/null || fail "${1:+$1: }still running"
    wait $pid && pid= || fail "${1:+$1: }exit status $?"
}
open_from_menu() {  # ITEM: sets $opened, the window it opens, moved aside, and $opened_title
    local before
    before=$(windows) && click "$1"
    new_window() { opened=$(comm -13 <(echo "$before") <(windows) | tail -n 1) && [ -n "$opened" ]; }
    until_true new_window || fail "$1 opened no window"
    xdotool windowmove --sync "$opened" 300 0
    opened_title=$(xdotool getwindowname "$opened")
}
type_into() { click "$1" && xdotool key ctrl+a type -- "$2"; }  # FIELD TEXT: the field's text replaced
field_text() {  # FIELD: its text, copied as a user would
    printf '' | xclip -selection clipboard
    click "$1" && xdotool key ctrl+a ctrl+c
    copied() { [ -n "$(xclip -o -selection clipboard 2>/dev/null)" ]; }
    until_true copied || fail "nothing copied from $1"
    xclip -o -selection clipboard
}
