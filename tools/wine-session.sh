#!/usr/bin/env bash
# Runs a command with one Xvfb and one persistent wineserver for the whole
# run, so each Windows test program starts in well under a second.
set -u
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
comet_wine_prefix
"$WINESERVER" -p
"$COMET_ROOT/tools/with-xvfb.sh" "$@"
rc=$?
"$WINESERVER" -k 2>/dev/null
exit $rc
