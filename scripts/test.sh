#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test under a virtual X
# server; then the same suite built with AddressSanitizer and UBSan
# (build-asan/), then the fuzzers: their seeds and saved findings replayed and
# a short run of each. TOVASK_FUZZ_SECONDS sets that run (default 10 per target).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
xvfb="xvfb-run -a -s \"-screen 0 1280x1024x24\""

scripts/build.sh -DTOVASK_TESTS=ON -DTOVASK_BENCH=ON
# The missing-file matrix runs once, in the sanitized build below: the same
# cases, and sanitizer reports count as faults there too.
(cd build && eval "$xvfb" ctest --output-on-failure -j"$(nproc)" --timeout 600 \
    -E '^e2e[.]missing_files$')

# -O1 with line tables only: the sanitized build costs half the time of -O2 -g
# and its reports still name files and lines.
TOVASK_BUILD=build-asan scripts/build.sh -DTOVASK_SANITIZE=ON \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG"
(cd build-asan && eval "$xvfb" ctest --output-on-failure -j"$(nproc)" --timeout 900)

scripts/fuzz.sh --replay
scripts/fuzz.sh "${TOVASK_FUZZ_SECONDS:-10}"
