#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The installed kalvira as a Wayland client of sway, then of Weston, which leaves the frame to
# the client; each compositor on its X11 backend inside Xvfb, which gives it a seat that xdotool
# drives.  Read back through their window lists and pictures, which go to OUT.  Usage: wayland_test.sh OUT
set -euo pipefail
out=$1 sway= weston= pid= main='kalvira by us'
export XDG_RUNTIME_DIR=$(mktemp -d) && chmod 700 "$XDG_RUNTIME_DIR" && tmp=$XDG_RUNTIME_DIR
entry=$(basename /usr/share/applications/*kalvira*.desktop .desktop)  # its id: the app_id kalvira's windows carry
Xvfb :5 -screen 0 1024x768x24 -nolisten tcp > /dev/null 2>&1 & xvfb=$!
trap 'kill $pid $sway $weston $xvfb 2> /dev/null; true' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
until_true() { for _ in $(seq 100); do eval "$1" && return; sleep 0.1; done; fail "$2"; }
until_true 'DISPLAY=:5 xwininfo -root > /dev/null 2>&1' "no Xvfb"
send() { DISPLAY=:5 xdotool "$@" && sleep 0.1; }  # and time for the client to draw
compositor() {  # SCALE: a new sway, its output of 1024x768 pixels at that scale
    [ -z "$sway" ] || { kill $sway; wait $sway 2> /dev/null || true; }
    scale=$1 && echo "output X11-1 scale $1" > "$tmp/config" && rm -f "$tmp/display"
    env -u WAYLAND_DISPLAY -u SWAYSOCK DISPLAY=:5 WLR_BACKENDS=x11 WLR_RENDERER=pixman \
        sway -c "$tmp/config" > "$tmp/sway.log" 2>&1 & sway=$!
    until_true 'export SWAYSOCK=$(ls "$tmp"/sway-ipc.*.$sway.sock 2> /dev/null) && swaymsg -q -t get_version 2> /dev/null' "no sway"
    swaymsg -q exec "printenv WAYLAND_DISPLAY > $tmp/display.new && mv $tmp/display.new $tmp/display"
    until_true 'export WAYLAND_DISPLAY=$(cat "$tmp/display" 2> /dev/null) && [ -n "$WAYLAND_DISPLAY" ]' "sway names no display"
}
window() {  # TITLE FIELD: that of kalvira's window with that title in sway's tree, or nothing
    swaymsg -t get_tree | jq -r --argjson pid "$pid" --arg name "$1" "first(.. | select(.pid? == \$pid and .name? == \$name) | $2) // empty"
}
start() {  # $pid, and $x $y: the main window's place; once sway, then the client, gave it the keyboard
    kalvira & pid=$! && until_true '[ "$(window "$main" .focused)" = true ]' "no window with the keyboard" && sleep 0.3
    read -r x y < <(window "$main" '"\(.rect.x + .window_rect.x) \(.rect.y + .window_rect.y)"')
}
at() {  # X Y [what to do there instead of a click]: in the main window, in the output's units
    send mousemove $(awk -v x=$((x + $1)) -v y=$((y + $2)) -v s=$scale 'BEGIN { print int(x * s), int(y * s) }') ${3:-click 1}
}
shot() { grim -t ppm -g "$((x + $1)),$((y + $2)) $3x$4" "$5"; }  # X Y W H FILE: a picture of part of the main window
fields() { shot 35 35 70 70 "$1"; }  # n' and e'
ends_with_zero() { timeout 10 tail --pid=$pid -f /dev/null && wait $pid && pid= || fail "$1 did not end it with 0"; }

compositor 1 && start && size='"\(.app_id) \(.geometry.width)x\(.geometry.height) \(.floating)"'
[ "$(window "$main" "$size")" = "$entry 231x171 user_on" ] || fail "$(window "$main" "$size"), not $entry 231x171 floating"
swaymsg -q "[pid=$pid] resize set 400 400" && [ "$(window "$main" "$size")" = "$entry 231x171 user_on" ] || fail "resized"
fields "$tmp/start.ppm" && send type 2.5 && send key Tab && fields "$tmp/typed-n.ppm"  # at once over n's selected 1
shot 30 150 200 60 "$tmp/no-tip.ppm" && at 60 132 'sleep 0' && at 65 137 'sleep 0'  # into K, then over it
until_true 'shot 30 150 200 60 "$tmp/tip.ppm" && ! cmp -s "$tmp/no-tip.ppm" "$tmp/tip.ppm"' "no tooltip under K"
grim -t ppm "$out/wayland-tooltip.ppm" && kill $pid && { wait $pid 2> /dev/null || pid=; }
start && at 70 92 && send key End BackSpace && send type 6.25 && send key Tab && fields "$tmp/typed-e.ppm"  # e'
cmp -s "$tmp/typed-n.ppm" "$tmp/typed-e.ppm" && ! cmp -s "$tmp/start.ppm" "$tmp/typed-n.ppm" || fail "n = 2.5 and e = 6.25 read unlike"
at 55 12 && until_true '[ "$(window "kalvira help" .app_id)" = "$entry" ]' "Help opened no window of kalvira's" && fields "$tmp/before.ppm"
at 100 12 && until_true '[ -n "$(window "About kalvira" .id)" ]' "About opened no window"
swaymsg -q '[title="About kalvira"] move position 0 0' && grim -t ppm "$out/wayland-about.ppm"
at 70 47 && send type 7 && send key Return && until_true '[ -z "$(window "About kalvira" .id)" ]' "Return left About open"
fields "$tmp/after.ppm" && cmp -s "$tmp/before.ppm" "$tmp/after.ppm" || fail "typing reached the window beside About"
at 18 12 && until_true '[ -z "$(window "$main" .id)" ]' "Quit left the window" && grim -t ppm "$out/wayland-help.ppm"
{ kill -0 $pid || fail "ended with Help open"; } && swaymsg -q "[pid=$pid] kill" && ends_with_zero "Quit, then closing Help,"
start && send key Escape && ends_with_zero Escape && start && swaymsg -q "[pid=$pid] kill" && ends_with_zero "the compositor's close"
for scale in 2 1.5; do  # twice and one and a half times the pixels, within one (1.4 truncates)
    compositor $scale && start && shot 0 0 231 171 "$out/wayland-$scale.ppm" && send key Escape && ends_with_zero "Escape at $scale"
    head -c 20 "$out/wayland-$scale.ppm" | sed -n 2p | awk -v s=$scale '{ W = int(231 * s); H = int(171 * s); exit !($1 - W <= 1 && $1 >= W && $2 - H <= 1 && $2 >= H) }' ||
        fail "$(head -c 20 "$out/wayland-$scale.ppm" | sed -n 2p) pixels at scale $scale"
done

# Weston draws no frame: FLTK has libdecor's GTK plugin draw it.
kill $sway && wait $sway 2> /dev/null || true && sway=
DISPLAY=:5 weston --backend=x11 --renderer=pixman --width=1024 --height=768 --socket=weston --idle-time=0 --debug > "$tmp/weston.log" 2>&1 & weston=$!
until_true '[ -S "$XDG_RUNTIME_DIR/weston" ]' "no weston" && export WAYLAND_DISPLAY=weston
kalvira & pid=$!
top() { weston-debug scene-graph | awk -v title="$main" 'index($0, "top-level window") && index($0, title) { getline; gsub(/[(),]/, " "); print $2, $3, $5 - $2, $6 - $3; exit }'; }
until_true 'read -r x y w h < <(top) && [ -n "$h" ]' "no window in weston" && sleep 1
[ "$w"x"$h" = 231x171 ] && weston-debug scene-graph | grep -q "position: ($x, [0-9]*) -> ($((x + 231)), $y)" || fail "$w x $h without a frame above"
ink() { convert - -colorspace gray -threshold 50% -trim -format %w info:; }  # of a picture on stdin, in pixels
send mousemove 1000 700  # the pointer out of the picture
shown=$(DISPLAY=:5 import -window root -crop 160x30+$((x + 10))+$((y - 33)) png:- | ink)  # inside the title bar, left of its buttons
title=$(convert -density 96 -font "$(fc-match -f '%{file}' Sans:bold)" -pointsize 10 label:"$main" png:- | ink)  # at the least
[ "$shown" -ge $((title - 2)) ] || fail "title cut: $shown pixels, where it takes $title"
send mousemove $((x + 60)) $((y - 18)) sleep 0.2 click --repeat 2 --delay 100 1 sleep 1
[ "$(top)" = "$x $y 231 171" ] || fail "the title's double click made it $(top)"
DISPLAY=:5 import -window root "$out/weston.png" && send mousemove $((x + 213)) $((y - 18)) sleep 0.3 click 1
ends_with_zero "the frame's close button"
echo "ok: wayland"
