#!/usr/bin/env bash
# Runs a Windows program under Wine in the build's prefix; starts a private
# Xvfb when no display is set.
set -u
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
comet_wine_prefix
if [ -z "${DISPLAY:-}" ]; then
  exec "$COMET_ROOT/tools/with-xvfb.sh" "$WINELOADER" "$@"
fi
exec "$WINELOADER" "$@"
