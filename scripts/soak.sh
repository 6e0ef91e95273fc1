#!/usr/bin/env bash
# scripts/soak.sh MINUTES: Vintrel.scr full screen and in a preview under Wine for that long, with
# seeded mouse jitter below the closing distance and 100,000 random messages spread over the run
# (tests/windows/soak_test.cpp). Prints the crashes and each process's memory and handles at the
# start and the end. Builds the Windows tree first.
set -euo pipefail
cd "$(dirname "$0")/.."
minutes="${1:?usage: scripts/soak.sh MINUTES}"
cmake --preset windows >/dev/null
cmake --build --preset windows --target vintrel_windows_tests >/dev/null
source scripts/wine-env.sh
vintrel_open_windows_session 640x480
VINTREL_SOAK_SECONDS=$(awk -v m="$minutes" 'BEGIN { print m * 60 }') VINTREL_SOAK_MESSAGES=100000 \
    wine build/windows/bin/vintrel_windows_tests.exe --gtest_brief=1 --gtest_filter=Soak.* </dev/null
