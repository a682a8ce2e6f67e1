#!/usr/bin/env bash
# First start: a fresh clone of this checkout (its last commit, or REV) is started
# with the README's run command, scripts/run.sh, on a virtual X display; the time
# from the command to the first window of the program (the online window, or the
# message before it on a first start). Then the start of the program just built, to
# the online window, FIRSTSTART_RUNS (5) times.
#
#   bash bench/firststart/firststart.sh
#
# The run command starts its own central database in the clone (as a newcomer's
# first start does); the time includes it.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
rev=${REV:-HEAD}
runs=${FIRSTSTART_RUNS:-5}
work=$(mktemp -d "${TMPDIR:-/tmp}/vondrix-firststart.XXXXXX")
xvfb=
group=
cleanup() {
    if [ -n "$group" ]; then kill -TERM -- "-$group" 2>/dev/null || true; fi
    if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; fi
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

now() { date +%s.%N; }
since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.2f", b - a }'; }

# A display of our own.
Xvfb -displayfd 5 -screen 0 1280x1024x24 5>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=:$(cat "$work/display")

# Waits until a window whose name begins with "Vondrix" is on the display; 0 when it came.
window_up() {
    local limit=$1
    for _ in $(seq "$((limit * 20))"); do
        if xwininfo -root -tree 2>/dev/null | grep -q '"Vondrix'; then return 0; fi
        sleep 0.05
    done
    return 1
}

# Ends the process group of a program started with setsid, and waits until it is gone.
end_group() {
    kill -TERM -- "-$1" 2>/dev/null || true
    for _ in $(seq 200); do kill -0 -- "-$1" 2>/dev/null || return 0; sleep 0.05; done
    kill -KILL -- "-$1" 2>/dev/null || true
}

git clone -q "$top" "$work/clone"
git -C "$work/clone" checkout -q "$rev"
echo "machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) cores, $(uname -sr)"
echo "clone of $(git -C "$work/clone" log -1 --format='%h %s')"

(
    cd "$work/clone"
    unset VONDRIX_DB_HOST VONDRIX_DB_PORT VONDRIX_DB_ADMIN_SOCKET
    exec setsid bash scripts/run.sh >"$work/run.log" 2>&1
) &
group=$!
t0=$(now)
if window_up 1800; then
    echo "fresh clone, scripts/run.sh to the first window: $(since "$t0") s"
else
    echo "fresh clone: no window within 30 minutes; end of the log:"
    tail -20 "$work/run.log"
    exit 1
fi
end_group "$group"
group=

program=$work/clone/build/app/vondrix
home=$work/home
mkdir -p "$home"
printf '[controls]\r\ndevice=keyboard\r\nbutton1=a\r\nbutton2=s\r\nbutton3=d\r\nbutton4=f\r\n' >"$home/settings.ini"
times=()
for _ in $(seq "$runs"); do
    t0=$(now)
    VONDRIX_HOME=$home setsid "$program" >/dev/null 2>&1 &
    pid=$!
    window_up 60 && times+=("$(since "$t0")")
    end_group "$pid"
    wait "$pid" 2>/dev/null || true
done
echo "built program to the online window: ${times[*]} s"
