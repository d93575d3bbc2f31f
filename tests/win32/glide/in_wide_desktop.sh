#!/usr/bin/env bash
# Runs one test of a display test program on a 16:9 screen: a Wine virtual
# desktop of 960 x 540 inside whatever X screen the run has. The desktop
# does not hand the program's exit code back, so the verdict is read from
# GoogleTest's own summary.
set -u
program=$1
filter=$2
output=$("$(dirname "$0")/../../../tools/wine-run.sh" explorer /desktop=comet-glide-wide,960x540 \
    "$program" --gtest_filter="$filter" </dev/null 2>&1)
echo "$output"
grep -q '^\[  PASSED  \] 1 test' <<<"$output" && ! grep -q '^\[  FAILED  \]' <<<"$output"
