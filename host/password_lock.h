// The password lock's pure rule, apart so that it can be checked without a
// real tick counter.
#ifndef COMET_PASSWORD_LOCK_H
#define COMET_PASSWORD_LOCK_H

#include <windows.h>

// The tick value that stands for "no check has ended yet".
const DWORD NO_CHECK_TICK = 0xFFFFFFFF;

// True when a close request at `now` comes too soon after the check that
// ended at `lastCheckTick`; modulo 2^32, so it holds across the counter's
// wrap.
bool insideRecheckGuard(DWORD now, DWORD lastCheckTick);

#endif
