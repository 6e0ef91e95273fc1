#!/usr/bin/env bash
# On a display with two monitors side by side (with-xorg-dummy.sh): `vintrel --root` draws a
# whole clock on each, also as the monitors change while it runs, and so does
# XScreenSaver, which runs one vintrel per monitor.
# Usage (DISPLAY set): two-monitors-test.sh VINTREL OUTPUT_DIR
set -euo pipefail
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
here=$(dirname "$0")
mkdir -p "$2"
"$1" --root --delay 2000000000 2>"$2/root.log" &
vintrel_pid=$!
trap 'kill "$vintrel_pid" 2>/dev/null || true' EXIT
shows_clocks() { import -window root "$2/root-screen.png" 2>/dev/null && "$here/shows-clocks.sh" "$2/root-screen.png"; }
# Waits for a whole clock on each monitor RandR reports now; $3 says when.
wait_for_clocks() {
    local deadline=$((SECONDS + 30))
    until shows_clocks "$@"; do
        ((SECONDS < deadline)) || { echo "FAILED: vintrel --root shows no whole clock on each monitor $3 ($2/root-screen.png)" >&2; exit 1; }
        sleep 0.1
    done
}
wait_for_clocks "$@" "at the start"
# Monitors that change while it runs, the screen's size the same: the clocks follow, with no
# other event. One switched off and the other given another size, then both back.
xrandr --fb 1600x600 --output DUMMY1 --off --output DUMMY0 --mode 1024x576
[ "$(xrandr --listmonitors | head -1)" = "Monitors: 1" ] || { echo "FAILED: DUMMY1 did not go" >&2; exit 1; }
wait_for_clocks "$@" "with DUMMY1 off and DUMMY0 at 1024x576"
xrandr --fb 1600x600 --output DUMMY0 --mode 800x600 --pos 0x0 --output DUMMY1 --mode 800x600 --pos 800x0
wait_for_clocks "$@" "with both back"
kill "$vintrel_pid"
wait "$vintrel_pid" 2>/dev/null || true
"$here/daemon-test.sh" "$@"
