#!/usr/bin/env bash
# Takes a screenshot of the online window on a virtual X display.
#
#   bash scripts/screenshot-online.sh OUT.png
#
# The program runs with a fresh program folder holding only the answer keys, so
# the window opens without the first-run message, on its Login tab.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
[ $# -ge 1 ] || { echo "usage: $0 OUT.png" >&2; exit 2; }
out=$(realpath -m "$1")
build=${BUILD_DIR:-$top/build}
[ -x "$build/app/vondrix" ] || "$top/scripts/build.sh"

home=$(mktemp -d "${TMPDIR:-/tmp}/vondrix-shot.XXXXXX")
trap 'rm -rf "$home"' EXIT
printf '[controls]\r\ndevice=keyboard\r\nbutton1=a\r\nbutton2=s\r\nbutton3=d\r\nbutton4=f\r\n' \
    >"$home/settings.ini"

VONDRIX_HOME=$home xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    "$1" &
    pid=$!
    sleep "${SHOT_DELAY:-3}"
    import -window root "$2"
    kill "$pid"
    wait "$pid" || true
' _ "$build/app/vondrix" "$out"
echo "$out"
