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
cmake --preset windows >/dev/null
cmake --build --preset windows

source scripts/wine-env.sh
vintrel_ensure_wine_prefix
unset DISPLAY
vintrel_start_virtual_display
wineserver --persistent=60 2>/dev/null || true
stop_windows() {
    wineserver -k 2>/dev/null || true
    kill "$vintrel_xvfb_pid" 2>/dev/null || true
}
trap stop_windows EXIT
ctest --preset windows

# Lines of tests against lines of product code, the last line before the summary.
./scripts/test-ratio.sh
