#!/usr/bin/env bash
# Wine prefix, private X display and persistent wine server for the Win32 builds.
# Usage: wine-env.sh BUILD_DIR COMMAND [ARGS...]
#   setup         display, prefix and server; installs, starts and checks the ZelkWave driver
#                 (a driver already running from this build is left as it is)
#   teardown      stops the driver, the server and the display
#   driver-start  starts the driver (fresh state) and waits until it answers
#   driver-stop   stops the driver: \\.\ZelkWave is then absent
#   driver-reset  puts the running driver's cards back to their load state
#   run PROGRAM [ARGS...] | env
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
DRIVER="$build/driver/zelkwave.sys"
CARDCTL="$build/driver/cardctl.exe"

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
    if [ -n "${WAVE_USE_DISPLAY:-}" ]; then export DISPLAY="$WAVE_USE_DISPLAY"
    elif [ -f "$state/display" ]; then export DISPLAY="$(cat "$state/display")"; fi
}

# What make_prefix gives a prefix. A prefix made with another look gets this one's
# fonts and settings again, so that trees older than a change to them pick it up.
PREFIX_LOOK="2: wine fonts, Arial as Liberation Sans, unmanaged, 96 dpi"

make_prefix() {
    [ "$(cat "$state/prefix.ready" 2>/dev/null)" = "$PREFIX_LOOK" ] && return 0
    if [ -f "$state/prefix.ready" ]; then
        # The settings below are written with no server of the prefix running.
        timeout 30 "$WINESERVER" -k >/dev/null 2>&1
    else
        rm -rf "$WINEPREFIX"
        timeout 300 "$WINE" wineboot -i >"$state/wineboot.log" 2>&1 || { echo "wine-env: wineboot failed" >&2; return 1; }
        timeout 60 "$WINESERVER" -w
    fi
    # Wine's own fonts give the real "MS Sans Serif" and 8 x 16 dialog base units.
    # Liberation Sans has Arial's metrics: texts drawn in Arial take the room they
    # take on Windows, where a wider stand-in would be clipped.
    cp /usr/share/wine/fonts/* /usr/share/fonts/truetype/liberation/LiberationSans-*.ttf \
        "$WINEPREFIX/drive_c/windows/Fonts/"
    cat >"$state/settings.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="Y"

[HKEY_CURRENT_USER\Control Panel\Desktop]
"LogPixels"=dword:00000060

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Arial"="Liberation Sans"
REG
    timeout 120 "$WINE" regedit /S "$(winepath_of "$state/settings.reg")" >>"$state/wineboot.log" 2>&1
    timeout 60 "$WINESERVER" -w
    echo "$PREFIX_LOOK" >"$state/prefix.ready"
}

winepath_of() { echo "Z:$(echo "$1" | tr / '\\')"; }

start_server() {
    # A persistent server keeps start-up fast and keeps a loaded driver's state.
    "$WINESERVER" -p >"$state/wineserver.log" 2>&1 </dev/null
}

# The virtual card's kernel driver, run by Wine's driver host as a kernel service.
driver_log() { timeout "$1" "$WINE" "${@:2}" >>"$state/driver.log" 2>&1 </dev/null; }

build_driver() {
    [ -f "$DRIVER" ] && [ -f "$CARDCTL" ] && return 0
    # A tree built only in part (one test target) still gets the driver the fixture needs.
    cmake --build "$build" --target zelkwave_sys cardctl >>"$state/driver.log" 2>&1 ||
        { echo "wine-env: cannot build the driver (see $state/driver.log)" >&2; return 1; }
}

install_driver() {
    local marker="$WINEPREFIX/.zelkwave-service"
    [ -f "$marker" ] && return 0
    # Fails harmlessly when the service exists already; starting it tells.
    driver_log 60 sc create ZelkWave type= kernel start= demand binPath= "$(winepath_of "$DRIVER")"
    touch "$marker"
}

# net start returns once the driver's entry has run, so one look is enough.
driver_answers() {
    timeout 30 "$WINE" "$CARDCTL" status >"$state/driver-status.txt" 2>&1 </dev/null && return 0
    echo "wine-env: the ZelkWave driver does not answer: $(tail -n 1 "$state/driver-status.txt")" >&2
    return 1
}

driver_stop() { driver_log 60 net stop ZelkWave; return 0; }

driver_start() {
    build_driver && install_driver || return 1
    if ! driver_log 60 net start ZelkWave; then
        # Already running: restart it, so that the driver just built and a fresh
        # card state are loaded.
        driver_stop
        driver_log 60 net start ZelkWave || { echo "wine-env: cannot start the ZelkWave driver (see $state/driver.log)" >&2; return 1; }
    fi
    driver_stamp >"$state/driver.loaded"
    driver_answers
}

# Set-up leaves a driver that answers alone when it is the one built, so that a
# second set-up does not pull it away from tests already using it.
driver_stamp() { stat -c '%Y %s' "$DRIVER" 2>/dev/null; }
driver_current() {
    [ -f "$state/driver.loaded" ] && [ "$(cat "$state/driver.loaded")" = "$(driver_stamp)" ] &&
        timeout 30 "$WINE" "$CARDCTL" count >/dev/null 2>&1 </dev/null
}

driver_reset() {
    timeout 30 "$WINE" "$CARDCTL" reset >"$state/driver-status.txt" 2>&1 </dev/null && return 0
    driver_stop
    driver_start
}

case "$cmd" in
setup)
    start_display || exit 1
    use_display
    make_prefix || exit 1
    start_server
    : >"$state/driver.log"
    driver_current || driver_start || exit 1
    ;;
driver-start) use_display; driver_start || exit 1 ;;
driver-stop) use_display; driver_stop ;;
driver-reset) use_display; driver_reset || exit 1 ;;
teardown)
    use_display
    [ -f "$state/prefix.ready" ] && driver_stop
    timeout 30 "$WINESERVER" -k >/dev/null 2>&1
    rm -f "$state/driver.loaded"
    if [ -f "$state/xvfb.pid" ]; then kill "$(cat "$state/xvfb.pid")" 2>/dev/null; rm -f "$state/xvfb.pid" "$state/display"; fi
    ;;
env)
    use_display
    echo "export WINEPREFIX='$WINEPREFIX' WINEARCH=win64 WINEDEBUG='$WINEDEBUG' DISPLAY='${DISPLAY:-}' WINEDLLOVERRIDES='$WINEDLLOVERRIDES'"
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
