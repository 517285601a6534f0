# SPDX-License-Identifier: MIT
# Sourced by the process tests: a private temporary folder, clean-up whatever
# happens, and a user's dealings with one kalvira window on the test display.
set -euo pipefail
tmp=$(mktemp -d) pid= undo=()  # undo: a command to run at the end, whatever happens
trap 'set +e; [ -n "$pid" ] && { pkill -P $pid; kill $pid; } 2>/dev/null; [ ${#undo[@]} -eq 0 ] || "${undo[@]}"; rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

start() {  # the program given as $1 with the remaining arguments; sets $pid, $win
    "$@" & pid=$!
    win=$(timeout "${start_timeout:-10}" xdotool search --sync --onlyvisible --name '^kalvira' | head -n 1)
    [ -n "$win" ] || fail "no window"
    sleep 0.2
}
ends_with_zero() {
    timeout 10 tail --pid=$pid -f /dev/null || fail "still running"
    wait $pid || fail "exit status $?"
    pid=
}
type_into() {  # X Y TEXT: replace the text of the field at window coordinates X Y
    xdotool mousemove --window "$win" "$1" "$2" click 1 key ctrl+a type -- "$3"
}
field_text() {  # X Y: the text of the field there, copied as a user would
    xdotool mousemove --window "$win" "$1" "$2" click 1 key ctrl+a ctrl+c && sleep 0.2
    xclip -o -selection clipboard
}
