#!/usr/bin/env bash
# vintrel under Debian's XScreenSaver daemon: on -activate the daemon starts `vintrel --root`
# (one for each monitor, in that monitor's window), every monitor shows a whole clock, and -deactivate leaves no vintrel behind. The daemon runs no
# screen savers for root, so as root the test runs it as an unprivileged user of its own.
# Usage (DISPLAY set): daemon-test.sh VINTREL OUTPUT_DIR; the screen is kept in
# OUTPUT_DIR/daemon-screen.png and the daemon's output in OUTPUT_DIR/daemon.log.
set -euo pipefail
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"  # Mesa's lasting allocations are not ours
vintrel=$1
out=$2
source "$(dirname "$0")/saver-user.sh"
home=$(mktemp -d /tmp/vintrel-daemon.XXXXXX)  # the daemon's HOME: its settings and the copy of vintrel it runs
as_user() {
    if [ "$(id -un)" = "$user" ]; then env HOME="$home" "$@"; else runuser -u "$user" -- env HOME="$home" "$@"; fi
}
finish() {
    as_user xscreensaver-command -exit >/dev/null 2>&1 || true
    rm -rf "$home"
}
trap finish EXIT
# Checks a condition about ten times a second, for 30 seconds at most.
wait_for() {
    local deadline=$((SECONDS + 30))
    while ((SECONDS < deadline)); do "$@" && return 0; sleep 0.1; done
    echo "FAILED: no '$*' within 30 seconds (see $out/daemon.log)" >&2
    return 1
}

cp "$vintrel" "$home/vintrel"
# The daemon's default niceness (10) would make the test's length depend on the machine's load.
cat >"$home/.xscreensaver" <<EOF
mode: one
selected: 0
lock: False
fade: False
unfade: False
splash: False
dpmsEnabled: False
timeout: 0:30:00
nice: 0
programs: GL: $home/vintrel --root \n
EOF
chmod 755 "$home"
chown -R "$user:" "$home"

as_user xscreensaver --no-splash >"$out/daemon.log" 2>&1 &
daemon_ready() { as_user xscreensaver-command -version >/dev/null 2>&1; }
vintrel_running() { pgrep -f "^$home/vintrel --root" >/dev/null; }
vintrel_gone() { ! vintrel_running; }
shows_clock() {  # a whole clock on each monitor
    import -window root "$out/daemon-screen.png" 2>/dev/null && "$(dirname "$0")/shows-clocks.sh" "$out/daemon-screen.png"
}

wait_for daemon_ready
as_user xscreensaver-command -activate >/dev/null
wait_for vintrel_running
wait_for shows_clock
as_user xscreensaver-command -deactivate >/dev/null
wait_for vintrel_gone
if grep -E 'AddressSanitizer|runtime error|vintrel: ' "$out/daemon.log" >&2; then
    echo "FAILED: vintrel reported errors under the daemon" >&2
    exit 1
fi
echo "vintrel ran under the daemon and ended with it; its screen: $out/daemon-screen.png"
