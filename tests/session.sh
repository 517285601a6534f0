# SPDX-License-Identifier: MIT
# Shared by the process tests: start kalvira on the test display, read its
# fields, see how it ends.  Sourced; sets $tmp, $pid and $win.
set -euo pipefail
tmp=$(mktemp -d)
pid=
undo=()  # a command to run at the end, whatever happens
finish() {
    set +e
    [ -n "$pid" ] && { pkill -P "$pid"; kill "$pid"; }
    [ ${#undo[@]} -eq 0 ] || "${undo[@]}"
    rm -rf "$tmp"
} 2>/dev/null
trap finish EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

only_fonts() {  # let the programs started from now on see only these packages' fonts
    local dirs
    dirs=$(dpkg -L "$@" | grep -E '\.(ttf|otf|t1)$' | xargs -n1 dirname | sort -u | sed 's|.*|<dir>&</dir>|')
    printf '<fontconfig>%s<include>/etc/fonts/conf.d</include><cachedir>%s</cachedir></fontconfig>\n' \
        "$dirs" "$tmp/fontcache" > "$tmp/fonts.conf"
    export FONTCONFIG_FILE=$tmp/fonts.conf
}
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
looks_as_committed() {  # the window as drawn matches the README's screenshot, pixel for pixel
    import -window "$win" "$tmp/window.png"
    local diff
    diff=$(compare -metric AE "$(dirname "${BASH_SOURCE[0]}")/../doc/kalvira.png" "$tmp/window.png" null: 2>&1 || true)
    cp "$tmp/window.png" "${TMPDIR:-/tmp}/kalvira-window.png"
    [ "$diff" = 0 ] || fail "window differs from doc/kalvira.png by $diff pixels (see ${TMPDIR:-/tmp}/kalvira-window.png)"
}
open_from_menu() {  # click the menu bar at X, move the new window aside; sets $opened, $opened_title
    xdotool mousemove --window "$win" "$1" 12 click 1 && sleep 0.5
    opened=$(xdotool search --onlyvisible --maxdepth 1 --name '' | grep -v "^$win\$" | tail -n 1)
    [ -n "$opened" ] || fail "no window opened"
    xdotool windowmove "$opened" 300 0 && sleep 0.2
    opened_title=$(xdotool getwindowname "$opened")
}
open_help() { open_from_menu 55; }
