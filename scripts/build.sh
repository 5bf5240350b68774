#!/usr/bin/env bash
# Configures and builds Tovask into build/ (or $TOVASK_BUILD). Extra arguments go to cmake.
# CMAKE_BUILD_PARALLEL_LEVEL sets the number of compile jobs (default: every core).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${TOVASK_BUILD:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)} cmake --build "$build"
