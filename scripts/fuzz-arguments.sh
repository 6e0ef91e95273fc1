#!/usr/bin/env bash
# Fuzzes the screen saver's command-line decisions for a long while (default 10 minutes; pass
# the seconds as the first argument). Builds the fuzzer with clang into build/fuzz and keeps its
# corpus there between runs; extra arguments go to libFuzzer.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-600}"
shift || true
mkdir -p build/fuzz/arguments-corpus
clang++ -std=c++17 -g -O1 -Wall -Wextra -Werror -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I. tests/fuzz/saver_arguments_fuzz.cpp host/saver_arguments.cpp -o build/fuzz/vintrel_arguments_fuzzer
exec build/fuzz/vintrel_arguments_fuzzer -max_total_time="$seconds" -max_len=256 \
    -dict=tests/fuzz/saver_arguments.dict "$@" build/fuzz/arguments-corpus
