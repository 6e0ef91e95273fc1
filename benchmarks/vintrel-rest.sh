#!/usr/bin/env bash
# How long vintrel rests between frames, and how much processor time it takes, in its own
# 1280x720 window on a virtual display of that size:
#   - with --fps and --delay 50000 for SECONDS: the rest after each frame, 1000 / fps - ms a
#     frame, from its one-second figures (the median and the least);
#   - with its default delay for SECONDS: processor seconds per second of running.
#
#   benchmarks/vintrel-rest.sh [path/to/vintrel (build/linux-release/bin/vintrel)] [SECONDS (20)]
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ -z ${VINTREL_REST_DISPLAY:-} ]]; then
    VINTREL_REST_DISPLAY=1 exec tests/linux/with-xvfb.sh "$0" "$@"
fi
program=${1:-build/linux-release/bin/vintrel}
seconds=${2:-20}
[[ -x $program ]] || { echo "vintrel-rest: no $program (build the linux-release preset)" >&2; exit 2; }
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# Runs the program for the given seconds; prints the processor seconds it took.
run() {
    "$program" "$@" 2>"$log" &
    local pid=$!
    sleep "$seconds"
    local ticks
    ticks=$(awk '{ print $14 + $15 }' "/proc/$pid/stat")  # utime and stime, in clock ticks
    kill "$pid"
    wait "$pid" || true
    awk -v t="$ticks" -v hz="$(getconf CLK_TCK)" 'BEGIN { print t / hz }'
}

run --fps --delay 50000 >/dev/null
# The first second's figure counts one rest fewer than frames (it starts at a frame), so it is left out.
sed -n 's/^vintrel: \([0-9.]*\) fps, \([0-9.]*\) ms a frame$/\1 \2/p' "$log" | tail -n +2 |
    awk '{ printf "%.1f %s %s\n", 1000 / $1 - $2, $1, $2 }' | sort -n |
    awk '{ line[NR] = $0 }
         END {
             if (NR == 0) { print "no --fps figures"; exit 1 }
             split(line[int((NR + 1) / 2)], m, " "); split(line[1], least, " ")
             printf "--delay 50000: rest after each frame %.1f ms (%s fps, %s ms a frame), least %.1f ms, of %d seconds\n",
                    m[1], m[2], m[3], least[1], NR
         }'
cpu=$(run)
awk -v c="$cpu" -v s="$seconds" 'BEGIN { printf "default delay: %.2f processor seconds per second\n", c / s }'
