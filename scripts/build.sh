#!/usr/bin/env bash
# Configures and builds Tovask into build/ (or $TOVASK_BUILD). Extra arguments go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${TOVASK_BUILD:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
