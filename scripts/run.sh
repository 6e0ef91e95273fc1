#!/usr/bin/env bash
# Installs what is missing, builds Vintrel.scr and runs it full screen under Wine: in a window
# on your display when there is one, else on a virtual display, saving a screenshot.
# Any key or a mouse movement ends it, as on Windows.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target Vintrel

source scripts/wine-env.sh
vintrel_ensure_wine_prefix
saver="build/windows/bin/Vintrel.scr"

if [ -n "${DISPLAY:-}" ]; then
    echo "Running $saver /s on $DISPLAY; press a key or move the mouse to end it." >&2
    exec wine "$saver" /s
fi

vintrel_start_virtual_display
screenshot="${VINTREL_SCREENSHOT:-$PWD/out/vintrel-screenshot.png}"
mkdir -p "$(dirname "$screenshot")"
wine "$saver" /s &
saver_pid=$!
sleep "${VINTREL_RUN_SECONDS:-8}"
import -display "$DISPLAY" -window root "$screenshot"
wineserver -k 2>/dev/null || true
wait "$saver_pid" 2>/dev/null || true
kill "$vintrel_xvfb_pid" 2>/dev/null || true
echo "No display: ran $saver /s on a virtual display; screenshot saved to $screenshot" >&2
