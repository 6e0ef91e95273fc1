#!/usr/bin/env bash
# Fuzzes the screen saver's command-line decisions for a long while (default 10 minutes; pass
# the seconds as the first argument). Builds the fuzzer target of the linux preset and keeps its
# corpus in build/fuzz between runs; extra arguments go to libFuzzer.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-600}"
shift || true
cmake --preset linux >/dev/null
cmake --build --preset linux --target vintrel_arguments_fuzzer
mkdir -p build/fuzz/arguments-corpus
exec build/linux/bin/vintrel_arguments_fuzzer -max_total_time="$seconds" -max_len=256 \
    -dict=tests/fuzz/saver_arguments.dict "$@" build/fuzz/arguments-corpus
