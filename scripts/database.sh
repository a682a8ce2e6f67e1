#!/usr/bin/env bash
# A MariaDB server of our own that holds the central database, run as the
# current user on 127.0.0.1. Source this file; it defines functions only.
#
#   start_database [FOLDER]  starts a server on a free port, loads db/schema.sql
#                            and db/seed.sql, and exports
#                              VONDRIX_DB_HOST=127.0.0.1, VONDRIX_DB_PORT=<port>,
#                              VONDRIX_DB_ADMIN_SOCKET=<socket> (user root, no password).
#                            Without FOLDER the data is thrown away by stop_database.
#                            With FOLDER the data stays there, and a server already
#                            running on it (another run of the program, also one
#                            started at the same moment) is reused.
#   stop_database            stops the server this shell started.
#
# The pieces also run on their own, for a test that needs a server of its own:
#   bash scripts/database.sh vdx_db_install DATADIR LOG
#   bash scripts/database.sh vdx_db_server DATADIR SOCKET PORT LOG [OPTION...]   (foreground)
#   bash scripts/database.sh vdx_db_wait SOCKET PID LOG
#   bash scripts/database.sh vdx_db_prepare SOCKET
#   bash scripts/database.sh vdx_db_restart PID DOWN_MS vdx_db_server DATADIR SOCKET PORT LOG

VDX_DB_TOP=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VDX_DB_PID=
VDX_DB_FOLDER=
VDX_DB_KEEP=

if ! declare -F vdx_runtime_dir >/dev/null; then
    . "$VDX_DB_TOP/scripts/services.sh"
fi

# A TCP port on 127.0.0.1 that nobody listens on right now.
vdx_free_port() {
    python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1]); s.close()'
}

# The temporary folder of the server on DATADIR, beside it: servers that share one
# (/tmp) remove each other's temporary tables, and a parallel install then fails.
vdx_db_tmpdir() {
    mkdir -p "$1.tmp" && echo "$1.tmp"
}

# vdx_db_install DATADIR LOG: creates the system tables.
vdx_db_install() {
    mkdir -p "$1"
    if ! mariadb-install-db --no-defaults --user="$(id -un)" --auth-root-authentication-method=normal \
        --skip-test-db --skip-name-resolve --datadir="$1" --tmpdir="$(vdx_db_tmpdir "$1")" \
        >"$2" 2>&1; then
        echo "error: mariadb-install-db failed, see $2" >&2
        return 1
    fi
}

# vdx_db_server DATADIR SOCKET PORT LOG [OPTION...]: becomes the server process.
# Its own character set is utf8mb4, as in Debian's configuration; options given
# after LOG come last, so they win.
vdx_db_server() {
    local data=$1 socket=$2 port=$3 log=$4
    shift 4
    exec mariadbd --no-defaults --user="$(id -un)" --skip-name-resolve --bind-address=127.0.0.1 \
        --port="$port" --socket="$socket" --datadir="$data" --tmpdir="$(vdx_db_tmpdir "$data")" \
        --pid-file="$data/mariadbd.pid" --log-error="$log" --innodb-buffer-pool-size=32M \
        --character-set-server=utf8mb4 --collation-server=utf8mb4_general_ci "$@" >>"$log" 2>&1
}

# vdx_db_wait SOCKET PID LOG: returns once the server answers; fails when the
# process ends or after 30 seconds.
vdx_db_wait() {
    local i
    for ((i = 0; i < 600; i++)); do
        if mariadb-admin --no-defaults --socket="$1" --user=root --connect-timeout=1 ping >/dev/null 2>&1; then
            return 0
        fi
        if ! kill -0 "$2" 2>/dev/null; then
            return 1
        fi
        sleep 0.05
    done
    echo "error: the database server did not answer within 30 seconds; end of $3:" >&2
    tail -n 20 "$3" >&2
    return 1
}

# vdx_db_restart PID DOWN_MS COMMAND...: stops the server PID as a service restart
# does (SIGTERM), waits until it is gone and, DOWN_MS after the stop, runs COMMAND
# (vdx_db_server ..., to become the new server on the same port and data).
vdx_db_restart() {
    local pid=$1 down=$2 start left
    shift 2
    start=$(date +%s%N)
    kill -TERM "$pid" 2>/dev/null || true
    # Gone, or ended and not reaped yet by its parent.
    while [ -e "/proc/$pid" ] && [ "$(cut -d' ' -f3 "/proc/$pid/stat" 2>/dev/null)" != Z ]; do
        sleep 0.02
    done
    left=$(((start + down * 1000000 - $(date +%s%N)) / 1000000))
    if [ "$left" -gt 0 ]; then
        sleep "$(printf '%d.%03d' $((left / 1000)) $((left % 1000)))"
    fi
    "$@"
}

