# Sourced by the scripts that run Windows programs: the project's own Wine prefix (never the
# user's), quiet Wine, and no Mono or Gecko installer prompts.
vintrel_repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${VINTREL_WINEPREFIX:-$vintrel_repo/.wine-prefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
export WINEARCH=win64

# Creates the prefix on first use; a lock keeps parallel callers from racing. The Windows test
# program's own windows run unmanaged there: a virtual display has no window manager, which Wine
# would otherwise wait two seconds for whenever one of them goes.
vintrel_ensure_wine_prefix() {
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        local created=""
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            echo "Creating the Wine prefix $WINEPREFIX (once)..." >&2
            wineboot --init >/dev/null 2>&1 || true
            created=1
        fi
        if [ ! -f "$WINEPREFIX/.vintrel-test-settings" ]; then
            wine reg add 'HKCU\Software\Wine\AppDefaults\vintrel_windows_tests.exe\X11 Driver' \
                /v Managed /d N /f >/dev/null 2>&1 && touch "$WINEPREFIX/.vintrel-test-settings"
        fi
        if [ -n "$created" ]; then wineserver --wait || true; fi
    ) 9>"$WINEPREFIX.lock"
}

# Starts a virtual X display with GLX, its screen WxH (default 1280x1024), and sets DISPLAY and
# vintrel_xvfb_pid only once the server accepts clients: Xvfb picks a free display number and
# writes it to the descriptor named by -displayfd when it is ready.
vintrel_start_virtual_display() {
    local size="${1:-1280x1024}" ready number=""
    ready=$(mktemp -u) && mkfifo "$ready"
    Xvfb -displayfd 3 -screen 0 "${size}x24" +extension GLX -nolisten tcp 3>"$ready" >/dev/null 2>&1 &
    vintrel_xvfb_pid=$!
    read -r -t 30 number <"$ready" || true
    rm -f "$ready"
    if [ -z "$number" ] || ! kill -0 "$vintrel_xvfb_pid" 2>/dev/null; then
        kill "$vintrel_xvfb_pid" 2>/dev/null || true
        echo "cannot start a virtual X display (Xvfb)" >&2
        return 1
    fi
    export DISPLAY=":$number"
}

# Starts the prefix's wineserver, kept for a minute after its last client, and Wine's own system
# processes, with no terminal or pipe of the caller's: started by a program whose output someone
# reads (ctest), they would keep that output open, and the reader waiting, until they end.
vintrel_start_wine_session() {
    wineserver --persistent=60 </dev/null >/dev/null 2>&1 || true
    wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

# For a script that runs the Windows programs itself: the prefix, a virtual display of the given
# size (default 640x480) and a wineserver, the display and the server ended when the script exits.
vintrel_open_windows_session() {
    vintrel_ensure_wine_prefix
    unset DISPLAY
    vintrel_start_virtual_display "${1:-640x480}"
    trap 'wineserver -k 2>/dev/null || true; kill "$vintrel_xvfb_pid" 2>/dev/null || true' EXIT
    vintrel_start_wine_session
}
