#!/usr/bin/env bash
# Runs a command with DISPLAY set to a virtual X display of its own (1280x720, 24 bits, GLX),
# which ends with the command. Xvfb picks a free display number itself (-displayfd).
set -euo pipefail
number_file=$(mktemp)
Xvfb -displayfd 3 -noreset -screen 0 1280x720x24 -nolisten tcp 3>"$number_file" 2>/dev/null &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null; rm -f "$number_file"' EXIT
for _ in $(seq 100); do
    [ -s "$number_file" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
    sleep 0.1
done
[ -s "$number_file" ] || { echo "Xvfb gave no display number" >&2; exit 1; }
DISPLAY=":$(cat "$number_file")" "$@"
