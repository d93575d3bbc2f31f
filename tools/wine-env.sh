# Sourced: the Wine prefix that belongs to the build, made once.
# 64-bit Wine: this machine cannot execute 32-bit code, so the Windows tests
# run the x86-64 build of the same sources. No debugger on faults (winedbg
# would hang a headless run), no prompts for Mono or Gecko.
COMET_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${COMET_WINEPREFIX:-$COMET_ROOT/build/wineprefix}
export WINEARCH=win64
export WINELOADER=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver64
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

comet_wine() { "$WINELOADER" "$@"; }

comet_wine_prefix() {
  [ -f "$WINEPREFIX/.comet-ready" ] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.comet-ready" ]; then
      rm -rf "$WINEPREFIX"
      DISPLAY= comet_wine wineboot -i >/dev/null 2>&1
      DISPLAY= comet_wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
        /v Debugger /d 'comet-no-debugger' /f >/dev/null 2>&1
      DISPLAY= comet_wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
        /v Auto /d 0 /f >/dev/null 2>&1
      "$WINESERVER" -w
      touch "$WINEPREFIX/.comet-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
}
