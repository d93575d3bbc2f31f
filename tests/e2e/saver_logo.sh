#!/usr/bin/env bash
# With the logo on, the intro plays before the star field: at its brightest
# the middle of the screen, where the logo sits, is far brighter than the
# star field there afterwards.
. "$(dirname "$0")/saver_lib.sh"
saver_init "$@"
set_settings 1 200 20
# A quarter of the 1024 x 768 screen around its centre.
MIDDLE=256x192+384+288

start_saver /s
wait_window "Comet" 20 >/dev/null || fail "no display window"
best=0
for i in $(seq 1 16); do
    shot "intro$i"
    b=$(mean_brightness "intro$i" "$MIDDLE")
    above "$b" "$best" && best=$b
    sleep 0.4
done
# The intro lasts about 8.5 s; after it, the scene.
wait_window "Screen Saver" 20 >/dev/null || fail "no saver window after the intro"
sleep 2
shot scene
scene=$(mean_brightness scene "$MIDDLE")
echo "brightest intro frame $best, scene $scene"
above "$best" 0.3 || problem "no bright logo frame"
above "$best" "$(awk -v s="$scene" 'BEGIN { print 2 * s }')" || problem "intro not brighter than the scene"
press_key space
[ "$(wait_exit "$SAVER_PID" 10)" = 0 ] || fail "saver did not end with 0"
finish "logo intro seen before the scene"
