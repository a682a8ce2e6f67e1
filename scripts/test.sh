#!/usr/bin/env bash
# Installs what is missing, builds, starts the services the tests need, runs
# every test and stops the services again, also when a test fails.
# With CI=true (or SANITIZE=1) the suite runs a second time in a build with
# AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/deps.sh"
"$top/scripts/build.sh" "$@"

sanitize=${SANITIZE:-}
[ "${CI:-}" = "true" ] && sanitize=${SANITIZE:-1}
if [ "$sanitize" = "1" ]; then
    BUILD_DIR=$top/build-asan BUILD_TYPE=Debug "$top/scripts/build.sh" -DVONDRIX_SANITIZE=ON "$@"
fi

status=0
# The fuzz targets run first, so that ctest's summary ends the log. CI tries the
# same inputs on every run (fixed count and seed), so a finding is the code's, not
# the luck of the run.
if [ "${CI:-}" = "true" ]; then
    echo "== Fuzz targets =="
    FUZZ_RUNS=${FUZZ_RUNS:-100000} FUZZ_SEED=${FUZZ_SEED:-1} "$top/scripts/fuzz.sh" || status=1
fi

. "$top/scripts/services.sh"
. "$top/scripts/database.sh"
. "$top/scripts/bannerserver.sh"
trap stop_services EXIT
start_audio
start_database
start_banner_server

if [ "$sanitize" = "1" ]; then
    echo "== Tests with AddressSanitizer and UndefinedBehaviorSanitizer =="
    (cd "$top/build-asan" &&
        ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 \
        UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
        ctest --output-on-failure --parallel "$(nproc)" ${CTEST_ARGS:-}) || status=1
    echo "== Tests =="
fi
(cd "${BUILD_DIR:-$top/build}" && ctest --output-on-failure --parallel "$(nproc)" ${CTEST_ARGS:-}) || status=1

exit $status
