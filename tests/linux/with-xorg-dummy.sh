#!/usr/bin/env bash
# Runs a command with DISPLAY set to an X server with two monitors side by side: Xorg with the
# dummy video driver on a 1600x600 screen, outputs DUMMY0 and DUMMY1 at 800x600 each, as a
# machine with two real monitors reports them through RandR (and Wine through them). The server
# ends with the command. A server that cannot start fails the test; it never skips.
set -euo pipefail
work=$(mktemp -d /tmp/vintrel-xorg.XXXXXX)
mkdir "$work/conf.d"
cat >"$work/xorg.conf" <<'CONF'
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 65536
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 5.0-1000.0
    VertRefresh 5.0-200.0
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Virtual 1600 600
    EndSubSection
EndSection
CONF
mkfifo "$work/ready"
Xorg -displayfd 3 -config "$work/xorg.conf" -configdir "$work/conf.d" -logfile "$work/Xorg.log" -nolisten tcp \
    -noreset 3>"$work/ready" >/dev/null 2>&1 &
xorg_pid=$!
trap 'kill "$xorg_pid" 2>/dev/null; wait "$xorg_pid" 2>/dev/null; rm -rf "$work"' EXIT
number=""
read -r -t 60 number <"$work/ready" || true
if [ -z "$number" ] || ! kill -0 "$xorg_pid" 2>/dev/null; then
    echo "FAILED: Xorg with the dummy driver did not start:" >&2
    tail -20 "$work/Xorg.log" >&2 2>/dev/null || true
    exit 1
fi
export DISPLAY=":$number"
xrandr --addmode DUMMY1 800x600
xrandr --output DUMMY0 --mode 800x600 --pos 0x0 --output DUMMY1 --mode 800x600 --pos 800x0
[ "$(xrandr --listmonitors | head -1)" = "Monitors: 2" ] || { echo "FAILED: no two monitors" >&2; exit 1; }
"$@"
