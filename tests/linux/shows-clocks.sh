#!/usr/bin/env bash
# Succeeds when a screenshot of the display (DISPLAY set) shows a whole clock on every monitor
# RandR reports: the middle of each monitor mostly the dial's yellow, its left and right edges
# (a portrait one's top and bottom) the sky, as they would not be with one clock split over the
# seam between two monitors.
# Usage: shows-clocks.sh SCREENSHOT.png [--whole]   (--whole: the screenshot is one monitor's, as
# a Wayland output's, and DISPLAY is not read)
set -euo pipefail
image=$1
yellow_share() {
    convert "$image" -crop "$1" +repage -scale 25% -fx '(r-b>0.1 && g-b>0.08)' -format '%[fx:mean]' info:
}
if [ "${2:-}" = --whole ]; then
    monitors=$(identify -format '%w %h 0 0' "$image")
else
    monitors=$(xrandr --listmonitors | sed -n 's|.* \([0-9]*\)/[0-9]*x\([0-9]*\)/[0-9]*+\([0-9]*\)+\([0-9]*\) .*|\1 \2 \3 \4|p')
fi
[ -n "$monitors" ] || exit 1
while read -r width height x y; do
    side=$(( (width < height ? width : height) / 2 )) edge=$((width / 10))
    middle=$(yellow_share "${side}x${side}+$((x + (width - side) / 2))+$((y + (height - side) / 2))")
    if ((width >= height)); then
        left=$(yellow_share "${edge}x${height}+${x}+${y}")
        right=$(yellow_share "${edge}x${height}+$((x + width - edge))+${y}")
    else  # a portrait monitor's dial fills its width: the sky above and below it
        edge=$((height / 10))
        left=$(yellow_share "${width}x${edge}+${x}+${y}")
        right=$(yellow_share "${width}x${edge}+${x}+$((y + height - edge))")
    fi
    awk -v m="$middle" -v l="$left" -v r="$right" 'BEGIN { exit !(m > 0.6 && l < 0.02 && r < 0.02) }' || exit 1
done <<<"$monitors"
