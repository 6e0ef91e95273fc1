#!/usr/bin/env bash
# What the full-screen saver takes under Wine on a virtual display while the display is on, and
# while Windows says it is off: processor seconds per second of the whole process (the driver's
# threads too), over SECONDS each, and how long the first frame takes once the display is on
# again (the notice's own round trip included).
#
#   benchmarks/display-off.sh [SIZE (1280x720)] [SECONDS (5)]
# Needs the windows preset built (build/windows/bin).
set -euo pipefail
cd "$(dirname "$0")/.."
size=${1:-1280x720}
seconds=${2:-5}
bin=build/windows/bin
[[ -f $bin/Vintrel.scr && -f $bin/vintrel_saver_notice.exe ]] || { echo "display-off: build the windows preset" >&2; exit 2; }
source scripts/wine-env.sh
vintrel_ensure_wine_prefix
unset DISPLAY
vintrel_start_virtual_display "$size"
vintrel_start_wine_session
trap 'wineserver -k 2>/dev/null || true; kill "$vintrel_xvfb_pid" 2>/dev/null || true' EXIT
wine "$bin/Vintrel.scr" /s </dev/null >/dev/null 2>&1 &
until wine "$bin/vintrel_saver_notice.exe" display-on </dev/null >/dev/null 2>&1; do sleep 0.5; done
pid=$(pgrep -f 'Vintrel\.scr' | head -1)
sleep 3  # past the start-up
ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
per_second() {
    local before after
    before=$(ticks); sleep "$seconds"; after=$(ticks)
    awk -v t=$((after - before)) -v hz="$(getconf CLK_TCK)" -v s="$seconds" 'BEGIN { printf "%.3f", t / hz / s }'
}
echo "display on: $(per_second) processor-seconds a second at $size"
wine "$bin/vintrel_saver_notice.exe" display-off </dev/null
echo "display off: $(per_second) processor-seconds a second"
start=$(date +%s%N)
wine "$bin/vintrel_saver_notice.exe" display-on </dev/null
echo "display on again: the first frame drawn and the notice answered $(( ($(date +%s%N) - start) / 1000000 )) ms after it was started"
