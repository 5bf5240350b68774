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
own_x=()
[[ -n "${DISPLAY:-}" ]] || own_x=(--xvfb 640x480x24)

rm -f "$build"/valgrind-session.*.log
start=$(date +%s)
# Width, height, bits, windowed, texture quality, filled polygons, hints.
python3 "$root/scripts/gamedriver.py" "${own_x[@]}" --timeout 600 --cfg "320 240 0 0 1 1 0" -- \
    valgrind --leak-check=full --show-leak-kinds=definite --errors-for-leak-kinds=definite \
    --num-callers=40 --keep-debuginfo=yes --fullpath-after= --suppressions="$root/scripts/valgrind.supp" \
    --log-file="$build/valgrind-session.%p.log" "$game" <<'STEPS' || exit 1
wait 'Entering main game loop.'
key Return 'Loading game models'
wait 'New pelmo in game' 7
sleep 5  # a few seconds of fighting: shots, hits, fragments, disposals
key Escape 'Average : '
sleep 2
quit
exit 0
STEPS
echo "session: $(($(date +%s) - start)) s, exit status 0; logs: $build/valgrind-session.*.log"

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
