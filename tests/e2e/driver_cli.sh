#!/usr/bin/env bash
# The driver's set-up commands and cardctl from the shell, as `make run` and the
# end-to-end suite use them. Usage: driver_cli.sh BUILD_DIR
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:?build dir}" && pwd)
env_sh="$root/scripts/wine-env.sh"
cardctl="$build/driver/cardctl.exe"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
eval "$("$env_sh" "$build" env)"
failures=0

fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# cardctl ARGS...: exit status in $rc, output in $work/out and $work/err.
cardctl() {
    timeout 60 /usr/lib/wine/wine64 "$cardctl" "$@" >"$work/out" 2>"$work/err" </dev/null
    rc=$?
}

# json EXPRESSION: evaluates a Python expression over the parsed status as `s`.
json() {
    cardctl status --json
    [ "$rc" -eq 0 ] || { fail "status --json exited $rc: $(cat "$work/err")"; return; }
    python3 -c "import json,sys; s=json.load(open(sys.argv[1])); print($1)" "$work/out"
}

expect_one_line_error() {  # WANTED_STATUS TEXT
    [ "$rc" -eq "$1" ] || fail "exit status $rc, wanted $1"
    [ "$(wc -l <"$work/err")" -eq 1 ] || fail "stderr is not one line: $(cat "$work/err")"
    grep -q "^cardctl: .*$2" "$work/err" || fail "stderr does not say '$2': $(cat "$work/err")"
    [ ! -s "$work/out" ] || fail "stdout not empty: $(cat "$work/out")"
}

"$env_sh" "$build" driver-reset || fail "driver-reset"
[ "$(json 's["cards"][0]["answers"]')" = True ] || fail "the demo card does not answer"
[ "$(json 'len(s["cards"])')" = 4 ] || fail "status --json does not show four slots"

cardctl set dma-errors 0 5
[ "$rc" -eq 0 ] || fail "set dma-errors exited $rc"
[ "$(json 's["cards"][0]["dmaErrorCount"]')" = 5 ] || fail "set dma-errors did not reach the card"
"$env_sh" "$build" driver-reset || fail "driver-reset"
[ "$(json 's["cards"][0]["dmaErrorCount"]')" = 0 ] || fail "driver-reset left the error count"

cardctl set level 0 12 1 1
expect_one_line_error 2 "channel must be 0..10"
cardctl fault delay 10001
expect_one_line_error 2 "delay in ms must be 0..10000"

"$env_sh" "$build" driver-stop
cardctl status
expect_one_line_error 1 "the ZelkWave driver is not running"
cardctl set cards 2
expect_one_line_error 1 "the ZelkWave driver is not running"

"$env_sh" "$build" driver-start || fail "driver-start"
cardctl status
[ "$rc" -eq 0 ] || fail "the driver does not answer after driver-start"
grep -q "^card 0: answers" "$work/out" || fail "no card after driver-start"
# Started while running: restarted, fresh.
cardctl set fpga-revision 0 0x300
"$env_sh" "$build" driver-start || fail "driver-start while running"
[ "$(json 's["cards"][0]["fpgaRevision"]')" = 263 ] || fail "driver-start while running kept the old state"

[ "$failures" -eq 0 ] && echo "driver_cli: all checks passed"
exit $((failures > 0))
