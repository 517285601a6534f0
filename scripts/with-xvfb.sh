#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a command on a private virtual X server, which it starts and stops.
# XFT_DPI=N gives the server the desktop's scale as desktops publish it, the
# Xft.dpi resource (96 is 100%).
set -euo pipefail

# The server picks a free display number itself and writes it to fd 3, so that
# runs started at the same moment never share a display.  It keeps its state
# between clients, so that the next program started never meets it resetting.
number=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$number" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null || true; rm -f "$number"' EXIT
for _ in $(seq 200); do
    [ -s "$number" ] && break
    kill -0 $xvfb 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
    sleep 0.05
done
export DISPLAY=:$(head -n 1 "$number")
xwininfo -root >/dev/null 2>&1 || { echo "Xvfb did not answer on $DISPLAY" >&2; exit 1; }
[ -z "${XFT_DPI:-}" ] || xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "$(printf 'Xft.dpi:\t%s\n' "$XFT_DPI")"
"$@"
