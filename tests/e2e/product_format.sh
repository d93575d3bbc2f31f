#!/usr/bin/env bash
# The shipped saver: a 32-bit x86 GUI executable that needs nothing beside it,
# only DLLs that every Windows from 98 on carries.
# Usage: product_format.sh COMET_SCR OBJDUMP
set -u
scr=$1
objdump=$2
fail=0
headers=$("$objdump" -p "$scr") || { echo "cannot read $scr"; exit 1; }

check() {
  if grep -qE "$2" <<<"$headers"; then
    echo "ok: $1"
  else
    echo "FAIL: $1"
    fail=1
  fi
}
check "PE32 for i386" '^[^:]*:[[:space:]]+file format pei-i386$'
check "GUI subsystem" '^Subsystem[[:space:]]+0+2[[:space:]]'

allowed='^(KERNEL32|USER32|GDI32|ADVAPI32|COMCTL32|WINMM|msvcrt)\.dll$'
imports=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
if [ -z "$imports" ]; then
  echo "FAIL: no import table found"
  fail=1
fi
for dll in $imports; do
  if grep -qiE "$allowed" <<<"$dll"; then
    echo "ok: imports $dll"
  else
    echo "FAIL: imports $dll, which is not a system DLL of every Windows"
    fail=1
  fi
done
exit $fail
