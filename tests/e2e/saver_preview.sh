#!/usr/bin/env bash
# The preview inside a host window: a "Preview" child of the host's client
# size, and the saver ends with 0 when the host destroys its window. Wine 8
# does not show a child window painted by another process on the X screen,
# so the picture is judged when it can be seen: in the same process (the
# host window tests paint it and compare it with the logo pixel for pixel).
# Where it does show, it is checked here too.
# Arguments: comet.scr, the preview host program, the logo bitmap.
. "$(dirname "$0")/saver_lib.sh"
HOST=$(realpath "$2")
LOGO=$(realpath "$3")
saver_init "$@"

cd "$OUT" || fail "no output folder"
(
    comet_wine "$HOST" "$(comet_wine winepath -w "$SAVER" 2>/dev/null)" >/dev/null 2>&1
    echo $? >"$OUT/exit.host"
) &
host=$!
SAVER_PIDS=$host
deadline=$((SECONDS + 30))
while [ ! -f shoot.now ] && [ $SECONDS -lt $deadline ]; do sleep 0.2; done
[ -f shoot.now ] || fail "host never got ready"
shot preview
touch shot.done
wait "$host"
code=$(cat "$OUT/exit.host")
[ "$code" = 0 ] || fail "preview ended with $code (200: did not end, 201: not started, 203: no preview window of the client size)"

convert "$OUT/preview.png" -crop 320x240+100+100 +repage "$OUT/client.png"
convert "$LOGO" -flip -resize '320x240!' "$OUT/upright.png"
convert "$LOGO" -resize '320x240!' "$OUT/upside_down.png"
rmse() { compare -metric RMSE "$OUT/client.png" "$OUT/$1.png" null: 2>&1 | sed 's/.*(\(.*\))/\1/'; }
upright=$(rmse upright)
upside=$(rmse upside_down)
echo "difference from the upright logo $upright, from the upside-down one $upside"
if [ "$(convert "$OUT/client.png" -format '%[fx:mean.g-mean.r>0.9]' info:)" = 1 ]; then
    echo "the preview's picture is not on the X screen (another process's child window); judged in-process instead"
else
    above 0.1 "$upright" || problem "preview does not show the logo at the client size"
    above "$upside" "$(awk -v u="$upright" 'BEGIN { print 2 * u }')" || problem "preview is not upright"
fi
finish "preview window of the host's client size, ended with 0 when the host went"
