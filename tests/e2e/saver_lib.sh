# Sourced by the end-to-end scripts: the real saver under Wine on an X
# display, driven with xdotool and seen through screenshots.
# Usage in a script: . saver_lib.sh; saver_init "$@"   (argument: comet.scr)
set -u
E2E_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
. "$E2E_ROOT/tools/wine-env.sh"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# A failed check that does not stop the script: the later checks still run,
# and finish reports all of them.
PROBLEMS=0
problem() {
    echo "FAIL: $*" >&2
    PROBLEMS=$((PROBLEMS + 1))
}

finish() {
    [ "$PROBLEMS" = 0 ] || exit 1
    echo "ok: $*"
}

# Re-runs the calling script on a private Xvfb when there is no display.
saver_init() {
    SAVER=$(realpath "$1")
    [ -f "$SAVER" ] || fail "no saver at $1"
    if [ -z "${DISPLAY:-}" ]; then
        exec "$E2E_ROOT/tools/with-xvfb.sh" "$0" "$@"
    fi
    comet_wine_prefix
    OUT=${E2E_OUT:-$(dirname "$SAVER")/e2e-out}/$(basename "$0" .sh)
    rm -rf "$OUT"
    mkdir -p "$OUT"
    trap saver_cleanup EXIT
    set_settings 0 200 20
}

# Stops any saver this script started and left running.
saver_cleanup() {
    local pid
    for pid in ${SAVER_PIDS:-}; do
        kill "$pid" 2>/dev/null
    done
}

set_settings() {
    local name value
    for pair in "LogoOn=$1" "NbStars=$2" "Percent=$3"; do
        name=${pair%%=*}
        value=${pair#*=}
        comet_wine reg add 'HKLM\SOFTWARE\Quorlith' /v "$name" /t REG_DWORD /d "$value" /f >/dev/null 2>&1 ||
            fail "cannot write setting $name"
    done
}

# start_saver ARGS...: runs the saver in the background; its pid is in
# SAVER_PID and its exit code goes to $OUT/exit.<pid> when it ends.
start_saver() {
    (
        comet_wine "$SAVER" "$@" >/dev/null 2>&1
        echo $? >"$OUT/exit.$BASHPID"
    ) &
    SAVER_PID=$!
    SAVER_PIDS="${SAVER_PIDS:-} $SAVER_PID"
}

# wait_exit PID SECONDS: prints the exit code, or "running" after SECONDS.
wait_exit() {
    local pid=$1 deadline=$((SECONDS + $2))
    while kill -0 "$pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        echo running
    else
        wait "$pid" 2>/dev/null
        cat "$OUT/exit.$pid" 2>/dev/null || echo unknown
    fi
}

# wait_window NAME SECONDS: prints the X window id of a window whose title is
# exactly NAME once one is mapped, or fails.
wait_window() {
    local deadline=$((SECONDS + $2)) id
    while [ $SECONDS -lt $deadline ]; do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
        [ -n "$id" ] && {
            echo "$id"
            return 0
        }
        sleep 0.1
    done
    return 1
}

window_count() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | wc -l; }

shot() { import -window root "$OUT/$1.png"; }

# mean_brightness SHOT [GEOMETRY]: mean of all channels, 0..1, of the whole
# screenshot or of the region WxH+X+Y.
mean_brightness() {
    if [ -n "${2:-}" ]; then
        convert "$OUT/$1.png" -crop "$2" +repage -format '%[fx:mean]' info:
    else
        convert "$OUT/$1.png" -format '%[fx:mean]' info:
    fi
}

# differing_pixels A B: how many pixels differ between two screenshots.
differing_pixels() { compare -metric AE "$OUT/$1.png" "$OUT/$2.png" null: 2>&1 | cut -d' ' -f1; }

# above A B: true when the decimal A is greater than B.
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

# Keys go to the window that has the focus; without a window manager the
# saver's own window is given it explicitly.
press_key() {
    local id
    id=$(xdotool search --name '^Screen Saver$' 2>/dev/null | head -1)
    [ -n "$id" ] && xdotool windowfocus --sync "$id" 2>/dev/null
    xdotool key "$1"
}
