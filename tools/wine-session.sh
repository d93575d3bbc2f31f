#!/usr/bin/env bash
# Runs a command with one Xvfb and one persistent wineserver for the whole
# run, so each Windows test program starts in well under a second.
set -u
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
comet_wine_prefix
"$WINESERVER" -p
# Wine's background services start with the first program and would keep
# that program's output pipe open (CTest would wait for ever): start them
# here, detached from every pipe.
"$COMET_ROOT/tools/with-xvfb.sh" bash -c '"$WINELOADER" wineboot </dev/null >/dev/null 2>&1; "$@"' session "$@"
rc=$?
"$WINESERVER" -k 2>/dev/null
exit $rc
