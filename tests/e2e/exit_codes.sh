#!/usr/bin/env bash
# Runs the saver under Wine with a few command tails and checks the exit
# codes: -1 (255 here) for a tail that names no usable mode, 0 for the
# password change on the Windows 95 family.
# Usage: exit_codes.sh COMET_SCR WINE_RUN
set -u
scr=$1
run=$2
if [ -z "${DISPLAY:-}" ]; then
  exec "$(dirname "$run")/with-xvfb.sh" "$0" "$@"
fi

fail=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# expect WANT DESCRIPTION PROGRAM ARGS...: a dialog or window that should not
# be there would hold the program; the timeout turns that into a failure.
expect() {
  local want=$1 what=$2
  shift 2
  timeout 60 "$run" "$@" </dev/null >/dev/null 2>&1
  local got=$?
  if [ "$got" = "$want" ]; then
    echo "ok: $what -> $got"
  else
    echo "FAIL: $what -> $got, expected $want"
    fail=1
  fi
}

expect 255 "/x" "$scr" /x
expect 255 "/1" "$scr" /1
expect 255 "/p 0" "$scr" /p 0
expect 255 "/p:1234" "$scr" /p:1234
expect 255 "/a outside the Windows 95 family" "$scr" /a

# Wine reports the Windows 95 family to a program by its file name.
win98=$work/comet98.scr
cp "$scr" "$win98"
"$run" reg add 'HKCU\Software\Wine\AppDefaults\comet98.scr' /v Version /d win98 /f >/dev/null 2>&1
expect 255 "/x on the Windows 95 family" "$win98" /x
expect 0 "/a on the Windows 95 family" "$win98" /a

exit $fail
