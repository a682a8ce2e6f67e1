#!/usr/bin/env bash
# A web server of our own (nginx) that serves the banner pictures, run as the
# current user on 127.0.0.1. Source this file; it defines functions only.
#
#   start_banner_server   draws the pictures, starts nginx on a free port and exports
#                           VONDRIX_BANNER_HOST=127.0.0.1, VONDRIX_BANNER_PORT=<port>,
#                           VDX_BANNER_ROOT=<folder served at />, VDX_BANNER_LOG=<access log>.
#   stop_banner_server    stops the server this shell started.
#
# Served: /images/banner1.jpg .. banner5.jpg (the stock pictures) and
# /images/<locatie>.jpg for each advertisement of db/seed.sql.

VDX_BANNER_TOP=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VDX_BANNER_PID=

if ! declare -F vdx_runtime_dir >/dev/null; then
    . "$VDX_BANNER_TOP/scripts/services.sh"
fi

# vdx_banner_picture FILE TOP-COLOUR BOTTOM-COLOUR TEXT: a 468x60 banner.
vdx_banner_picture() {
    convert -size 468x60 "gradient:$2-$3" -fill white -stroke '#00000060' -strokewidth 1 \
        -font DejaVu-Sans-Bold -pointsize 22 -gravity center -annotate +0+0 "$4" \
        -quality 85 "$1"
}

vdx_banner_pictures() {
    local dir=$1
    mkdir -p "$dir"
    vdx_banner_picture "$dir/banner1.jpg" '#1d3f8f' '#3a78d8' 'VONDrix ONLINE - play music quizzes' || return 1
    vdx_banner_picture "$dir/banner2.jpg" '#7a1f5c' '#d04a8f' 'Host a trivia game tonight!'
    vdx_banner_picture "$dir/banner3.jpg" '#1f6b3a' '#45b06a' 'Five players, one winner'
    vdx_banner_picture "$dir/banner4.jpg" '#8a4b0f' '#e0902e' 'Post your own trivia questions'
    vdx_banner_picture "$dir/banner5.jpg" '#3b2a7a' '#7a62d8' 'www.vondrix.net'
    # The advertisements of the seed data.
    vdx_banner_picture "$dir/quiznight.jpg" '#0f5560' '#2fa4b4' 'Quiz night every Friday'
    vdx_banner_picture "$dir/playlistshop.jpg" '#5a5a12' '#b4b432' 'Playlists for every party'
    vdx_banner_picture "$dir/nlcup.jpg" '#a8380c' '#f07a2a' 'Dutch Quiz Cup - sign up now'
}

start_banner_server() {
    local dir port attempt i
    vdx_runtime_dir >/dev/null
    dir=$VDX_RUNTIME/banner
    rm -rf "$dir"
    mkdir -p "$dir/html" "$dir/temp" "$dir/logs"
    vdx_banner_pictures "$dir/html/images" || {
        echo "error: could not draw the banner pictures (ImageMagick convert)" >&2
        return 1
    }
    # Started by root, the workers would run as nobody, who cannot read the folder.
    local user=
    [ "$(id -u)" -ne 0 ] || user="user $(id -un) $(id -gn);"
    for attempt in 1 2 3; do
        port=$(vdx_free_port)
        cat >"$dir/nginx.conf" <<EOF
$user
worker_processes 1;
pid $dir/nginx.pid;
error_log $dir/logs/error.log;
events { worker_connections 64; }
http {
    types { image/jpeg jpg jpeg; text/html html; }
    default_type application/octet-stream;
    access_log $dir/logs/access.log;
    client_body_temp_path $dir/temp/body;
    proxy_temp_path $dir/temp/proxy;
    fastcgi_temp_path $dir/temp/fastcgi;
    uwsgi_temp_path $dir/temp/uwsgi;
    scgi_temp_path $dir/temp/scgi;
    server {
        listen 127.0.0.1:$port;
        root $dir/html;
    }
}
EOF
        nginx -e "$dir/logs/error.log" -p "$dir" -c "$dir/nginx.conf" -g 'daemon off;' \
            >>"$dir/logs/nginx.out" 2>&1 &
        VDX_BANNER_PID=$!
        for ((i = 0; i < 200; i++)); do
            if (echo >"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
                export VONDRIX_BANNER_HOST=127.0.0.1
                export VONDRIX_BANNER_PORT=$port
                export VDX_BANNER_ROOT=$dir/html
                export VDX_BANNER_LOG=$dir/logs/access.log
                return 0
            fi
            kill -0 "$VDX_BANNER_PID" 2>/dev/null || break
            sleep 0.05
        done
        stop_banner_server
    done
    echo "error: could not start the banner web server; end of $dir/logs/error.log:" >&2
    tail -n 20 "$dir/logs/error.log" >&2
    return 1
}

stop_banner_server() {
    local i
    if [ -n "$VDX_BANNER_PID" ]; then
        kill "$VDX_BANNER_PID" 2>/dev/null || true
        for ((i = 0; i < 100; i++)); do
            kill -0 "$VDX_BANNER_PID" 2>/dev/null || break
            sleep 0.05
        done
        kill -9 "$VDX_BANNER_PID" 2>/dev/null || true
        wait "$VDX_BANNER_PID" 2>/dev/null || true
        VDX_BANNER_PID=
        unset VONDRIX_BANNER_HOST VONDRIX_BANNER_PORT VDX_BANNER_ROOT VDX_BANNER_LOG
    fi
}
