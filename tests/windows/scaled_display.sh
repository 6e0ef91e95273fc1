#!/usr/bin/env bash
# A display scaled to 150 % for the tests that ask for one: "set" puts the Wine prefix's
# LogPixels at 144, remembering the value it had in STATE_FILE; "restore" puts that back. CTest
# runs "restore" after those tests whatever their outcome: the prefix serves every Windows test.
# Usage: scaled_display.sh set|restore STATE_FILE
set -euo pipefail
source "$(dirname "$0")/../../scripts/wine-env.sh"
vintrel_ensure_wine_prefix
key='HKCU\Control Panel\Desktop'
state=$2
case $1 in
    set)
        { wine reg query "$key" /v LogPixels 2>/dev/null || true; } | tr -d '\r' |
            sed -n 's/.*REG_DWORD[[:space:]]*0x\([0-9a-fA-F]*\).*/\1/p' > "$state"
        wine reg add "$key" /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
        ;;
    restore)
        if [ -s "$state" ]; then
            wine reg add "$key" /v LogPixels /t REG_DWORD /d $((16#$(cat "$state"))) /f >/dev/null
        else
            wine reg delete "$key" /v LogPixels /f >/dev/null 2>&1 || true
        fi
        rm -f "$state"
        ;;
esac
