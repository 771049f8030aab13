#!/usr/bin/env bash
# The real program on the virtual card's kernel driver: start to first completed
# paint beside a minimal dialog program's, and the idle panel's request rate over
# ten seconds; the timing itself is done under Wine by e2e_panel_bench.exe, next to
# the driver's request counter. Then the idle panel's wake-ups and CPU time over
# 30 s from /proc, beside a program that only sends the lamp poll's requests; the
# same for the minimised panel; and the memory (PSS) of the panel 5 s after its
# start, beside the minimal dialog program's.
# Usage: e2e_bench.sh WIN64_BUILD_DIR
# WAVE_BENCH_PROGRAM: another build of WaveSettings.exe to measure in place of this
# tree's; WAVE_BENCH_ALSO: more builds (paths, space-separated) whose memory is
# measured in the same rounds, to set one commit beside another.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?build dir}" && pwd)
env_sh="$root/scripts/wine-env.sh"
bench="$build/bench/e2e_panel_bench.exe"
program=${WAVE_BENCH_PROGRAM:-$build/app/WaveSettings.exe}
minimal="$build/bench/minimal_dialog.exe"
floor="$build/bench/lamp_poll_floor.exe"
idle_seconds=30
for f in "$bench" "$program" "$minimal" "$floor"; do
    [ -f "$f" ] || { echo "e2e_bench: $f is not built" >&2; exit 1; }
done

# The programs as they ship: stripped copies, each in a folder of its own so that it
# keeps its name. Wine reads a MinGW image whole, debug sections included, so an
# unstripped one would count its debug information in the start and the memory.
state="$build/wine"
shipped="$state/bench-programs"
rm -rf "$shipped"
mkdir -p "$shipped"
strip_tool=$(sed -n 's/^CMAKE_STRIP:FILEPATH=//p' "$build/CMakeCache.txt")
shipped_copy() {
    local dir
    dir=$(mktemp -d "$shipped/XXXXXX") && "$strip_tool" -o "$dir/$(basename "$1")" "$1" && echo "$dir/$(basename "$1")"
}
labels=("$program" ${WAVE_BENCH_ALSO:-} "$minimal")
programs=()
for exe in "${labels[@]}"; do programs+=("$(shipped_copy "$exe")") || exit 1; done
program=${programs[0]}
minimal=${programs[-1]}

# A display and server already up (make run, a test session) are left as found.
if ! { [ -f "$state/xvfb.pid" ] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null; }; then
    trap '"$env_sh" "$build" teardown' EXIT
fi
"$env_sh" "$build" setup || exit 1
"$env_sh" "$build" driver-reset || exit 1
echo "e2e: WaveSettings.exe on the ZelkWave driver under Wine"
winpath() { echo "Z:$(echo "$1" | tr / '\\')"; }
WAVE_TIMEOUT=300 "$env_sh" "$build" run "$bench" "$(winpath "$program")" "$(winpath "$minimal")" || exit 1

