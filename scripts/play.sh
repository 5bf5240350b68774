#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game on the bundled default data.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh run
# The game alone: the test suite and the benchmarks need packages that only
# 'deps.sh test' installs.
scripts/build.sh -DTOVASK_TESTS=OFF -DTOVASK_BENCH=OFF
exec build/tovask
