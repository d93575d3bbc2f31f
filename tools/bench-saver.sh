#!/usr/bin/env bash
# The whole saver under Wine on a 1920 x 1080 Xvfb for 10 s with the logo
# off: frames per second (from the device's swap statistics) and CPU seconds
# used per second of wall time (utime + stime of the Wine process).
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${COMET_BENCH_ON_XVFB:-}" ]; then
  COMET_XVFB_SIZE=1920x1080x24 exec "$root/tools/with-xvfb.sh" env COMET_BENCH_ON_XVFB=1 "$0" "$@"
fi
. "$root/tools/wine-env.sh"
saver=${COMET_SCR:-$root/build/win64/comet.scr}
[ -f "$saver" ] || { echo "bench-saver: no $saver" >&2; exit 1; }
comet_wine_prefix
comet_wine reg add 'HKLM\SOFTWARE\Quorlith' /v LogoOn /t REG_DWORD /d 0 /f >/dev/null 2>&1

stats=$(mktemp)
rm -f "$stats"
# The Wine loader becomes the Windows process itself, so its pid is the one
# whose CPU time counts.
COMET_GLIDE_STATS=$(comet_wine winepath -w "$stats" 2>/dev/null) "$WINELOADER" "$saver" /s >/dev/null 2>&1 &
pid=$!
for _ in $(seq 1 100); do
  xdotool search --name '^Screen Saver$' >/dev/null 2>&1 && break
  sleep 0.1
done
ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat" 2>/dev/null || echo 0; }
start_ticks=$(ticks)
start_time=$(date +%s.%N)
sleep 10
end_ticks=$(ticks)
end_time=$(date +%s.%N)
id=$(xdotool search --name '^Screen Saver$' 2>/dev/null | head -1)
[ -n "$id" ] && xdotool windowfocus --sync "$id" 2>/dev/null
xdotool key space
wait "$pid"
code=$?

hz=$(getconf CLK_TCK)
if [ ! -s "$stats" ]; then
  echo "bench-saver: no swap statistics (exit code $code)" >&2
  exit 1
fi
read -r _ swaps _ seconds <"$stats"
rm -f "$stats"
awk -v n="$swaps" -v s="$seconds" -v t0="$start_ticks" -v t1="$end_ticks" -v w0="$start_time" -v w1="$end_time" \
  -v hz="$hz" 'BEGIN {
    printf "saver 1920x1080 Xvfb: %.1f frames per second (%d swaps in %.1f s)\n", n / s, n, s
    printf "saver 1920x1080 Xvfb: %.2f CPU seconds per second\n", (t1 - t0) / hz / (w1 - w0)
  }'
