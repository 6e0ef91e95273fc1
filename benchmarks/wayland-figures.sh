#!/usr/bin/env bash
# Frames a second and processor seconds a second of vintrel --wayland under sway's headless
# backend, on one and on two 1280x720 outputs, and under weston's headless backend once its idle
# time has powered every output off; against vintrel in a 1280x720 window of its own on a
# virtual X display of that size, in the same run. Each for SECONDS, at the default --delay.
# vintrel's own processor time only: the compositor's is not counted. On Wayland a frame is one
# tick, which draws every output that is ready for one.
#
#   benchmarks/wayland-figures.sh [path/to/vintrel (build/linux-release/bin/vintrel)] [SECONDS (10)]
set -euo pipefail
cd "$(dirname "$0")/.."
program=$(realpath "${1:-build/linux-release/bin/vintrel}")
seconds=${2:-10}
[[ -x $program ]] || { echo "wayland-figures: no $program (build the linux-release preset)" >&2; exit 2; }
source tests/linux/saver-user.sh
run=$(mktemp -d /tmp/vintrel-figures.XXXXXX)
cp "$program" "$run/vintrel"
printf 'output * bg #000000 solid_color\n' >"$run/sway.config"
chown -R "$user:" "$run"
chmod 700 "$run"
as=("${as_saver_user[@]}" env -i PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$run" WAYLAND_DISPLAY=wayland-figures)
pids=()
trap 'for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; rm -rf "$run"' EXIT

# Runs the command for SECONDS (after one to start) and prints its median frames a second and
# the processor seconds a second it took.
measure() {
    "$@" --fps 2>"$run/figures.log" &
    local pid=$!
    sleep 1
    local ticks
    ticks=$(awk '{ print $14 + $15 }' "/proc/$pid/stat")
    sleep "$seconds"
    ticks=$(($(awk '{ print $14 + $15 }' "/proc/$pid/stat") - ticks))
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    local fps
    fps=$(sed -n 's/^vintrel: \([0-9.]*\) fps.*/\1/p' "$run/figures.log" | tail -n +2 | sort -n |
          awk '{ v[NR] = $1 } END { print NR ? v[int((NR + 1) / 2)] : 0 }')
    awk -v f="$fps" -v t="$ticks" -v hz="$(getconf CLK_TCK)" -v s="$seconds" \
        'BEGIN { printf "%5.1f frames a second, %.2f processor seconds a second\n", f, t / hz / s }'
}

echo "X11 window 1280x720 (Xvfb):        $(tests/linux/with-xvfb.sh bash -c \
    "$(declare -f measure); run=$run seconds=$seconds; measure $program --geometry 1280x720")"

"${as[@]}" SWAYSOCK="$run/sway.sock" WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
    sway --config "$run/sway.config" >"$run/sway.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do compgen -G "$run/wayland-*[0-9]" >/dev/null && break; sleep 0.1; done
ln -sf "$(compgen -G "$run/wayland-*[0-9]" | head -1)" "$run/wayland-figures"
swaymsg() { "${as[@]}" SWAYSOCK="$run/sway.sock" swaymsg "$@" >/dev/null; }
swaymsg output HEADLESS-1 resolution 1280x720
echo "Wayland, one output 1280x720:      $(measure "${as[@]}" "$run/vintrel" --wayland)"
swaymsg create_output
swaymsg output HEADLESS-2 resolution 1280x720
echo "Wayland, two outputs 1280x720:     $(measure "${as[@]}" "$run/vintrel" --wayland)"
kill "${pids[0]}"

rm -f "$run/wayland-figures"
"${as[@]}" weston --backend=headless-backend.so --socket=wayland-figures --width=1280 --height=720 --idle-time=2 \
    >"$run/weston.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -S "$run/wayland-figures" ] && break; sleep 0.1; done
sleep 3  # idle past its idle time: the output is off before vintrel starts
echo "Wayland, every output off (weston): $(measure "${as[@]}" "$run/vintrel" --wayland)"
