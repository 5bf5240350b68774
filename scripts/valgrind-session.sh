#!/usr/bin/env bash
# Runs the game under valgrind's leak checker for a short scripted session
# (menu, fight, menu, exit) on a virtual X server, and fails when valgrind
# finds memory definitely lost by our own code, or an invalid access or use
# of uninitialised memory in it (a stack frame in src/).
#
#   scripts/valgrind-session.sh [BUILD_DIR]     (default: build)
#
# Leaks inside Mesa, SDL and the X libraries are suppressed by
# scripts/valgrind.supp (each entry says why); our code is never suppressed.
# The full valgrind logs are kept in BUILD_DIR/valgrind-session.PID.log (one
# per process: the X and GL libraries fork helpers, which valgrind follows).
# Mesa's software renderer is slow under valgrind: the session uses a
# 320 x 240 window and takes a few minutes.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd) || exit 2
game="$build/tovask"
[[ -x "$game" ]] || { echo "no game binary at $game"; exit 2; }
command -v valgrind >/dev/null || { echo "valgrind is not installed"; exit 2; }
command -v xdotool >/dev/null || { echo "xdotool is not installed"; exit 2; }

# A virtual X server of our own unless one is already given.
if [[ -z "${DISPLAY:-}" ]]; then
    exec xvfb-run -a -s "-screen 0 640x480x24" "$0" "$build"
fi

rm -f "$build"/valgrind-session.*.log
work=$(mktemp -d)
pid=""
cleanup() {
    if [[ -n "$pid" ]] && kill -0 "$pid" 2>/dev/null; then kill "$pid"; fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    tail -n 20 "$work/out" 2>/dev/null
    exit 1
}

# wait_for TEXT [COUNT] [SECONDS]: until stdout holds COUNT lines with TEXT.
wait_for() {
    local text=$1 count=${2:-1} limit=${3:-600}
    for _ in $(seq 1 $((limit * 2))); do
        (($(grep -cF -- "$text" "$work/out") >= count)) && return 0
        kill -0 "$pid" 2>/dev/null || fail "the game ended while waiting for '$text'"
        sleep 0.5
    done
    fail "no '$text' (x$count) within $limit s"
}
press() { xdotool key --window "$window" "$1" || fail "xdotool could not press $1"; }

cd "$work"
# Width, height, bits, windowed, texture quality, filled polygons, hints.
echo "320 240 0 0 1 1 0" >tovask.cfg
start=$(date +%s)
valgrind --leak-check=full --show-leak-kinds=definite --errors-for-leak-kinds=definite \
    --num-callers=40 --keep-debuginfo=yes --fullpath-after= --suppressions="$root/scripts/valgrind.supp" \
    --log-file="$build/valgrind-session.%p.log" "$game" >"$work/out" 2>"$work/err" &
pid=$!
pid_of_game=$pid

wait_for "Entering main game loop."
window=$(timeout 120 xdotool search --sync --pid "$pid" --name "Tovask" | head -n 1)
[[ -n "$window" ]] || fail "no game window"
press Return
wait_for "New pelmo in game" 7
sleep 5  # a few seconds of fighting: shots, hits, fragments, disposals
press Escape
wait_for "Average : "
sleep 2
press Escape
for _ in $(seq 1 600); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.5
done
kill -0 "$pid" 2>/dev/null && fail "the game did not end after Escape in the menu"
wait "$pid"
status=$?
pid=""
log="$build/valgrind-session.$pid_of_game.log"
echo "session: $(($(date +%s) - start)) s, exit status $status, log $log"
[[ $status -eq 0 ]] || fail "exit status $status"

# Each loss record starts with "N bytes in M blocks are definitely lost" (an
# error with its own heading) and ends at the next blank "==PID== " line; it
# is ours when a frame is in src/.
python3 - "$root/src/" "$build"/valgrind-session.*.log <<'PY'
import re, sys
ours, logs = sys.argv[1], sys.argv[2:]
lines = [line for log in logs for line in open(log, errors="replace")]
records, current = [], None
for line in lines:
    body = re.sub(r"^==\d+== ?", "", line.rstrip("\n"))
    if "are definitely lost in loss record" in body or \
            re.match(r"(Invalid (read|write|free)|Conditional jump|Use of uninitialised|"
                     r"Mismatched free|Source and destination overlap)", body):
        current = [body]
        records.append(current)
    elif current is not None:
        if body.strip() == "":
            current = None
        else:
            current.append(body)
summary = [re.sub(r"^==\d+== ?", "", l).strip() for l in lines
           if "definitely lost:" in l or "ERROR SUMMARY" in l]
print("\n".join(summary))
mine = [r for r in records if any(ours in frame for frame in r[1:])]
for r in mine:
    print("\n".join(r) + "\n")
print(f"{len(records)} unsuppressed definite losses and memory errors, {len(mine)} in our code")
sys.exit(1 if mine else 0)
PY
