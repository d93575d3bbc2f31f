# Sourced: the Wine prefix that belongs to the build, made once.
# 32-bit, no debugger on faults (winedbg would hang a headless run), no
# prompts for Mono or Gecko.
COMET_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${COMET_WINEPREFIX:-$COMET_ROOT/build/wineprefix}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

comet_wine_prefix() {
  [ -f "$WINEPREFIX/.comet-ready" ] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.comet-ready" ]; then
      rm -rf "$WINEPREFIX"
      DISPLAY= wineboot -i >/dev/null 2>&1
      DISPLAY= wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
        /v Debugger /d 'comet-no-debugger' /f >/dev/null 2>&1
      DISPLAY= wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
        /v Auto /d 0 /f >/dev/null 2>&1
      wineserver -w
      touch "$WINEPREFIX/.comet-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
}
