#!/usr/bin/env bash
# How much of src/ the tests run: builds with gcov's counters into
# build-coverage/ (unoptimised, so each line counts as written), runs every
# test (unit, GL and end-to-end, under a virtual X server), and prints the
# line and branch figures per file and in total. Branches the compiler adds
# for exceptions and those it proves unreachable are left out. Lines no test
# can reach carry a GCOVR_EXCL comment that says why. A tool beside the test
# command, not part of it: it takes a few minutes.
#
#   scripts/coverage.sh [gcovr option]...   (e.g. --html-details build-coverage/index.html)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh coverage
build=build-coverage
TOVASK_BUILD=$build scripts/build.sh -DCMAKE_BUILD_TYPE=Debug -DTOVASK_HARDEN=OFF \
    -DTOVASK_BENCH=OFF "-DCMAKE_CXX_FLAGS=--coverage" "-DCMAKE_EXE_LINKER_FLAGS=--coverage"
find "$build" -name '*.gcda' -delete
# A reused build folder keeps objects of targets and sources since removed or
# moved; their notes give old line numbers of shared headers, which gcovr
# cannot merge. Keep only the objects today's targets link.
find "$build" -name '*.gcno' -path '*.dir/*' -print0 | while IFS= read -r -d '' note; do
    target=${note%%.dir/*}.dir
    object=${target##*/}/${note#"$target"/}
    grep -qF "${object%.gcno}.o" "$target/link.txt" 2>/dev/null || rm -f "$note" "${note%.gcno}.o"
done
(cd "$build" && xvfb-run -a -s "-screen 0 1280x1024x24" ctest -j"$(nproc)" --timeout 900 \
    --output-on-failure) || echo "coverage: some tests failed; the figures count what ran"
gcovr --root . --object-directory "$build" --filter 'src/' \
    --exclude-unreachable-branches --exclude-throw-branches --print-summary "$@"
