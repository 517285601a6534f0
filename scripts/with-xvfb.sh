#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a command on a private virtual X server, which it starts and stops.
set -euo pipefail

display=
for n in $(seq 90 190); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=:$n; break; fi
done
[ -n "$display" ] || { echo "no free X display number" >&2; exit 1; }

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 100); do
    DISPLAY=$display xwininfo -root >/dev/null 2>&1 && break
    kill -0 $xvfb 2>/dev/null || { echo "Xvfb did not start on $display" >&2; exit 1; }
    sleep 0.05
done
DISPLAY=$display "$@"
