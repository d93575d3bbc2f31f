#!/usr/bin/env bash
# A small mouse movement freezes the picture without closing; a larger one
# closes.
. "$(dirname "$0")/saver_lib.sh"
saver_init "$@"

xdotool mousemove 400 300
start_saver /s
wait_window "Screen Saver" 20 >/dev/null || fail "no saver window"
sleep 1.5
shot moving
above "$(mean_brightness moving)" 0.01 || problem "no picture shown, so freezing cannot be seen"
xdotool mousemove 401 301
sleep 0.5
shot frozen1
sleep 0.5
shot frozen2
[ "$(wait_exit "$SAVER_PID" 0)" = running ] || fail "a 2-pixel move closed the saver"
[ "$(differing_pixels frozen1 frozen2)" = 0 ] || problem "picture still moving after input"
xdotool mousemove 410 310
code=$(wait_exit "$SAVER_PID" 10)
[ "$code" = 0 ] || fail "larger move: $code"
finish "small move froze the picture, larger move closed with 0"
