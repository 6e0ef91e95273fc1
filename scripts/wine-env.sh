# Sourced by the scripts that run Windows programs: the project's own Wine prefix (never the
# user's), quiet Wine, and no Mono or Gecko installer prompts.
vintrel_repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${VINTREL_WINEPREFIX:-$vintrel_repo/.wine-prefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
export WINEARCH=win64

# Creates the prefix on first use; a lock keeps parallel callers from racing.
vintrel_ensure_wine_prefix() {
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            echo "Creating the Wine prefix $WINEPREFIX (once)..." >&2
            wineboot --init >/dev/null 2>&1 || true
            wineserver --wait || true
        fi
    ) 9>"$WINEPREFIX.lock"
}

# Starts a virtual X display with GLX when none is set; sets DISPLAY and vintrel_xvfb_pid.
vintrel_start_virtual_display() {
    local number
    for number in $(seq 90 130); do
        [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ] && continue
        Xvfb ":$number" -screen 0 1280x1024x24 +extension GLX -nolisten tcp >/dev/null 2>&1 &
        vintrel_xvfb_pid=$!
        for _ in $(seq 50); do
            [ -e "/tmp/.X11-unix/X$number" ] && break
            sleep 0.1
        done
        if kill -0 "$vintrel_xvfb_pid" 2>/dev/null; then
            export DISPLAY=":$number"
            return 0
        fi
    done
    echo "cannot start a virtual X display (Xvfb)" >&2
    return 1
}