prefix="$state/prefix"
# The Linux process Wine runs an .exe of this build's prefix in (Wine names it after
# the program, cut to the kernel's 15 characters).
find_process() {
    local comm=${1:0:15} pid
    for _ in $(seq 100); do
        for pid in $(pgrep -x "$comm"); do
            if { tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$prefix"; then
                echo "$pid"
                return 0
            fi
        done
        sleep 0.1
    done
    return 1
}
# Voluntary plus involuntary context switches of all the process's threads.
switches() {
    cat /proc/"$1"/task/*/status 2>/dev/null |
        awk '/^(voluntary|nonvoluntary)_ctxt_switches:/ { n += $2 } END { print n + 0 }'
}
# User plus system CPU time of the process, in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
requests() { "$env_sh" "$build" run "$build/driver/cardctl.exe" count | tr -d '\r'; }

# Runs a program idle for idle_seconds and prints its wake-ups, CPU and requests;
# leaves the wake-ups per second in wakeups. A third argument is a command run once
# the program has settled, before the count starts.
wakeups=0
measure_idle() {
    local label=$1 exe=$2 settle=${3:-}
    WAVE_TIMEOUT=$((idle_seconds + 60)) "$env_sh" "$build" run "$exe" >/dev/null 2>&1 &
    local runner=$!
    local pid
    if ! pid=$(find_process "$(basename "$exe")"); then
        echo "e2e_bench: $label did not start" >&2
        return 1
    fi
    sleep 3  # past the start and its first paints
    if [ -n "$settle" ] && ! $settle; then
        echo "e2e_bench: $label: $settle failed" >&2
        kill "$pid" 2>/dev/null
        wait "$runner" 2>/dev/null
        return 1
    fi
    local s0 c0 r0 s1 c1 r1 t0 t1
    r0=$(requests); s0=$(switches "$pid"); c0=$(cpu_ticks "$pid"); t0=$(date +%s.%N)
    sleep "$idle_seconds"
    s1=$(switches "$pid"); c1=$(cpu_ticks "$pid"); t1=$(date +%s.%N); r1=$(requests)
    kill "$pid" 2>/dev/null
    wait "$runner" 2>/dev/null
    awk -v l="$label" -v s=$((s1 - s0)) -v c=$((c1 - c0)) -v r=$((r1 - r0)) -v t0="$t0" -v t1="$t1" \
        -v hz="$(getconf CLK_TCK)" 'BEGIN {
            t = t1 - t0
            printf "%-28s %6.1f wake-ups/s, CPU %5.1f ms/s, %5.1f requests/s over %.0f s\n",
                   l ":", s / t, c * 1000 / hz / t, r / t, t
        }'
    wakeups=$(awk -v s=$((s1 - s0)) -v t0="$t0" -v t1="$t1" 'BEGIN { print s / (t1 - t0) }')
}
echo "idle, over ${idle_seconds} s (context switches of all the program's threads from /proc):"
measure_idle "WaveSettings.exe" "$program" || exit 1
panel_wakeups=$wakeups
measure_idle "floor: only the lamp poll" "$floor" || exit 1
floor_wakeups=$wakeups
awk -v p="$panel_wakeups" -v f="$floor_wakeups" 'BEGIN { printf "idle wake-ups / floor: %.2f\n", (f > 0 ? p / f : 0) }'
minimise() { "$env_sh" "$build" run "$bench" --minimise >/dev/null; }
measure_idle "WaveSettings.exe, minimised" "$program" minimise || exit 1
awk -v p="$wakeups" -v f="$floor_wakeups" \
    'BEGIN { printf "minimised wake-ups / idle floor: %.2f (goal: no requests, at most 2 wake-ups/s)\n", (f > 0 ? p / f : 0) }'

# Proportional set size of the program's process, in kB, 5 s after its start.
memory_rounds=3
pss_after_start() {
    local exe=$1
    WAVE_TIMEOUT=60 "$env_sh" "$build" run "$exe" >/dev/null 2>&1 &
    local runner=$! pid kb
    pid=$(find_process "$(basename "$exe")") || return 1
    sleep 5
    kb=$(awk '/^Pss:/ { print $2 }' "/proc/$pid/smaps_rollup")
    kill "$pid" 2>/dev/null
    wait "$runner" 2>/dev/null
    echo "$kb"
}
median() { tr ' ' '\n' | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
echo "memory of the stripped programs, PSS 5 s after start, median of $memory_rounds rounds (each program once a round, the first start warms):"
declare -A pss
pss_after_start "$program" >/dev/null  # warms the page cache and the prefix
for _ in $(seq "$memory_rounds"); do
    for exe in "${programs[@]}"; do
        kb=$(pss_after_start "$exe") || { echo "e2e_bench: $exe did not start" >&2; exit 1; }
        pss[$exe]="${pss[$exe]:-} $kb"
    done
done
for i in "${!programs[@]}"; do
    exe=${programs[$i]}
    printf "%-50s %6.1f MB  (%s kB)\n" "${labels[$i]}:" "$(echo ${pss[$exe]} | median | awk '{ print $1 / 1024 }')" \
        "$(echo ${pss[$exe]})"
done
awk -v p="$(echo ${pss[$program]} | median)" -v f="$(echo ${pss[$minimal]} | median)" \
    'BEGIN { printf "panel memory / minimal dialog: %.2f\n", (f > 0 ? p / f : 0) }'
