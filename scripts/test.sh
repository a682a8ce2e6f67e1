#!/usr/bin/env bash
# Installs what is missing, builds, starts the services the tests need, runs
# every test and stops the services again, also when a test fails.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/deps.sh"
"$top/scripts/build.sh" "$@"

. "$top/scripts/services.sh"
. "$top/scripts/database.sh"
trap stop_services EXIT
start_audio
start_database

cd "${BUILD_DIR:-$top/build}"
ctest --output-on-failure --parallel "$(nproc)" ${CTEST_ARGS:-}
