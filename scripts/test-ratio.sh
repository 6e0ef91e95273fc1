#!/usr/bin/env bash
# Prints the lines of test code against the lines of product code and their ratio, which the
# project keeps at most 0.35: C, C++, GLSL and resource script, tests/ against everything but
# tests/, benchmarks/ and third_party/, as tracked by git.
set -euo pipefail
cd "$(dirname "$0")/.."
sources='\.(c|cc|cpp|cxx|h|hh|hpp|vert|frag|glsl|rc)$'
tests=$(git ls-files -- tests | grep -E "$sources" | xargs -r cat | wc -l)
product=$(git ls-files | grep -vE '^(tests|benchmarks|third_party)/' | grep -E "$sources" | xargs -r cat | wc -l)
awk -v t="$tests" -v p="$product" \
    'BEGIN { printf "test lines %d, product lines %d, ratio %.2f (at most 0.35)\n", t, p, (p > 0 ? t / p : 0) }'
