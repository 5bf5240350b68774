#!/usr/bin/env bash
# Average frame time of a fight on each default map at the settings file's
# resolution (1024 x 768 in the default data), under the virtual X server and
# Mesa's software renderer: menu, "c" to pick the map, Return, SECONDS of
# fighting, Escape; prints the game's "Average : ... ms/frame" per map.
#
#   scripts/frame-times.sh [BUILD_DIR] [SECONDS]     (defaults: build, 10)
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd) || exit 2
seconds=${2:-10}
if [[ -z "${DISPLAY:-}" ]]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build" "$seconds"
fi

work=$(mktemp -d)
pid=""
cleanup() {
    if [[ -n "$pid" ]] && kill -0 "$pid" 2>/dev/null; then kill "$pid"; fi
    rm -rf "$work"
}
trap cleanup EXIT
wait_for() {
    for _ in $(seq 1 300); do
        grep -qF -- "$1" "$work/out" && return 0
        kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.2
    done
    return 1
}
press() { xdotool key --window "$window" "$1"; }

maps=$(wc -w <"$build/data/maps")
cd "$work"
for ((map = 0; map < maps; ++map)); do
    "$build/tovask" >"$work/out" 2>"$work/err" &
    pid=$!
    wait_for "Entering main game loop." || { echo "map $map: no main loop"; continue; }
    window=$(timeout 30 xdotool search --sync --pid "$pid" --name "Tovask" | head -n 1)
    for ((i = 0; i < map; ++i)); do press c; done
    press Return
    wait_for "Creating players" && sleep "$seconds"
    name=$(xargs -n1 <"$build/data/maps" | sed -n "$((map + 1))p")
    press Escape
    wait_for "Average : "
    press Escape
    wait "$pid"
    pid=""
    echo "map $map ($name): $(grep -m1 '^Average : ' "$work/out")"
done
