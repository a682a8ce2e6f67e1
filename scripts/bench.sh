#!/usr/bin/env bash
# Builds and runs one benchmark (not a test; CI does not run them):
#
#   bash scripts/bench.sh splitter     receive splitter throughput (Google Benchmark)
#   bash scripts/bench.sh roundstart   host and four clients, 50 rounds: round start to playing
#   bash scripts/bench.sh answerpath   key press on a client to the host's record, 1000 presses
#   bash scripts/bench.sh idle         CPU of each window while it waits, 60 s per state
#   bash scripts/bench.sh firststart   fresh clone to the first window; built program to the window
#   bash scripts/bench.sh reconnect    the wait for the central connection after a KILL and in a
#                                      restart, 0 to 400 ms round trip; server frozen or gone
#   bash scripts/bench.sh longlink     the window's time for a lobby tick, a chat line, a login and
#                                      a trivia host's change of question at 0 to 400 ms round trip
#
# Extra arguments go to the benchmark program. Each prints the machine it ran on.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
which=${1:-}
shift || true

"$top/scripts/deps.sh"
target() {
    cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} >/dev/null
    cmake --build "$build" --parallel "$(nproc)" --target "$@"
}
services() {
    . "$top/scripts/services.sh"
    . "$top/scripts/database.sh"
    trap stop_services EXIT
    start_audio
    start_database
}

case "$which" in
splitter)
    target vdx_bench_splitter
    "$build/bench/splitter/vdx_bench_splitter" "$@"
    ;;
roundstart | answerpath)
    target "vdx_bench_$which"
    services
    "$build/bench/game/vdx_bench_$which" "$@"
    ;;
idle)
    target vondrix vdx_gamedriver vdx_netplayer
    services
    xvfb-run -a -s "-screen 0 1280x1024x24" bash "$top/bench/idle/idle.sh" "$@"
    ;;
reconnect)
    target vdx_bench_reconnect
    services
    "$build/bench/reconnect/vdx_bench_reconnect" "$@"
    ;;
longlink)
    # Its own throwaway server behind the proxy; the null sink for the game window's player.
    target vdx_bench_longlink
    . "$top/scripts/services.sh"
    trap stop_services EXIT
    start_audio
    QT_QPA_PLATFORM=offscreen "$build/bench/longlink/vdx_bench_longlink" "$@"
    ;;
firststart)
    bash "$top/bench/firststart/firststart.sh" "$@"
    ;;
*)
    sed -n '2,14p' "$0" >&2
    exit 2
    ;;
esac
