#!/usr/bin/env bash
# On a display with two monitors side by side (with-xorg-dummy.sh): `vintrel --root` draws a
# whole clock on each, and so does XScreenSaver, which runs one vintrel per monitor.
# Usage (DISPLAY set): two-monitors-test.sh VINTREL OUTPUT_DIR
set -euo pipefail
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
here=$(dirname "$0")
mkdir -p "$2"
"$1" --root --delay 2000000000 2>"$2/root.log" &
vintrel_pid=$!
trap 'kill "$vintrel_pid" 2>/dev/null || true' EXIT
shows_clocks() { import -window root "$2/root-screen.png" 2>/dev/null && "$here/shows-clocks.sh" "$2/root-screen.png"; }
deadline=$((SECONDS + 30))
until shows_clocks "$@"; do
    ((SECONDS < deadline)) || { echo "FAILED: vintrel --root shows no whole clock on each monitor ($2/root-screen.png)" >&2; exit 1; }
    sleep 0.1
done
kill "$vintrel_pid"
wait "$vintrel_pid" 2>/dev/null || true
"$here/daemon-test.sh" "$@"
