#!/usr/bin/env bash
# Configures and builds into build/ (or $BUILD_DIR). Extra arguments go to cmake.
# BUILD_TARGET names the one target to build (default: all of them).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
# Two builds into one folder (two players started at once) take turns.
mkdir -p "$build"
exec 9>"$build/build.lock"
flock 9
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} "$@" >/dev/null
cmake --build "$build" --parallel "$(nproc)" ${BUILD_TARGET:+--target "$BUILD_TARGET"}
