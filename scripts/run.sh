#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Starts the built kalvira from doc/, where Help finds its page.  Without a
# display it runs once on a virtual one and saves a screenshot instead.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}

if [ "${1:-}" != --headless ] && [ -n "${DISPLAY:-}" ]; then
    cd "$top/doc" && exec "$build/kalvira"
elif [ "${1:-}" != --headless ]; then
    echo "No X display (DISPLAY is not set); starting kalvira on a virtual one."
    exec "$top/scripts/with-xvfb.sh" "$0" --headless
fi

cd "$top/doc"
"$build/kalvira" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
window=$(timeout 10 xdotool search --sync --name '^kalvira' | head -n 1)
sleep 0.3  # let it finish drawing
import -window "$window" "$build/kalvira.png"
kill $pid
wait $pid 2>/dev/null || true
echo "kalvira started, showed its window and was ended again."
echo "Screenshot: $build/kalvira.png"
echo "To use it, run 'make run' from a terminal on your desktop (with DISPLAY set)."
