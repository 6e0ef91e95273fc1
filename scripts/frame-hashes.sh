#!/usr/bin/env bash
# Renders a fixed set of frames with vintrel-render and compares the hashes of their decoded
# pixels with benchmarks/frame-hashes.txt: a change that is meant only to make frames cheaper
# must leave every one of them bit-identical. Run it before such a change lands.
#
#   scripts/frame-hashes.sh [--update] [path/to/vintrel-render]
#
# --update rewrites the list from the frames as they are now. The list belongs to one Mesa: a
# Mesa update may move a pixel, so this is no part of the test suite (which compares frames
# with a tolerance); after such an update, record the list again from a commit you trust.
set -euo pipefail
cd "$(dirname "$0")/.."

update=0
if [[ ${1:-} == --update ]]; then
    update=1
    shift
fi
render=${1:-build/linux-release/bin/vintrel-render}
list=benchmarks/frame-hashes.txt
[[ -x $render ]] || { echo "frame-hashes: no $render (build the linux-release preset)" >&2; exit 2; }
command -v identify >/dev/null || { echo "frame-hashes: needs ImageMagick's identify" >&2; exit 2; }

# name | environment | options. Every frame of each run is hashed, so the state one frame
# leaves to the next is covered too. Times of day, clocks, seeds, sizes and aspects vary; the
# snow is out of view (no warm-up, or fallen out and put back up above the view) or falling
# through it (--warm-up); the pendulum hangs straight or is swung out to either side; a portrait
# screen, the preview's size (its cube faces smaller) and monitors of several sizes and places
# are drawn too, and a window resized after its first frame (taller than wide; and smaller, so
# the faces shrink). The last four run on degraded contexts (Mesa 22 answers the override with
# neither framebuffer nor shader objects; 1.4 of 1995 has neither and no point sprites; of 2000,
# framebuffer objects only; of 2003, shader objects but no OpenGL 2.0 programs). Runs with
# --bench draw floor frames between the scene's: they must not change a pixel.
cases=(
    "start-720p||--time 10:09:30 --seed 7 --frames 3 --bench"
    "snowing-1080p||--size 1920x1080 --time 10:09:30 --seed 7 --warm-up 60 --frames 2 --bench"
    "snowing-1024-high||--size 1280x1024 --time 10:09:30 --seed 7 --warm-up 60 --frames 2"
    "snowing-480p||--size 640x480 --time 03:40:00 --clock 12 --seed 1 --warm-up 45"
    "midnight-320||--size 320x200 --time 23:59:59.999 --clock 100 --snow-clock 30 --seed 42"
    "noon-square||--size 800x800 --time 12:00:00 --clock 7.3 --seed 99 --warm-up 120 --step 0.02 --frames 2"
    "snow-gone||--time 15:00:00 --clock 1.5 --snow-clock 400 --seed 3 --frames 2"
    "portrait||--size 1080x1920 --time 02:50:00 --clock 3 --seed 21 --warm-up 50"
    "preview||--size 152x112 --time 10:09:30 --clock 2 --seed 7 --warm-up 40 --frames 2"
    "two-monitors||--size 1600x600 --monitors 800x600+0+0,800x600+800+0 --time 10:09:30 --clock 6 --seed 4 --warm-up 30 --frames 2"
    "offset-monitors||--size 1400x900 --monitors 1024x768+0+0,376x280+1024+0,376x320+1024+300 --time 17:45:00 --seed 13 --warm-up 40"
    "wide||--size 1000x300 --time 06:30:15.250 --clock 0.4 --seed 5 --warm-up 20"
    "swung-right||--size 800x450 --time 04:50:00 --clock 1.5708 --seed 11"
    "swung-left||--size 800x450 --time 19:25:00 --clock 4.7124 --seed 12"
    "resized||--time 11:11:11 --clock 2 --seed 17 --warm-up 30 --frames 3 --resize 1024x1280"
    "resized-smaller||--size 1920x1080 --time 16:20:00 --clock 8 --seed 19 --warm-up 20 --frames 2 --resize 400x500"
    "2160p||--size 3840x2160 --time 07:07:07 --clock 5 --seed 23 --warm-up 45"
    "snow-every-face||--size 1024x768 --time 10:09:30 --clock 1 --snow-clock 28 --seed 31 --frames 2"
    "no-framebuffer-objects|MESA_EXTENSION_OVERRIDE=-GL_EXT_framebuffer_object|--size 640x360 --time 08:20:00 --clock 9 --seed 8 --warm-up 60 --frames 2 --bench"
    "gl14-1995|MESA_GL_VERSION_OVERRIDE=1.4 MESA_EXTENSION_MAX_YEAR=1995|--size 640x360 --time 03:00:00 --clock 4 --seed 7 --warm-up 60 --frames 2"
    "gl14-2000|MESA_GL_VERSION_OVERRIDE=1.4 MESA_EXTENSION_MAX_YEAR=2000|--size 640x360 --time 21:15:00 --clock 2 --seed 9 --warm-up 30 --frames 2 --bench"
    "gl14-2003|MESA_GL_VERSION_OVERRIDE=1.4 MESA_EXTENSION_MAX_YEAR=2003|--size 640x360 --time 03:00:00 --clock 4 --seed 7 --warm-up 60 --frames 2"
)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
current=$work/hashes.txt
: >"$current"
for entry in "${cases[@]}"; do
    IFS='|' read -r name environment options <<<"$entry"
    mkdir -p "$work/$name"
    # shellcheck disable=SC2086  # the environment and the options are lists of words
    if ! env $environment "$render" $options --out "$work/$name/%d.png" >"$work/$name/log" 2>&1; then
        echo "frame-hashes: $name: vintrel-render failed:" >&2
        cat "$work/$name/log" >&2
        exit 2
    fi
    for frame in $(cd "$work/$name" && ls ./*.png | sed 's|^\./||; s|\.png$||' | sort -n); do
        echo "$(identify -format '%#' "$work/$name/$frame.png")  $name/$frame" >>"$current"
    done
done

if ((update)); then
    cp "$current" "$list"
    echo "frame-hashes: wrote $(wc -l <"$list") frame hashes to $list"
    exit 0
fi
if diff -u "$list" "$current"; then
    echo "frame-hashes: all $(wc -l <"$list") frames are bit-identical"
else
    echo "frame-hashes: frames differ from $list (above: - recorded, + now)" >&2
    exit 1
fi
