#!/usr/bin/env bash
# Builds and runs every test of both trees: the native core with its sanitizers, and the
# Windows module with its tests under Wine on a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh

echo "== native build and tests" >&2
cmake --preset linux >/dev/null
cmake --build --preset linux
ctest --preset linux

echo "== Windows build and tests under Wine" >&2
# One virtual display (small: the full-screen saver renders it quickly) and one wineserver for the
# whole run; the prefix is made while the module builds.
source scripts/wine-env.sh
vintrel_ensure_wine_prefix &
prefix_made=$!
cmake --preset windows >/dev/null
cmake --build --preset windows
wait "$prefix_made"
unset DISPLAY
vintrel_start_virtual_display 640x480
stop_windows() {
    wineserver -k 2>/dev/null || true
    wineserver --wait 2>/dev/null || true
    kill "$vintrel_xvfb_pid" 2>/dev/null || true
}
trap stop_windows EXIT
vintrel_start_wine_session
ctest --preset windows

# Lines of tests against lines of product code, the last line before the summary.
./scripts/test-ratio.sh
