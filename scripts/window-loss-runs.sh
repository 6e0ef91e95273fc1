#!/usr/bin/env bash
# Destroys the window the saver draws into while it draws, many times over, and counts the runs
# that did not end with 0: vintrel in a window of the test's (the Release tree), with the
# driver's own threads and with LP_NUM_THREADS=0, and the Windows module's preview when its
# parent goes, as the display settings close, under Wine.
#
#   scripts/window-loss-runs.sh [vintrel-runs (200)] [preview-runs (50)]
set -euo pipefail
cd "$(dirname "$0")/.."
x11_runs=${1:-200}
preview_runs=${2:-50}

# Each failed run prints one "[  FAILED  ]" line for its test; the summary line is not counted.
count_failures() { grep -c '^\[  FAILED  \] [A-Za-z]*\.[A-Za-z]* (' || true; }

cmake --preset linux-release >/dev/null
cmake --build --preset linux-release --target vintrel vintrel_window_tests >/dev/null
for threads in default 0; do
    failed=$(
        if [ "$threads" = 0 ]; then export LP_NUM_THREADS=0; fi
        { TMPDIR=$(mktemp -d) tests/linux/with-xvfb.sh build/linux-release/bin/vintrel_window_tests --gtest_brief=1 \
            --gtest_filter='*DestroyedWhileItDraws' --gtest_repeat="$x11_runs" 2>&1 || true; } | count_failures
    )
    echo "vintrel, window destroyed while it draws, driver threads $threads: $x11_runs runs, $failed failed"
done

cmake --preset windows >/dev/null
cmake --build --preset windows --target Vintrel vintrel_windows_tests >/dev/null
source scripts/wine-env.sh
vintrel_open_windows_session 640x480
failed=$({ wine build/windows/bin/vintrel_windows_tests.exe --gtest_brief=1 --gtest_repeat="$preview_runs" \
    --gtest_filter='PreviewSaver.EndsWithZeroWhenItsParentGoesWhileItDraws' </dev/null 2>&1 || true; } | count_failures)
echo "Vintrel.scr, preview's parent destroyed while it draws: $preview_runs runs, $failed failed"
