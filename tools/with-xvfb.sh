#!/usr/bin/env bash
# Runs a command on a private Xvfb display and stops the server afterwards.
# COMET_XVFB_SIZE sets the screen (default 1024x768x24).
set -u
geometry=${COMET_XVFB_SIZE:-1024x768x24}
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 "$geometry" -nolisten tcp 3>"$fifo" 2>/dev/null &
xpid=$!
read -r num <"$fifo"
rm -f "$fifo"
export DISPLAY=":$num"
"$@"
rc=$?
kill "$xpid" 2>/dev/null
wait "$xpid" 2>/dev/null
exit $rc
