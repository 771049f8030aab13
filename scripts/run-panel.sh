#!/usr/bin/env bash
# Starts the virtual card's driver and the panel under Wine.
# Usage: run-panel.sh BUILD_DIR
# With a display ($DISPLAY) the panel runs there until it is closed. Without one
# it runs on the private Xvfb, a screenshot goes to BUILD_DIR/../run-screenshot.png
# and the panel is closed again.
set -u
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?build dir}" && pwd)
env_sh="$here/wine-env.sh"
program="$build/app/WaveSettings.exe"
shot="$(dirname "$build")/run-screenshot.png"
# The main window, or the message box that says no card was found.
window_name=${WAVE_WINDOW_NAME:-MIRVA}

[ -f "$program" ] || { echo "run-panel: $program is not built" >&2; exit 1; }
if [ -n "${DISPLAY:-}" ]; then export WAVE_USE_DISPLAY="$DISPLAY"; else unset WAVE_USE_DISPLAY; fi

"$env_sh" "$build" setup || exit 1
eval "$("$env_sh" "$build" env)"

WAVE_TIMEOUT=${WAVE_TIMEOUT:-86400} "$env_sh" "$build" run "$program" &
panel=$!

found=""
for _ in $(seq 100); do
    found=$(xdotool search --onlyvisible --name "$window_name" 2>/dev/null | head -n 1)
    [ -n "$found" ] && break
    kill -0 "$panel" 2>/dev/null || break
    sleep 0.1
done
[ -n "$found" ] || echo "run-panel: no window named like '$window_name' appeared" >&2

status=0
if [ -n "${WAVE_USE_DISPLAY:-}" ]; then
    echo "run-panel: the panel runs on $DISPLAY; close it to end"
    wait "$panel"
    status=$?
else
    # Mapped is not yet painted: leave the first paint a moment before the picture.
    [ -n "$found" ] && sleep 0.5
    import -window root "$shot" && echo "run-panel: screenshot saved to $shot"
    # Closed as a user would close it, and forced only if it does not go.
    "$env_sh" "$build" run taskkill /im WaveSettings.exe >/dev/null 2>&1
    timeout 10 tail --pid="$panel" -f /dev/null ||
        "$env_sh" "$build" run taskkill /f /im WaveSettings.exe >/dev/null 2>&1
    wait "$panel" 2>/dev/null
    [ -n "$found" ] || status=1
fi
"$env_sh" "$build" teardown
exit $status
