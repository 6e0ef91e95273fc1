#!/usr/bin/env bash
# The full-screen saver on two monitors side by side (run it under tests/linux/with-xorg-dummy.sh):
# its one window covers both, and the screen shows a whole clock on each monitor. It runs in a
# Wine prefix of its own, whose wineserver starts on this display. A prefix's first program may
# still see one monitor, so the saver is started again, a few times at most, until it sees two.
# Usage (DISPLAY set): two_monitors_check.sh VINTREL_SCR WORK_DIR
set -euo pipefail
scr=$1
work=$(realpath -m "$2")
mkdir -p "$work"
export VINTREL_WINEPREFIX="$work/prefix"
source "$(dirname "$0")/../../scripts/wine-env.sh"
vintrel_ensure_wine_prefix
trap 'wineserver -k 2>/dev/null || true' EXIT
screen="$work/two-monitors-screen.png"
shows_clocks() { import -window root "$screen" 2>/dev/null && "$(dirname "$0")/../linux/shows-clocks.sh" "$screen"; }
for _ in 1 2 3; do
    wine "$scr" /s </dev/null >/dev/null 2>&1 &
    deadline=$((SECONDS + 30))
    until shows_clocks; do
        ((SECONDS < deadline)) || break
        sleep 0.2
    done
    if shows_clocks; then
        echo "a whole clock on each monitor: $screen"
        exit 0
    fi
    wineserver -k 2>/dev/null || true
    wineserver --wait 2>/dev/null || true
done
echo "FAILED: the saver shows no whole clock on each monitor ($screen)" >&2
exit 1
