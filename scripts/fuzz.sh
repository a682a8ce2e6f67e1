#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each for
# FUZZ_SECONDS seconds (default 20) from its seed corpus, which fuzz_seeds makes
# with the program's own builders. FUZZ_TARGETS picks targets; FUZZ_JOBS > 1 runs
# them at the same time. Inputs found interesting are kept in
# build-fuzz/corpus/<target>/ for the next run; a finding stops with the input in
# build-fuzz/findings/.
# FUZZ_RUNS=N runs N inputs instead, and FUZZ_SEED fixes the random seed: with both
# and an empty corpus a run tries the same inputs every time, as CI does.
#   FUZZ_SECONDS=600 FUZZ_JOBS=5 scripts/fuzz.sh     # ten minutes each, in parallel
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD_DIR:-$top/build-fuzz}
seconds=${FUZZ_SECONDS:-20}
jobs=${FUZZ_JOBS:-1}
targets=${FUZZ_TARGETS:-fuzz_splitter fuzz_protocol fuzz_settings fuzz_m3u fuzz_id3v1 fuzz_sqlvalues}

CC=clang CXX=clang++ cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVONDRIX_FUZZ=ON >/dev/null
cmake --build "$build" --parallel "$(nproc)"

rm -rf "$build/seeds"
"$build/tests/fuzz/fuzz_seeds" "$build/seeds"
mkdir -p "$build/findings"

limit=(-max_total_time="$seconds")
[ -n "${FUZZ_RUNS:-}" ] && limit=(-runs="$FUZZ_RUNS")
# A fixed seed alone is not enough: the fuzzer also learns from compared pointers
# (address layout), Qt's hashes and the corpus folder read back while it runs.
launch=()
if [ -n "${FUZZ_SEED:-}" ]; then
    limit+=(-seed="$FUZZ_SEED" -reload=0)
    export QT_HASH_SEED=0
    setarch "$(uname -m)" -R true 2>/dev/null && launch=(setarch "$(uname -m)" -R)
fi

run() {
    local t=$1 status=0
    mkdir -p "$build/corpus/$t"
    ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
        "${launch[@]}" "$build/tests/fuzz/$t" "$build/corpus/$t" "$build/seeds/$t" \
        "${limit[@]}" -max_len=40000 -timeout=20 -rss_limit_mb=4096 \
        -artifact_prefix="$build/findings/$t-" -print_final_stats=1 \
        >"$build/$t.log" 2>&1 || status=$?
    grep -E "^stat::number_of_executed_units|^Done" "$build/$t.log" | sed "s/^/$t: /" || true
    [ $status -eq 0 ] || { echo "$t: FINDING (see $build/$t.log)"; tail -40 "$build/$t.log"; }
    return $status
}

status=0
if [ "$jobs" -gt 1 ]; then
    pids=()
    for t in $targets; do
        run "$t" &
        pids+=($!)
    done
    for p in "${pids[@]}"; do wait "$p" || status=1; done
else
    for t in $targets; do run "$t" || status=1; done
fi
exit $status
