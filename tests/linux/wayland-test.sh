#!/usr/bin/env bash
# vintrel --wayland under sway's headless backend: a whole clock on each of two outputs of
# different sizes (one of them portrait) and on an output added while it runs; at scale 2 the
# clock is as sharp as at scale 1; the pointer carried a few pixels leaves it running, further
# ends it with 0, and so do a key, SIGTERM and SIGINT; swayidle starts it; sway's end ends it with
# 1. Then under weston, which has no layer shell: a fullscreen window instead, and it says so;
# and once weston's idle time has powered the output off (sway's headless outputs cannot be), no
# frames and next to no processor time.
# sway and weston refuse root: as root they and vintrel run as an unprivileged user of their own.
# Usage: wayland-test.sh VINTREL VIRTUAL_POINTER_MOTION OUTPUT_DIR
set -euo pipefail
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
here=$(cd "$(dirname "$0")" && pwd)
out=$3
mkdir -p "$out"
source "$here/saver-user.sh"
run=$(mktemp -d /tmp/vintrel-wayland.XXXXXX)  # XDG_RUNTIME_DIR, and the programs the user runs
cp "$1" "$run/vintrel"
cp "$2" "$run/virtual-pointer-motion"
printf 'output * bg #ff00ff solid_color\n' >"$run/sway.config"
chown -R "$user:" "$run"
chmod 700 "$run"
as=("${as_saver_user[@]}" env -i PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$run" WAYLAND_DISPLAY=wayland-vintrel ASAN_OPTIONS="$ASAN_OPTIONS")
as_user() { "${as[@]}" "$@"; }
pids=()
finish() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$run"
}
trap finish EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }
# Checks a condition about ten times a second, for 30 seconds at most.
wait_for() {
    local deadline=$((SECONDS + 30))
    while ((SECONDS < deadline)); do "$@" && return 0; sleep 0.1; done
    return 1
}
swaymsg() { as_user env SWAYSOCK="$run/sway.sock" swaymsg "$@" >/dev/null; }
shows_clock() { as_user grim -o "$1" "$run/shot.png" 2>/dev/null && cp "$run/shot.png" "$out/$1.png" && "$here/shows-clocks.sh" "$out/$1.png" --whole; }
frames_drawn() { grep -c ' fps, ' "$out/$1.log" || true; }
more_frames_than() { (($(frames_drawn "$1") > $2)); }
# Starts vintrel --wayland --fps as $1 (its log is $out/$1.log) and waits for its first figures.
start_vintrel() {
    "${as[@]}" "$run/vintrel" --wayland --fps 2>"$out/$1.log" &
    vintrel=$!
    pids+=("$vintrel")
    wait_for more_frames_than "$1" 0 || fail "$1: vintrel drew no frames (see $out/$1.log)"
}
# Waits for vintrel to end and checks how: $2 the exit code, $1 what ended it.
ends_with() {
    local deadline=$((SECONDS + 30))
    while kill -0 "$vintrel" 2>/dev/null; do ((SECONDS < deadline)) || fail "vintrel did not end on $1"; sleep 0.1; done
    local status=0
    wait "$vintrel" || status=$?
    [ "$status" -eq "$2" ] || fail "vintrel ended with $status on $1, not $2"
}
processor_ticks() { awk '{ print $14 + $15 }' "/proc/$vintrel/stat"; }

"${as[@]}" SWAYSOCK="$run/sway.sock" WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
    sway --config "$run/sway.config" >"$out/sway.log" 2>&1 &
sway=$!
pids+=("$sway")
wait_for test -S "$run/sway.sock" || fail "sway did not start (see $out/sway.log)"
wait_for swaymsg -t get_outputs || fail "sway answers no IPC (see $out/sway.log)"
# sway names its socket itself: the clients are led to it.
wait_for compgen -G "$run/wayland-*[0-9]" >/dev/null || fail "sway made no Wayland socket"
ln -sf "$(compgen -G "$run/wayland-*[0-9]" | head -1)" "$run/wayland-vintrel"
swaymsg create_output
swaymsg output HEADLESS-1 resolution 1280x720
swaymsg output HEADLESS-2 resolution 720x1000

