# SPDX-License-Identifier: MIT
# Sourced by the shell tests and the autopkgtest: a private temporary folder,
# clean-up whatever happens, and a user's dealings with kalvira's windows on
# the test display.  Places are named (UI_n_real, Help) and found in pixels
# of the window at $scale (default 1): a field where the designer file puts
# it, a menu item where the menu bar draws it.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
tmp=$(mktemp -d) pid= undo=()  # undo: a command to run at the end, whatever happens
trap 'set +e; [ -n "$pid" ] && { pkill -P $pid; kill $pid; } 2>/dev/null; [ ${#undo[@]} -eq 0 ] || "${undo[@]}"; rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

until_true() {  # COMMAND...: until it succeeds, for 10 s at most
    for _ in $(seq 200); do "$@" && return; sleep 0.05; done
    return 1
}
shown() { xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }
gone() { ! shown "$1"; }
windows() {  # the top-level windows shown, the root aside
    xdotool search --onlyvisible --maxdepth 1 --name '' 2>/dev/null | grep -vx "$(xdotool search --maxdepth 0 --name '')" | sort
}
window_manager_runs() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

at() {  # PLACE: "X Y" in the window
    local s=${scale:-1}
    case $1 in
    Quit) echo $((18 * s)) $((12 * s)) ;;
    Help) echo $((55 * s)) $((12 * s)) ;;
    About) echo $((100 * s)) $((12 * s)) ;;
    *) awk -v name="$1" -v s="$s" '$2 == name { found = 1 }
           found && match($0, /xywh \{[-0-9 ]+\}/) {
               split(substr($0, RSTART + 6, RLENGTH - 7), v, " ")
               printf "%d %d\n", (v[1] + v[3] / 2) * s, (v[2] + v[4] / 2) * s; exit }' "$top/src/kalvira.fl" ;;
    esac
}
click() { xdotool mousemove --window "$win" $(at "$1") click 1; }

start() {  # the program given as $1 with the remaining arguments; sets $pid, $win
    "$@" & pid=$!
    win=$(timeout "${start_timeout:-10}" xdotool search --sync --onlyvisible --name '^kalvira' | head -n 1)
    [ -n "$win" ] || fail "no window"
}
ends_with_zero() {
    timeout 10 tail --pid=$pid -f /dev/null || fail "still running"
    wait $pid || fail "exit status $?"
    pid=
}
open_from_menu() {  # ITEM: sets $opened, the window it opens, moved aside, and $opened_title
    local before
    before=$(windows)
    click "$1"
    new_window() { opened=$(comm -13 <(echo "$before") <(windows) | tail -n 1); [ -n "$opened" ]; }
    until_true new_window || fail "$1 opened no window"
    xdotool windowmove --sync "$opened" 300 0
    opened_title=$(xdotool getwindowname "$opened")
}
type_into() {  # FIELD TEXT: the field's text replaced
    click "$1"
    xdotool key ctrl+a type -- "$2"
}
field_text() {  # FIELD: its text, copied as a user would
    printf '' | xclip -selection clipboard
    click "$1"
    xdotool key ctrl+a ctrl+c
    copied() { [ -n "$(xclip -o -selection clipboard 2>/dev/null)" ]; }
    until_true copied || fail "nothing copied from $1"
    xclip -o -selection clipboard
}
