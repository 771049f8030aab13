#!/usr/bin/env bash
# Runs the benchmarks and prints their figures; nothing here passes or fails a test.
# Usage: run-bench.sh WIN64_BUILD_DIR
# The benchmarks are Win32 programs, run under Wine in the build's prefix.
set -u
here=$(cd "$(dirname "$0")" && pwd)
win64=$(cd "${1:?win64 build dir}" && pwd)
env_sh="$here/wine-env.sh"
status=0

win_programs=("$win64"/bench/bench_*.exe)
if [ -e "${win_programs[0]}" ]; then
    # A display and server left running by someone else stay running afterwards.
    started=""
    [ -f "$win64/wine/display" ] || started=yes
    "$env_sh" "$win64" setup >/dev/null || exit 1
    for program in "${win_programs[@]}"; do
        echo "== $(basename "$program" .exe) (Wine)"
        WAVE_TIMEOUT=600 "$env_sh" "$win64" run "$program" || status=1
    done
    [ -n "$started" ] && "$env_sh" "$win64" teardown
fi

# The real program on the virtual card's kernel driver.
echo "== e2e_panel_bench (Wine, driver)"
"$here/../bench/e2e_bench.sh" "$win64" || status=1
exit $status
