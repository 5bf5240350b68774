#!/usr/bin/env bash
# Starts the game, enters a fight from the menu, uses the fight keys, goes back
# to the menu and quits; checks the console lines of each step and the exit status.
set -uo pipefail

: "${TOVASK:?path of the game binary}"
work=$(mktemp -d)
game_pid=""
cleanup() {
    if [[ -n "$game_pid" ]] && kill -0 "$game_pid" 2>/dev/null; then kill "$game_pid"; fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    echo "--- stdout"; cat "$work/out" 2>/dev/null
    echo "--- stderr"; cat "$work/err" 2>/dev/null
    exit 1
}

# wait_for TEXT [COUNT]: until stdout holds COUNT lines containing TEXT (default 1).
wait_for() {
    local text=$1 count=${2:-1}
    for _ in $(seq 1 300); do
        if (($(grep -cF -- "$text" "$work/out") >= count)); then return 0; fi
        kill -0 "$game_pid" 2>/dev/null || fail "the game ended while waiting for '$text'"
        sleep 0.2
    done
    fail "no '$text' (x$count) on stdout"
}

# Straight to the game's window, whichever window has the focus.
press() {
    xdotool key --window "$window" "$1" || fail "xdotool could not press $1"
}

cd "$work"
"$TOVASK" >"$work/out" 2>"$work/err" &
game_pid=$!

wait_for "Entering main game loop."
# By process and by name (--all: both must match): other tests have windows open too.
window=$(timeout 30 xdotool search --sync --all --pid "$game_pid" --name "^Tovask" | head -n 1)
[[ -n "$window" ]] || fail "no game window"

press Return
for step in "Loading game models" "Loading map" "Creating collisions map" "Creating players"; do
    wait_for "$step"
done
wait_for "New pelmo in game" 7

press f
wait_for "Fog disabled"
press h
wait_for "Far clipping changed to 2050.000000"
press k
wait_for "View angle changed to 43.000000"
press i
press u
press Escape
wait_for "Average : "

# Escape in the menu. Sent events carry no time stamp, so a second Escape that
# meets the first one's release in the queue passes for key repeat and is
# dropped; press again until the game ends (more presses do no harm).
for _ in 1 2 3 4 5; do
    sleep 0.5
    kill -0 "$game_pid" 2>/dev/null || break
    xdotool key --window "$window" Escape 2>/dev/null
    for _ in $(seq 1 25); do
        kill -0 "$game_pid" 2>/dev/null || break
        sleep 0.2
    done
done
kill -0 "$game_pid" 2>/dev/null && fail "the game did not end after Escape in the menu"
wait "$game_pid"
status=$?
game_pid=""

grep -qE '^Average : [0-9.]+ ms/frame$' "$work/out" || fail "no average frame time"
[[ $(tail -n 3 "$work/out") == $'Delleting all..\nOK\nEnd.' ]] || fail "no orderly end"
[[ $status -eq 0 ]] || fail "exit status $status"
echo "PASS"
