#!/usr/bin/env bash
# Lobby load benchmark: builds vdx_bench_lobbyload, starts a throwaway MariaDB of its
# own, runs the benchmark against it and stops it again.
#
#   bash scripts/bench-lobby.sh [--users 50,200,500] [--seconds 60] [--modes reread,append]
#
# Prints a Markdown table: per chat-read mode and number of lobby users, the tick
# latency (median, p99), the chat poll's p99, the read on entering the tab, and the
# CPU used by the server and by the benchmark itself (100 % = one core).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
"$top/scripts/build.sh" >/dev/null
cmake --build "$build" --target vdx_bench_lobbyload >/dev/null

# 500 lobby connections and their sockets on both sides.
ulimit -n "$(ulimit -Hn)" 2>/dev/null || true

. "$top/scripts/services.sh"
. "$top/scripts/database.sh"
trap stop_database EXIT
start_database
"$build/bench/lobbyload/vdx_bench_lobbyload" --server-pid "$VDX_DB_PID" "$@"
