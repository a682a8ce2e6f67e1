#!/usr/bin/env bash
# Idle cost of the windows: the CPU time each one takes while it waits, read from
# /proc/<pid>/stat over IDLE_SECONDS (60) per window and state, and how often its
# main (user-interface) thread woke up (voluntary context switches, from
# /proc/<pid>/status), which depends less on the machine's load. All states run
# side by side on one X display (run it under xvfb-run; scripts/bench.sh does).
#
#   bash bench/idle/idle.sh
#
# Needs the central database (VONDRIX_DB_HOST, VONDRIX_DB_PORT, VONDRIX_DB_ADMIN_SOCKET)
# and sox and lame for the songs. The programs come from BIN (default: build/), a
# folder holding app/vondrix, tests/gamedriver/vdx_gamedriver and tests/e2e/vdx_netplayer,
# or from a flat folder holding the three.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
bin=${BIN:-${BUILD_DIR:-$top/build}}
seconds=${IDLE_SECONDS:-60}
warmup=${IDLE_WARMUP:-15}
program() {
    for p in "$bin/$1" "$bin/$2/$1"; do [ -x "$p" ] && { echo "$p"; return; }; done
    echo "error: $1 not found under $bin" >&2
    exit 1
}
vondrix=$(program vondrix app)
gamedriver=$(program vdx_gamedriver tests/gamedriver)
netplayer=$(program vdx_netplayer tests/e2e)

work=$(mktemp -d "${TMPDIR:-/tmp}/vondrix-idle.XXXXXX")
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

home() { # a program folder with answer keys
    mkdir -p "$work/$1"
    printf '[controls]\r\ndevice=keyboard\r\nbutton1=q\r\nbutton2=w\r\nbutton3=e\r\nbutton4=r\r\n' \
        >"$work/$1/settings.ini"
    echo "$work/$1"
}

user() { # a user with password "pw"
    local name=$1$RANDOM$RANDOM
    mariadb --no-defaults --socket="$VONDRIX_DB_ADMIN_SOCKET" --user=root vondrix_mijnPHP -e \
        "insert into phpbb_users (user_id, username, user_password, user_email, user_from)
         select coalesce(max(user_id),0)+1, '$name', md5('pw'), 'x@example.org', 'Belgium '
         from phpbb_users"
    echo "$name"
}

free_port() {
    python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1]); s.close()'
}

# Songs of 30 s for the network games.
mkdir -p "$work/songs"
printf '#EXTM3U\r\n' >"$work/songs/songs.m3u"
for n in 1 2 3 4 5 6; do
    sox -n -r 22050 -b 16 -c 1 "$work/songs/s$n.wav" synth 30 sine $((220 + 40 * n))
    lame --quiet -b 64 --tt "Song $n" --ta "Artist $n" --id3v1-only "$work/songs/s$n.wav" "$work/songs/s$n.mp3"
    rm "$work/songs/s$n.wav"
    printf '#EXTINF:30,Artist %s - Song %s\r\n%s\r\n' "$n" "$n" "$work/songs/s$n.mp3" >>"$work/songs/songs.m3u"
done

declare -A measured
start() { # start NAME HOME COMMAND...: runs a program to be measured
    local name=$1 dir=$2
    shift 2
    VONDRIX_HOME=$dir "$@" >"$work/$name.log" 2>&1 &
    pids+=($!)
    measured[$name]=$!
}
helper() { # helper NAME HOME COMMAND...: runs a program that is not measured
    local dir=$2
    VONDRIX_HOME=$dir "${@:3}" >"$work/$1.log" 2>&1 &
    pids+=($!)
}

start online "$(home online)" "$vondrix"
start host-waiting "$(home hw)" "$gamedriver" music --no-start
start host-music "$(home hm)" "$gamedriver" music
start host-trivia "$(home ht)" "$gamedriver" trivia

# A client in a music game: the host starts as soon as it has joined. The client does
# not answer, so that each round waits its 20 s, as the host's own game does.
port=$(free_port)
helper music-host "$(home mh)" "$netplayer" host --user "$(user ih)" --password pw --port "$port" \
    --playlist "$work/songs/songs.m3u" --tijd 20 --clients 1 --rounds 50
sleep 3
start client-music "$(home cm)" "$netplayer" client --user "$(user ic)" --password pw \
    --port "$port" --playlist "$work/songs/songs.m3u" --answer none

# A client in a trivia game (it types no answers).
port3=$(free_port)
helper trivia-host "$(home th)" "$netplayer" host --user "$(user it)" --password pw --port "$port3" \
    --playlist "$work/songs/songs.m3u" --spel trivia --tijd 20 --clients 1 --rounds 50
sleep 3
start client-trivia "$(home ct)" "$netplayer" client --user "$(user iu)" --password pw \
    --port "$port3" --playlist "$work/songs/songs.m3u" --spel trivia

# A client that joined and waits for the game to start: the host waits for a second client.
port2=$(free_port)
helper waiting-host "$(home wh)" "$netplayer" host --user "$(user iw)" --password pw --port "$port2" \
    --playlist "$work/songs/songs.m3u" --tijd 20 --clients 2 --rounds 50
sleep 3
start client-joined "$(home cj)" "$netplayer" client --user "$(user ij)" --password pw \
    --port "$port2" --playlist "$work/songs/songs.m3u"

ticks() { # utime + stime of a process, in clock ticks
    awk '{ print $14 + $15 }' "/proc/$1/stat"
}
main_ticks() { # the same for the main (user-interface) thread alone
    awk '{ print $14 + $15 }' "/proc/$1/task/$1/stat"
}
wakeups() { # voluntary context switches of the process's main thread
    awk '/^voluntary_ctxt_switches/ { print $2 }' "/proc/$1/status"
}

sleep "$warmup"
declare -A before woke main
for name in "${!measured[@]}"; do
    before[$name]=$(ticks "${measured[$name]}")
    main[$name]=$(main_ticks "${measured[$name]}")
    woke[$name]=$(wakeups "${measured[$name]}")
done
sleep "$seconds"
hz=$(getconf CLK_TCK)
echo "machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) cores, $(uname -sr)"
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "Over ${seconds} s, after ${warmup} s in the state: CPU of one core (whole program, then its"
echo "main thread alone; the rest is the media player's threads) and main-thread wake-ups per second:"
for name in online host-waiting host-music host-trivia client-music client-trivia client-joined; do
    pid=${measured[$name]}
    if [ ! -r "/proc/$pid/stat" ]; then
        echo "$name: the program ended early; its output:"
        sed 's/^/    /' "$work/$name.log"
        continue
    fi
    after=$(ticks "$pid")
    w=$(($(wakeups "$pid") - ${woke[$name]}))
    m=$(($(main_ticks "$pid") - ${main[$name]}))
    awk -v n="$name" -v t=$((after - ${before[$name]})) -v m="$m" -v hz="$hz" -v s="$seconds" -v w="$w" \
        'BEGIN { printf "%-14s %6.2f %%  %6.2f %%  %7.1f wake-ups/s\n", n, 100 * t / hz / s, 100 * m / hz / s, w / s }'
done
