#!/usr/bin/env bash
# The full-screen saver on two monitors side by side (run it under tests/linux/with-xorg-dummy.sh):
# its one window covers both, and the screen shows a whole clock on each monitor; one switched
# off and the other given another size while it runs, then both back, each time with the notice
# Windows sends. It runs in a Wine prefix of its own, whose wineserver starts on this display. A
# prefix's first program may still see one monitor, so the saver is started again, a few times at
# most, until it sees two. It also asks Windows for the power settings it follows.
# Usage (DISPLAY set): two_monitors_check.sh VINTREL_SCR SAVER_NOTICE_EXE WORK_DIR
set -euo pipefail
scr=$1
notice=$2
work=$(realpath -m "$3")
mkdir -p "$work"
export VINTREL_WINEPREFIX="$work/prefix"
source "$(dirname "$0")/../../scripts/wine-env.sh"
vintrel_ensure_wine_prefix
trap 'wineserver -k 2>/dev/null || true' EXIT
screen="$work/two-monitors-screen.png"
shows_clocks() { import -window root "$screen" 2>/dev/null && "$(dirname "$0")/../linux/shows-clocks.sh" "$screen"; }
wait_for_clocks() {
    local deadline=$((SECONDS + 30))
    until shows_clocks; do
        ((SECONDS < deadline)) || return 1
        sleep 0.2
    done
}
started=""
for _ in 1 2 3; do
    WINEDEBUG=fixme+win wine "$scr" /s </dev/null >/dev/null 2>"$work/saver.log" &
    if wait_for_clocks; then
        started=yes
        break
    fi
    wineserver -k 2>/dev/null || true
    wineserver --wait 2>/dev/null || true
done
[ -n "$started" ] || { echo "FAILED: the saver shows no whole clock on each monitor ($screen)" >&2; exit 1; }
echo "a whole clock on each monitor: $screen"
# It asked for the battery saver's state and the display's (Wine's stubs say so, and send nothing).
for setting in e00958c0-c213-4ace-ac77-fecced2eeea5 '(6fe69556-704a-47a0-8f24-c28d936fda47|02731015-4510-4526-99e6-e5a17ebd1aea)'; do
    grep -Eq "RegisterPowerSettingNotification .*\{$setting\}" "$work/saver.log" ||
        { echo "FAILED: no registration for the power setting $setting" >&2; exit 1; }
done
# Monitors that change while it runs: Windows says so, and the window and its views follow.
change_monitors() {
    xrandr --fb 1600x600 "$@"
    wine "$notice" display-change </dev/null >/dev/null 2>&1 || { echo "FAILED: the saver took no notice of the change" >&2; exit 1; }
    wait_for_clocks || { echo "FAILED: no whole clock on each monitor after xrandr $* ($screen)" >&2; exit 1; }
    echo "a whole clock on each monitor after xrandr $*"
}
change_monitors --output DUMMY1 --off --output DUMMY0 --mode 1024x576
change_monitors --output DUMMY0 --mode 800x600 --pos 0x0 --output DUMMY1 --mode 800x600 --pos 800x0
