#!/usr/bin/env bash
# Full screen with the logo off: frames within a second, a key press ends it
# with exit code 0 and takes the display window with it.
. "$(dirname "$0")/saver_lib.sh"
saver_init "$@"

start_saver /s
wait_window "Screen Saver" 20 >/dev/null || fail "no saver window"
sleep 1
shot running1
sleep 0.3
shot running2
[ "$(window_count Comet)" -ge 1 ] || fail "no display window"
above "$(mean_brightness running1)" 0.01 || problem "first second shows a black screen"
[ "$(differing_pixels running1 running2)" -gt 100 ] || problem "the picture does not move"

press_key space
code=$(wait_exit "$SAVER_PID" 10)
[ "$code" = 0 ] || fail "exit after a key press: $code"
[ "$(window_count Comet)" = 0 ] || fail "display window still shown"
[ "$(window_count "Screen Saver")" = 0 ] || fail "saver window still shown"
finish "frames drawn, key press ended the saver with 0"
