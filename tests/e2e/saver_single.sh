#!/usr/bin/env bash
# A second full-screen start while one runs ends at once with 0 and leaves
# the first one running.
. "$(dirname "$0")/saver_lib.sh"
saver_init "$@"

start_saver /s
first=$SAVER_PID
wait_window "Screen Saver" 20 >/dev/null || fail "no saver window"
start_saver /s
code=$(wait_exit "$SAVER_PID" 15)
[ "$code" = 0 ] || fail "second start: $code"
[ "$(wait_exit "$first" 1)" = running ] || fail "the first saver ended"
[ "$(window_count "Screen Saver")" = 1 ] || fail "not exactly one saver window"

press_key space
[ "$(wait_exit "$first" 10)" = 0 ] || fail "first saver did not end with 0"
echo "ok: second start ended with 0, first kept running"