# vdx_db_sql SOCKET [DATABASE] < FILE: runs SQL as root.
vdx_db_sql() {
    mariadb --no-defaults --socket="$1" --user=root ${2:+--database="$2"}
}

# vdx_db_prepare SOCKET: loads the schema and the seed; root keeps the socket only.
vdx_db_prepare() {
    vdx_db_sql "$1" <"$VDX_DB_TOP/db/schema.sql" || {
        echo "error: loading db/schema.sql failed" >&2
        return 1
    }
    if [ -f "$VDX_DB_TOP/db/seed.sql" ]; then
        vdx_db_sql "$1" vondrix_mijnPHP <"$VDX_DB_TOP/db/seed.sql" || {
            echo "error: loading db/seed.sql failed" >&2
            return 1
        }
    fi
    echo "DELETE FROM mysql.global_priv WHERE User = 'root' AND Host <> 'localhost'; FLUSH PRIVILEGES;" |
        vdx_db_sql "$1"
}

start_database() {
    local folder=${1:-} lock status=0
    [ -n "$folder" ] || {
        vdx_db_start ""
        return
    }
    # Two programs started at once on one folder: the first starts the server while
    # the other waits, then uses it.
    mkdir -p "$folder"
    exec {lock}>"$folder/start.lock"
    flock "$lock"
    vdx_db_start "$folder" || status=$?
    flock -u "$lock" # the server started meanwhile holds the descriptor too
    exec {lock}>&-
    return $status
}

# vdx_db_start [FOLDER]: start_database without the lock.
vdx_db_start() {
    local folder=${1:-} port pid attempt fresh=
    vdx_runtime_dir >/dev/null
    local socket=$VDX_RUNTIME/mariadb.sock
    if [ -n "$folder" ]; then
        folder=$(cd "$folder" && pwd)
        VDX_DB_KEEP=1
        # Another run of the program started a server on this folder: use it.
        if [ -f "$folder/port" ] && [ -f "$folder/pid" ] && kill -0 "$(cat "$folder/pid")" 2>/dev/null &&
            (echo >"/dev/tcp/127.0.0.1/$(cat "$folder/port")") 2>/dev/null; then
            export VONDRIX_DB_HOST=127.0.0.1
            export VONDRIX_DB_PORT=$(cat "$folder/port")
            echo "Using the central database already running on port $VONDRIX_DB_PORT ($folder)."
            return 0
        fi
    else
        folder=$VDX_RUNTIME/db
        VDX_DB_KEEP=
        rm -rf "$folder"
        mkdir -p "$folder"
    fi
    VDX_DB_FOLDER=$folder

    # A folder whose loading never finished is started afresh.
    if [ ! -f "$folder/data/vondrix-loaded" ]; then
        rm -rf "$folder/data"
        vdx_db_install "$folder/data" "$folder/install.log" || return 1
        fresh=1
    fi

    for attempt in 1 2 3; do
        port=$(vdx_free_port)
        rm -f "$socket"
        vdx_db_server "$folder/data" "$socket" "$port" "$folder/mariadbd.log" &
        pid=$!
        if vdx_db_wait "$socket" "$pid" "$folder/mariadbd.log"; then
            VDX_DB_PID=$pid
            break
        fi
        kill -9 "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    if [ -z "$VDX_DB_PID" ]; then
        echo "error: could not start the database server; end of $folder/mariadbd.log:" >&2
        tail -n 20 "$folder/mariadbd.log" >&2
        return 1
    fi

    if [ -n "$fresh" ]; then
        vdx_db_prepare "$socket" || {
            stop_database
            return 1
        }
        touch "$folder/data/vondrix-loaded"
    fi
    echo "$port" >"$folder/port"
    echo "$VDX_DB_PID" >"$folder/pid"
    export VONDRIX_DB_HOST=127.0.0.1
    export VONDRIX_DB_PORT=$port
    export VONDRIX_DB_ADMIN_SOCKET=$socket
}

stop_database() {
    local i
    if [ -n "$VDX_DB_PID" ]; then
        kill "$VDX_DB_PID" 2>/dev/null || true
        for ((i = 0; i < 200; i++)); do
            kill -0 "$VDX_DB_PID" 2>/dev/null || break
            sleep 0.05
        done
        kill -9 "$VDX_DB_PID" 2>/dev/null || true
        wait "$VDX_DB_PID" 2>/dev/null || true
        VDX_DB_PID=
        if [ -n "$VDX_DB_FOLDER" ]; then
            rm -f "$VDX_DB_FOLDER/port" "$VDX_DB_FOLDER/pid"
            [ -n "$VDX_DB_KEEP" ] || rm -rf "$VDX_DB_FOLDER"
        fi
        unset VONDRIX_DB_HOST VONDRIX_DB_PORT VONDRIX_DB_ADMIN_SOCKET
    fi
    VDX_DB_FOLDER=
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    "$@"
fi
