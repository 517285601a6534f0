#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The installed kalvira as a Wayland client of sway, then of Weston, which leaves the frame to
# the client; each compositor on its X11 backend inside the test's X display (with-xvfb.sh), which
# gives it a seat that xdotool drives.  Read back through their window lists and pictures, which
# go to OUT.  Usage: with-xvfb.sh wayland_test.sh OUT
. "$(dirname "$0")/../session.sh"
out=$1 sway= weston= main=$(label UI_window)
export XDG_RUNTIME_DIR=$tmp
stop_compositors() { kill $sway $weston 2> /dev/null; }
undo=(stop_compositors)
entry=$(basename /usr/share/applications/*kalvira*.desktop .desktop)  # its id: the app_id kalvira's windows carry
read -r _ _ width height < <(place UI_window)
send() { xdotool "$@" && sleep 0.1; }  # and time for the client to draw
compositor() {  # SCALE: a new sway, its output of 1024x768 pixels at that scale
    [ -z "$sway" ] || { kill $sway; wait $sway 2> /dev/null || true; }
    scale=$1 && echo "output X11-1 scale $1" > "$tmp/config" && rm -f "$tmp/display"
    env -u WAYLAND_DISPLAY -u SWAYSOCK WLR_BACKENDS=x11 WLR_RENDERER=pixman sway -c "$tmp/config" > "$tmp/sway.log" 2>&1 & sway=$!
    until_true eval 'export SWAYSOCK=$(ls "$tmp"/sway-ipc.*.$sway.sock 2> /dev/null) && swaymsg -q -t get_version 2> /dev/null' || fail "no sway"
    swaymsg -q exec "printenv WAYLAND_DISPLAY > $tmp/display.new && mv $tmp/display.new $tmp/display"
    until_true eval 'export WAYLAND_DISPLAY=$(cat "$tmp/display" 2> /dev/null) && [ -n "$WAYLAND_DISPLAY" ]' || fail "sway names no display"
}
wayland_client() { env -u DISPLAY kalvira & pid=$!; }  # with no X display to fall back on
window() {  # TITLE FIELD: that of kalvira's window with that title in sway's tree, or nothing
    swaymsg -t get_tree | jq -r --argjson pid "$pid" --arg name "$1" "first(.. | select(.pid? == \$pid and .name? == \$name) | $2) // empty"
}
start_on_sway() {  # $pid, and $x $y: the main window's place; once sway, then the client, gave it the keyboard
    wayland_client && { until_true eval '[ "$(window "$main" .focused)" = true ]' || fail "no window with the keyboard"; } && sleep 0.3
    read -r x y < <(window "$main" '"\(.rect.x + .window_rect.x) \(.rect.y + .window_rect.y)"')
}
point() {  # NAME [WHAT TO DO THERE instead of a click]: in the main window, at its middle, in the output's units
    send mousemove $(at "$1" | awk -v x=$x -v y=$y -v s=$scale '{ print int($1 + x * s), int($2 + y * s) }') ${2:-click 1}
}
shot() { grim -t ppm -g "$((x + $1)),$((y + $2)) $3x$4" "$5"; }  # X Y W H FILE: a picture of part of the main window
fields() {  # FILE: a picture of n' and e'
    local nx ny nw ey eh && read -r nx ny nw _ < <(place UI_n_real) && read -r _ ey _ eh < <(place UI_epsilon_real)
    shot $nx $ny $nw $((ey + eh - ny)) "$1"
}
below_K() { local kx ky kh && read -r kx ky _ kh < <(place UI_K) && shot $kx $((ky + kh)) 200 60 "$1"; }

compositor 1 && start_on_sway && size='"\(.app_id) \(.geometry.width)x\(.geometry.height) \(.floating)"'
[ "$(window "$main" "$size")" = "$entry ${width}x$height user_on" ] || fail "$(window "$main" "$size"), not $entry ${width}x$height floating"
swaymsg -q "[pid=$pid] resize set 400 400" && [ "$(window "$main" "$size")" = "$entry ${width}x$height user_on" ] || fail "resized"
fields "$tmp/start.ppm" && send type 2.5 && send key Tab && fields "$tmp/typed-n.ppm"  # at once over n's selected 1
below_K "$tmp/no-tip.ppm" && point UI_K 'sleep 0' && send mousemove_relative 5 5  # into K, then over it
until_true eval 'below_K "$tmp/tip.ppm" && ! cmp -s "$tmp/no-tip.ppm" "$tmp/tip.ppm"' || fail "no tooltip under K"
grim -t ppm "$out/wayland-tooltip.ppm" && kill $pid && { wait $pid 2> /dev/null || pid=; }
start_on_sway && point UI_epsilon_real && send key End BackSpace && send type 6.25 && send key Tab && fields "$tmp/typed-e.ppm"
cmp -s "$tmp/typed-n.ppm" "$tmp/typed-e.ppm" && ! cmp -s "$tmp/start.ppm" "$tmp/typed-n.ppm" || fail "n = 2.5 and e = 6.25 read unlike"
point Help && { until_true eval '[ "$(window "kalvira help" .app_id)" = "$entry" ]' || fail "Help opened no window of kalvira's"; } && fields "$tmp/before.ppm"
point About && { until_true eval '[ -n "$(window "About kalvira" .id)" ]' || fail "About opened no window"; }
swaymsg -q '[title="About kalvira"] move position 0 0' && grim -t ppm "$out/wayland-about.ppm"
point UI_n_real && send type 7 && send key Return && { until_true eval '[ -z "$(window "About kalvira" .id)" ]' || fail "Return left About open"; }
fields "$tmp/after.ppm" && cmp -s "$tmp/before.ppm" "$tmp/after.ppm" || fail "typing reached the window beside About"
point Quit && { until_true eval '[ -z "$(window "$main" .id)" ]' || fail "Quit left the window"; } && grim -t ppm "$out/wayland-help.ppm"
{ kill -0 $pid || fail "ended with Help open"; } && swaymsg -q "[pid=$pid] kill" && ends_with_zero "Quit, then closing Help,"
start_on_sway && send key Escape && ends_with_zero Escape && start_on_sway && swaymsg -q "[pid=$pid] kill" && ends_with_zero "the compositor's close"
for scale in 2 1.5; do  # twice and one and a half times the pixels, within one (1.4 truncates)
    compositor $scale && start_on_sway && shot 0 0 $width $height "$out/wayland-$scale.ppm" && send key Escape && ends_with_zero "Escape at $scale"
    head -c 20 "$out/wayland-$scale.ppm" | sed -n 2p | awk -v s=$scale -v w=$width -v h=$height '{ W = int(w * s); H = int(h * s)
        exit !($1 - W <= 1 && $1 >= W && $2 - H <= 1 && $2 >= H) }' || fail "$(head -c 20 "$out/wayland-$scale.ppm" | sed -n 2p) pixels at scale $scale"
done

# Weston draws no frame: FLTK has libdecor's GTK plugin draw it.
kill $sway && wait $sway 2> /dev/null || true && sway=
weston --backend=x11 --renderer=pixman --width=1024 --height=768 --socket=weston --idle-time=0 --debug > "$tmp/weston.log" 2>&1 & weston=$!
{ until_true test -S "$XDG_RUNTIME_DIR/weston" || fail "no weston"; } && export WAYLAND_DISPLAY=weston
wayland_client
top() { weston-debug scene-graph | awk -v title="$main" 'index($0, "top-level window") && index($0, title) { getline; gsub(/[(),]/, " "); print $2, $3, $5 - $2, $6 - $3; exit }'; }
{ until_true eval 'read -r x y w h < <(top) && [ -n "$h" ]' || fail "no window in weston"; } && sleep 1
[ "$w"x"$h" = ${width}x$height ] && weston-debug scene-graph | grep -q "position: ($x, [0-9]*) -> ($((x + width)), $y)" || fail "$w x $h without a frame above"
ink() { convert - -colorspace gray -threshold 50% -trim -format %w info:; }  # of a picture on stdin, in pixels
send mousemove 1000 700  # the pointer out of the picture
shown=$(import -window root -crop 160x30+$((x + 10))+$((y - 33)) png:- | ink)  # inside the title bar, left of its buttons
title=$(convert -density 96 -font "$(fc-match -f '%{file}' Sans:bold)" -pointsize 10 label:"$main" png:- | ink)  # at the least
[ "$shown" -ge $((title - 2)) ] || fail "title cut: $shown pixels, where it takes $title"
send mousemove $((x + 60)) $((y - 18)) sleep 0.2 click --repeat 2 --delay 100 1 sleep 1
[ "$(top)" = "$x $y $width $height" ] || fail "the title's double click made it $(top)"
import -window root "$out/weston.png" && send mousemove $((x + 213)) $((y - 18)) sleep 0.3 click 1
ends_with_zero "the frame's close button"
echo "ok: wayland"
