#!/usr/bin/env bash
# Every program we build but the game: --help prints its usage on stdout and
# ends with status 0; an unknown option prints the usage on stderr and ends
# with status 2; neither writes a file.
set -uo pipefail
: "${TOVASK_BUILD_DIR:?build folder}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
cd "$work" || exit 1
for program in tools/3dsinfo/tovask-3dsinfo tools/check/tovask-check tools/model/tovask-model \
    tools/sim/tovask-sim tools/contentgen/tovask-contentgen tests/tovask-datadir \
    tests/tovask_tests tests/tovask_gltests tests/tovask_offtests bench/tovask_bench \
    bench/tovask-heavycontent; do
    path=$TOVASK_BUILD_DIR/$program
    [[ -x $path ]] || continue  # the benchmarks are not built in every build
    name=$(basename "$program")
    "$path" --help >help.out 2>help.err
    [[ $? -eq 0 && -s help.out && ! -s help.err ]] ||
        { echo "FAIL: $name --help: status, usage on stdout, nothing on stderr"; status=1; }
    "$path" --no-such-option >bad.out 2>bad.err
    [[ $? -eq 2 && ! -s bad.out ]] && grep -q "usage" bad.err ||
        { echo "FAIL: $name --no-such-option: status 2 and the usage on stderr"; status=1; }
    [[ $(ls -A | wc -l) -eq 4 ]] || { echo "FAIL: $name wrote $(ls -A)"; status=1; }
    rm -f ./* ./.[!.]* 2>/dev/null
done
exit $status
