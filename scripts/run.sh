#!/usr/bin/env bash
# Installs what is missing, builds and starts the program.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/deps.sh"
# Only the program and what it needs; the tests build with the test command.
BUILD_TARGET=vondrix "$top/scripts/build.sh"

. "$top/scripts/services.sh"
trap stop_services EXIT
[ -n "${PULSE_SERVER:-}" ] || pactl info >/dev/null 2>&1 || start_audio

# Without a central database server of your own (VONDRIX_DB_HOST), a local one
# is started; its data stays in run-db/ so accounts survive a restart.
if [ -z "${VONDRIX_DB_HOST:-}" ]; then
    . "$top/scripts/database.sh"
    start_database "$top/run-db"
fi

# Without a banner web server of your own (VONDRIX_BANNER_HOST), a local one
# serves the banner pictures.
if [ -z "${VONDRIX_BANNER_HOST:-}" ]; then
    . "$top/scripts/bannerserver.sh"
    start_banner_server
fi

# The program keeps its files (settings.ini, excerpts) in a folder of its own.
export VONDRIX_HOME=${VONDRIX_HOME:-$top/run}
mkdir -p "$VONDRIX_HOME"
"${BUILD_DIR:-$top/build}/app/vondrix" "$@"
