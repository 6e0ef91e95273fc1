#!/usr/bin/env bash
# Fails when a file includes a header from a layer above its own. The layers, lowest first:
# the platform layer (with the resources' identifiers), gfx, particles, scene, and on top the
# front-ends, the Windows host and the native programs in apps, which never include each other.
# Tools and tests stand apart and are not checked. Prints every offending line.
#
#   tests/layers/check-layers.sh [source-directory]
set -euo pipefail
cd "${1:-$(dirname "$0")/../..}"

declare -A rank=([platform]=0 [resources]=0 [gfx]=1 [particles]=2 [scene]=3 [host]=4 [apps]=4)
status=0
while IFS=: read -r file line text; do
    header=$(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' <<<"$text")
    [[ $header == */* ]] || continue  # beside the file, or made by the build
    from=${file%%/*} to=${header%%/*}
    below=1
    if [[ ! -v rank[$to] ]] || ((rank[$to] > rank[$from])); then
        below=0
    elif ((rank[$to] == rank[$from])) && ((rank[$to] == 4)) && [[ $to != "$from" ]]; then
        below=0  # one front-end including another
    fi
    if ((!below)); then
        echo "$file:$line: $from includes $header, which is not below it" >&2
        status=1
    fi
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' --include='*.h' --include='*.cpp' --include='*.rc' \
    platform resources gfx particles scene host apps)
exit $status
