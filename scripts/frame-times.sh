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
own_x=()
[[ -n "${DISPLAY:-}" ]] || own_x=(--xvfb 1280x1024x24)

maps=$(xargs -n1 <"$build/data/maps")
status=0
for ((map = 0; map < $(wc -l <<<"$maps"); ++map)); do
    name=$(sed -n "$((map + 1))p" <<<"$maps")
    average=$(python3 "$root/scripts/gamedriver.py" "${own_x[@]}" -- "$build/tovask" <<STEPS
wait 'Entering main game loop.'
$(for ((i = 0; i < map; ++i)); do echo "key c"; done)
key Return 'Loading game models'
wait 'Creating players'
order 'Loading map' 'Loading model $(sed -n 2p "$build/data/scenes/$name")'  # no "c" lost
sleep $seconds
key Escape 'Average : '
quit
show 'Average : '
STEPS
) || status=1
    echo "map $map ($name): $average"
done
exit $status
