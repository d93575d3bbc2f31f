#!/usr/bin/env bash
# When the Glide display cannot open, "Init Failed" is shown and the process
# ends once it is dismissed.
. "$(dirname "$0")/saver_lib.sh"
saver_init "$@"

COMET_GLIDE_FAIL=open start_saver /s
box=$(wait_window "Error" 20) || fail "no message box"
shot message
[ "$(wait_exit "$SAVER_PID" 1)" = running ] || fail "ended before the message was dismissed"
xdotool windowfocus --sync "$box" 2>/dev/null
xdotool key --window "$box" Return
xdotool key Return
code=$(wait_exit "$SAVER_PID" 10)
[ "$code" != running ] || fail "still running after the message"
[ "$code" != 0 ] || fail "a failed start ended with 0"
[ "$(window_count "Screen Saver")" = 0 ] || fail "a saver window was left"
echo "ok: message shown, process ended with $code"
