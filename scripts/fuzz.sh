#!/usr/bin/env bash
# Builds the fuzzers (clang-14, libFuzzer, AddressSanitizer and UBSan) into
# build-fuzz/ and runs every target, two at a time.
#   scripts/fuzz.sh [seconds]   fuzz each target that long (default 600)
#   scripts/fuzz.sh --replay    run the seeds and the saved findings once each
# New inputs collect in build-fuzz/corpus/<target>/, failures in
# build-fuzz/findings/; docs/hardening.md says what to do with them.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${TOVASK_FUZZ_BUILD:-build-fuzz}
targets=(tds animation settings contentlists description image)

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

# Columns per target: dictionary, longest input in bytes.
settings_of() {
    case $1 in
        tds) echo "fuzz/tds.dict 8192" ;;
        animation) echo "fuzz/animation.dict 8192" ;;
        image) echo "fuzz/image.dict 4096" ;;
        *) echo "fuzz/text.dict 2048" ;;
    esac
}

# fuzz_one TARGET SECONDS: one libFuzzer run; its log goes to findings/TARGET.log.
fuzz_one() {
    local target=$1 seconds=$2 dict max_len
    read -r dict max_len <<<"$(settings_of "$target")"
    mkdir -p "$build/corpus/$target" "$build/findings"
    if "$build/fuzz_$target" -max_total_time="$seconds" -timeout=10 -close_fd_mask=3 \
        -dict="$dict" -max_len="$max_len" -artifact_prefix="$build/findings/$target-" \
        "$build/corpus/$target" "fuzz/corpus/$target" >"$build/findings/$target.log" 2>&1; then
        echo "fuzz_$target: $(grep -E '^#[0-9]+.*DONE' "$build/findings/$target.log" | tail -n 1)"
    else
        echo "fuzz_$target FAILED; input and log in $build/findings/ (tail of the log):"
        tail -n 30 "$build/findings/$target.log"
        return 1
    fi
}

if [ "${1:-}" = --one ]; then  # internal: one target, used for running two at a time
    fuzz_one "$2" "$3"
    exit
fi

mkdir -p "$build"
if ! { CXX=clang++-14 cmake -S fuzz -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo &&
    cmake --build "$build" -j"$(nproc)"; } >"$build/build.log" 2>&1; then
    tail -n 40 "$build/build.log"
    exit 1
fi

if [ "${1:-}" = --replay ]; then
    status=0
    for t in "${targets[@]}"; do
        dirs=("fuzz/corpus/$t")
        [ -d "tests/regressions/$t" ] && dirs+=("tests/regressions/$t")
        if ! "$build/fuzz_$t" -runs=0 -close_fd_mask=3 "${dirs[@]}" >"$build/replay-$t.log" 2>&1; then
            echo "fuzz_$t: replay FAILED"
            tail -n 30 "$build/replay-$t.log"
            status=1
        fi
    done
    [ $status -eq 0 ] && echo "Replayed the seeds and saved findings of ${#targets[@]} targets"
    exit $status
fi

seconds=${1:-600}
printf '%s\n' "${targets[@]}" | xargs -P "$(nproc)" -I{} "$0" --one {} "$seconds"
