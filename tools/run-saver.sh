#!/usr/bin/env bash
# `make run`: the saver full screen under Wine, from the Wine tree (the
# x86-64 build of the same sources; this machine cannot run the i686
# product). On the user's display when there is one, and then until the
# user moves the mouse or presses a key; else on a private Xvfb for a few
# seconds, saving screenshots under out/.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tools/wine-env.sh"
saver=${COMET_SCR:-$root/build/win64/comet.scr}
[ -f "$saver" ] || { echo "run-saver: no $saver; build it with make win64" >&2; exit 1; }
comet_wine_prefix

if [ -n "${DISPLAY:-}" ] && [ -z "${COMET_RUN_HEADLESS:-}" ]; then
  echo "run-saver: running on $DISPLAY; move the mouse or press a key to end it"
  comet_wine "$saver" /s
  exit $?
fi

if [ -z "${DISPLAY:-}" ]; then
  exec "$root/tools/with-xvfb.sh" env COMET_RUN_HEADLESS=1 "$0" "$@"
fi
out=$root/out
mkdir -p "$out"
seconds=${COMET_RUN_SECONDS:-12}
comet_wine "$saver" /s >/dev/null 2>&1 &
pid=$!
for i in $(seq 1 "$seconds"); do
  sleep 1
  kill -0 "$pid" 2>/dev/null || break
  import -window root "$out/saver-$(printf %02d "$i").png"
done
# A key press ends the saver the way a user would.
id=$(xdotool search --name '^Screen Saver$' 2>/dev/null | head -1)
[ -n "$id" ] && xdotool windowfocus --sync "$id" 2>/dev/null
xdotool key space
for _ in $(seq 1 50); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.2
done
if kill -0 "$pid" 2>/dev/null; then
  echo "run-saver: the saver did not end after a key press" >&2
  kill "$pid"
  exit 1
fi
wait "$pid"
code=$?
echo "run-saver: exit code $code; screenshots in $out/saver-*.png"
exit "$code"
