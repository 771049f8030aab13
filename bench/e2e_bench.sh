#!/usr/bin/env bash
# The real program on the virtual card's kernel driver: start to first completed
# paint, and the idle panel's request rate over ten seconds. The timing itself is
# done under Wine by e2e_panel_bench.exe, next to the driver's request counter.
# Usage: e2e_bench.sh WIN64_BUILD_DIR
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?build dir}" && pwd)
env_sh="$root/scripts/wine-env.sh"
bench="$build/bench/e2e_panel_bench.exe"
program="$build/app/WaveSettings.exe"
for f in "$bench" "$program"; do
    [ -f "$f" ] || { echo "e2e_bench: $f is not built" >&2; exit 1; }
done

# A display and server already up (make run, a test session) are left as found.
state="$build/wine"
if ! { [ -f "$state/xvfb.pid" ] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null; }; then
    trap '"$env_sh" "$build" teardown' EXIT
fi
"$env_sh" "$build" setup || exit 1
"$env_sh" "$build" driver-reset || exit 1
echo "e2e: WaveSettings.exe on the ZelkWave driver under Wine"
WAVE_TIMEOUT=300 "$env_sh" "$build" run "$bench" "Z:$(echo "$program" | tr / '\\')"
