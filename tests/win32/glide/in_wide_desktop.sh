#!/usr/bin/env bash
# Runs one test of a display test program on a 16:9 screen: a Wine virtual
# desktop of 960 x 540 inside whatever X screen the run has. A named desktop
# stays the one later programs of the same Wine session land in, so this
# runs in a copy of the prefix with a wineserver of its own. The desktop
# does not hand the program's exit code back, so the verdict is read from
# GoogleTest's own summary.
set -u
program=$1
filter=$2
tools=$(cd "$(dirname "$0")/../../../tools" && pwd)
. "$tools/wine-env.sh"
comet_wine_prefix
scratch=$(mktemp -d)
trap 'WINEPREFIX="$scratch/prefix" "$WINESERVER" -k 2>/dev/null; rm -rf "$scratch"' EXIT
cp -a "$WINEPREFIX" "$scratch/prefix"
# Output to a file: Wine's services, started by this first program of the new
# server, would hold a pipe open.
COMET_WINEPREFIX="$scratch/prefix" "$tools/wine-run.sh" explorer /desktop=comet-glide-wide,960x540 \
    "$program" --gtest_filter="$filter" </dev/null >"$scratch/output.txt" 2>&1
cat "$scratch/output.txt"
grep -q '^\[  PASSED  \] 1 test' "$scratch/output.txt" && ! grep -q '^\[  FAILED  \]' "$scratch/output.txt"
