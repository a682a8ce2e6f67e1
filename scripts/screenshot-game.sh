#!/usr/bin/env bash
# Takes screenshots of the game window on a virtual X display, as a host with two
# players shown beside it: a music round with generated songs, the same round after
# the host's right answer at 5 seconds left, and a trivia round from the test database.
#
#   bash scripts/screenshot-game.sh MUSIC.png TRIVIA.png [ANSWERED.png]
#
# The trivia shot needs MariaDB (scripts/database.sh); without it it is left out.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
[ $# -ge 2 ] || { echo "usage: $0 MUSIC.png TRIVIA.png [ANSWERED.png]" >&2; exit 2; }
music=$(realpath -m "$1")
trivia=$(realpath -m "$2")
answered=${3:+$(realpath -m "$3")}
build=${BUILD_DIR:-$top/build}
driver=$build/tests/gamedriver/vdx_gamedriver
[ -x "$driver" ] || "$top/scripts/build.sh"

. "$top/scripts/services.sh"
. "$top/scripts/database.sh"
home=$(mktemp -d "${TMPDIR:-/tmp}/vondrix-shot.XXXXXX")
trap 'stop_services; rm -rf "$home"' EXIT
start_audio

# shot NAME OUT SECONDS DRIVER-ARGS...: the picture is taken SECONDS after "Start!".
shot() {
    local name=$1 out=$2 delay=$3
    shift 3
    mkdir -p "$home/$name"
    VONDRIX_HOME=$home/$name VDX_DRIVER_READY=$home/$name/ready \
        xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
        ready=$1 delay=$2 out=$3
        shift 3
        "$@" &
        pid=$!
        for _ in $(seq 600); do [ -e "$ready" ] || sleep 0.1; done
        sleep "$delay"
        import -window root "$out"
        kill "$pid"
        wait "$pid" || true
    ' _ "$home/$name/ready" "$delay" "$out" "$driver" "$@"
    echo "$out"
}

shot music "$music" 4 music
[ -n "$answered" ] && shot answered "$answered" 16.5 music --answer-after 15.5
if start_database >/dev/null 2>&1; then
    shot trivia "$trivia" 4 trivia
else
    echo "warning: no database, no trivia screenshot" >&2
fi