start_vintrel sway
for output in HEADLESS-1 HEADLESS-2; do
    wait_for shows_clock $output || fail "no whole clock on $output ($out/$output.png)"
done
cp "$out/HEADLESS-1.png" "$out/scale-1.png"
swaymsg create_output
swaymsg output HEADLESS-3 resolution 640x480
wait_for shows_clock HEADLESS-3 || fail "no whole clock on HEADLESS-3, added while it ran ($out/HEADLESS-3.png)"

# Sharp at scale 2: sway enlarges a buffer of half the size pixel by pixel, which a copy made
# from every other pixel of every other row shows again unchanged; the output's own pixels differ.
swaymsg output HEADLESS-1 scale 2
sleep 1
wait_for shows_clock HEADLESS-1 || fail "no whole clock on HEADLESS-1 at scale 2 ($out/HEADLESS-1.png)"
detail() { convert "$1" -colorspace gray \( +clone -sample 50% -sample 200% \) -compose difference -composite -format '%[fx:mean]' info:; }
one=$(detail "$out/scale-1.png") two=$(detail "$out/HEADLESS-1.png")
echo "fine detail at scale 1: $one, at scale 2: $two (0 for a frame enlarged from half the size)"
awk -v a="$one" -v b="$two" 'BEGIN { exit !(b > 0.5 * a) }' || fail "the clock at scale 2 is enlarged ($out/HEADLESS-1.png)"

as_user "$run/virtual-pointer-motion" 2,2 2,2 || fail "the virtual pointer did not move"
sleep 0.5
kill -0 "$vintrel" 2>/dev/null || fail "the pointer carried 4 pixels ended vintrel"
as_user "$run/virtual-pointer-motion" 2,2 40,0 || fail "the virtual pointer did not move"
ends_with "pointer motion" 0

start_vintrel key
# The seat has a keyboard only once wtype has made one: vintrel takes it before the key comes.
as_user wtype -s 500 x || fail "wtype sent no key"
ends_with "a key" 0
for signal in TERM INT; do
    start_vintrel "$signal"
    kill -s "$signal" "$vintrel"
    ends_with "SIG$signal" 0
done

"${as[@]}" swayidle timeout 1 "$run/vintrel --wayland" >"$out/swayidle.log" 2>&1 &
swayidle=$!
pids+=("$swayidle")
started() { vintrel=$(pgrep -u "$user" -f "^$run/vintrel --wayland\$"); }
wait_for started || fail "swayidle did not start vintrel (see $out/swayidle.log)"
pids+=("$vintrel")
wait_for shows_clock HEADLESS-1 || fail "no whole clock from swayidle's vintrel ($out/HEADLESS-1.png)"
kill "$swayidle" "$vintrel"

start_vintrel gone
kill "$sway"
ends_with "sway's end" 1
grep -q 'vintrel: lost the connection to the Wayland compositor' "$out/gone.log" || fail "no line on sway's end"

rm -f "$run/wayland-vintrel"
"${as[@]}" weston --backend=headless-backend.so --socket=wayland-vintrel --width=640 --height=480 \
    --idle-time=8 >"$out/weston-server.log" 2>&1 &
pids+=($!)
wait_for test -S "$run/wayland-vintrel" || fail "weston did not start (see $out/weston-server.log)"
start_vintrel weston
grep -q 'vintrel: the compositor has no layer shell; a fullscreen window on each output instead' "$out/weston.log" ||
    fail "no line saying the fallback was taken under weston ($out/weston.log)"
# Idle for 8 seconds, weston powers its output off, and sends no frame callbacks.
sleep 9
ticks=$(processor_ticks) frames=$(frames_drawn weston)
sleep 3
ticks=$(($(processor_ticks) - ticks))
echo "with every output off: $(awk -v t="$ticks" -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.3f", t / hz / 3 }') processor-seconds a second"
# Drawing even a small output takes most of a processor here.
((ticks * 10 < $(getconf CLK_TCK) * 3)) || fail "vintrel took $ticks ticks in 3 seconds with every output off"
(($(frames_drawn weston) <= frames + 1)) || fail "vintrel drew frames with every output off ($out/weston.log)"
kill "$vintrel"
ends_with "SIGTERM under weston" 0
echo "vintrel --wayland passed under sway and weston; screenshots and logs in $out"
