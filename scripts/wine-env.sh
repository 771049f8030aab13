#!/usr/bin/env bash
# Wine prefix, private X display and persistent wine server for the Win32 builds.
# Usage: wine-env.sh BUILD_DIR setup|teardown|run PROGRAM [ARGS...]|env
# Wine's own output always goes to files: background Wine processes inherit
# whatever the caller's stdout is, and a pipe there would never close.
set -u
build=$(cd "${1:?build dir}" && pwd); shift
cmd=${1:?command}; shift
state="$build/wine"
mkdir -p "$state"
export WINEPREFIX="$state/prefix"
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

display_alive() { [ -f "$state/display" ] && [ -f "$state/xvfb.pid" ] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null; }

start_display() {
    display_alive && return 0
    local n=90
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -nolisten unix >"$state/xvfb.log" 2>&1 &
    echo $! >"$state/xvfb.pid"
    echo ":$n" >"$state/display"
    for _ in $(seq 50); do
        DISPLAY=":$n" xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "wine-env: Xvfb did not start on :$n" >&2
    return 1
}

use_display() {
    if [ -n "${WAVE_USE_DISPLAY:-}" ]; then export DISPLAY="$WAVE_USE_DISPLAY"; else export DISPLAY="$(cat "$state/display")"; fi
}

make_prefix() {
    [ -f "$state/prefix.ready" ] && return 0
    rm -rf "$WINEPREFIX"
    timeout 300 "$WINE" wineboot -i >"$state/wineboot.log" 2>&1 || { echo "wine-env: wineboot failed" >&2; return 1; }
    timeout 60 "$WINESERVER" -w
    # Wine's own fonts give the real "MS Sans Serif" and 8 x 16 dialog base units.
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
    cat >"$state/settings.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="Y"

[HKEY_CURRENT_USER\Control Panel\Desktop]
"LogPixels"=dword:00000060
REG
    timeout 120 "$WINE" regedit /S "$(winepath_of "$state/settings.reg")" >>"$state/wineboot.log" 2>&1
    timeout 60 "$WINESERVER" -w
    touch "$state/prefix.ready"
}

winepath_of() { echo "Z:$(echo "$1" | tr / '\\')"; }

start_server() {
    # A persistent server keeps start-up fast and keeps a loaded driver's state.
    "$WINESERVER" -p >"$state/wineserver.log" 2>&1 </dev/null
}

case "$cmd" in
setup)
    start_display || exit 1
    use_display
    make_prefix || exit 1
    start_server
    ;;
teardown)
    timeout 30 "$WINESERVER" -k >/dev/null 2>&1
    if [ -f "$state/xvfb.pid" ]; then kill "$(cat "$state/xvfb.pid")" 2>/dev/null; rm -f "$state/xvfb.pid" "$state/display"; fi
    ;;
env)
    use_display
    echo "export WINEPREFIX='$WINEPREFIX' WINEARCH=win64 WINEDEBUG='$WINEDEBUG' DISPLAY='$DISPLAY' WINEDLLOVERRIDES='$WINEDLLOVERRIDES'"
    ;;
run)
    use_display
    out=$(mktemp "$state/run.XXXXXX")
    timeout "${WAVE_TIMEOUT:-300}" "$WINE" "$@" >"$out" 2>&1 </dev/null
    rc=$?
    cat "$out"; rm -f "$out"
    exit $rc
    ;;
*) echo "wine-env: unknown command $cmd" >&2; exit 2 ;;
esac
