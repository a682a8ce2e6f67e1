#!/usr/bin/env bash
# Services the program and the tests need, started as the current user and
# stopped again by stop_services (call it from a trap on EXIT).
# Source this file; it defines functions only.

VDX_RUNTIME=${VDX_RUNTIME:-}
VDX_PULSE_STARTED=

vdx_runtime_dir() {
    if [ -z "$VDX_RUNTIME" ]; then
        VDX_RUNTIME=$(mktemp -d "${TMPDIR:-/tmp}/vondrix-run.XXXXXX")
    fi
    echo "$VDX_RUNTIME"
}

# A PulseAudio daemon with a null sink, so media playback works without a sound card.
start_audio() {
    if [ -n "${PULSE_SERVER:-}" ]; then return 0; fi
    local dir
    vdx_runtime_dir >/dev/null # not in a subshell, so VDX_RUNTIME stays set for stop_services
    dir=$VDX_RUNTIME/pulse
    mkdir -p "$dir"
    chmod 700 "$dir"
    export XDG_RUNTIME_DIR=$dir
    export PULSE_RUNTIME_PATH=$dir
    pulseaudio -n --daemonize=yes --exit-idle-time=-1 --disallow-exit \
        --load=module-native-protocol-unix \
        --load="module-null-sink sink_name=nullsink" \
        --load="module-always-sink" >/dev/null 2>&1 || {
        echo "warning: could not start the PulseAudio null sink" >&2
        return 0
    }
    export PULSE_SERVER=unix:$dir/native
    VDX_PULSE_STARTED=1
}

stop_services() {
    if [ -n "$VDX_PULSE_STARTED" ]; then
        pulseaudio --kill >/dev/null 2>&1 || true
        VDX_PULSE_STARTED=
    fi
    if declare -F stop_banner_server >/dev/null; then stop_banner_server; fi
    if declare -F stop_database >/dev/null; then stop_database; fi
    if [ -n "$VDX_RUNTIME" ] && [ -d "$VDX_RUNTIME" ]; then
        rm -rf "$VDX_RUNTIME"
    fi
}
