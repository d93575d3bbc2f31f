#!/usr/bin/env bash
# make bench: the native benchmarks (one core), then the display pacing and
# the whole saver under Wine on a 1920 x 1080 screen.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
status=0

echo "== Native benchmarks (one core) =="
taskset -c 0 build/native/bench/comet_bench --benchmark_min_time=1 || status=1

pacing=build/win64/bench/swap_pacing.exe
if [ -x "$pacing" ] || [ -f "$pacing" ]; then
  echo "== Display pacing under Wine, 1920x1080 =="
  env -u DISPLAY COMET_XVFB_SIZE=1920x1080x24 tools/wine-run.sh "$pacing" || status=1
fi

if [ -f tools/bench-saver.sh ]; then
  echo "== comet.scr /s under Wine, 1920x1080 =="
  tools/bench-saver.sh || status=1
fi
exit $status
