#!/usr/bin/env bash
# Starts the real game in a scratch working folder and checks its start-up lines,
# a SIGTERM shutdown and a settings file in the working folder (Escape in the
# menu is fight.sh's last step). Needs an X display (ctest runs under xvfb-run).
set -u
: "${TOVASK:?path of the game binary}"
[ -n "${DISPLAY:-}" ] || { echo "FAIL: no X display"; exit 1; }

scratch=$(mktemp -d /tmp/tovask-e2e-XXXXXX)
pid=""
cleanup() {
    [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    for f in "$dir/out" "$dir/err"; do
        [ -f "$f" ] && { echo "--- $f"; cut -c1-200 "$f"; }
    done
    exit 1
}

# start_game <case name>: runs the game in $scratch/<case>, output in out and err.
start_game() {
    dir="$scratch/$1"
    mkdir -p "$dir"
    [ -n "${2:-}" ] && printf '%s\n' "$2" >"$dir/tovask.cfg"
    (cd "$dir" && exec "$TOVASK" >out 2>err) &
    pid=$!
}

# wait_for_line <exact line> [seconds]: polls stdout until the line shows up.
wait_for_line() {
    local tries=$((${2:-30} * 10))
    while ((tries-- > 0)); do
        grep -qxF -- "$1" "$dir/out" 2>/dev/null && return 0
        kill -0 "$pid" 2>/dev/null || { grep -qxF -- "$1" "$dir/out" && return 0; break; }
        sleep 0.1
    done
    fail "no line '$1'"
}

# wait_for_exit <expected status> [seconds]
wait_for_exit() {
    local tries=$((${2:-30} * 10))
    while ((tries-- > 0)) && kill -0 "$pid" 2>/dev/null; do sleep 0.1; done
    kill -0 "$pid" 2>/dev/null && fail "the game did not end"
    wait "$pid"
    local status=$?
    pid=""
    [ "$status" -eq "$1" ] || fail "exit status $status, expected $1"
}

# expect_in_order <line or prefix*>...: the lines appear in stdout in this order.
expect_in_order() {
    local from=0 expected found
    for expected in "$@"; do
        if [[ "$expected" == *'*' ]]; then
            found=$(tail -n +$((from + 1)) "$dir/out" | grep -nF -m1 -- "${expected%\*}" | cut -d: -f1)
        else
            found=$(tail -n +$((from + 1)) "$dir/out" | grep -nxF -m1 -- "$expected" | cut -d: -f1)
        fi
        [ -n "$found" ] || fail "'$expected' missing or out of order"
        from=$((from + found))
    done
}

# Case 1: the shipped settings, ended by SIGTERM.
start_game sigterm
wait_for_line "Entering main game loop."
sleep 0.5  # let a few frames run
kill -TERM "$pid"
wait_for_exit 0
expect_in_order "         --- TOVASK ---" "  Version 0.03 - betatesting only" \
    "Resolution : 1024 X 768 X 0" "Setting Loaded." "SDL Inicialized." "GL Extensions: *" \
    "OpenGL Inicialized." "Game Inicialized." "Entering main game loop." "Delleting all.." \
    "OK" "End."


# Case 2: a settings file in the working folder wins over the shipped one.
start_game settings "800 600 16 0 2 1 1"
wait_for_line "Entering main game loop."
kill -TERM "$pid"
wait_for_exit 0
expect_in_order "Resolution : 800 X 600 X 16" "Windowed" "Texture quality 2 Filled polygons 1" \
    "Setting Loaded." "End."
