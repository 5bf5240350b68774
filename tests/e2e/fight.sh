#!/usr/bin/env bash
# Starts the game with the shipped settings, enters a fight from the menu, uses the fight
# keys, goes back to the menu and quits; checks the console lines of each step and the exit
# status. (A start ended by SIGTERM is GameStart's, in tests/app.)
set -uo pipefail
: "${TOVASK:?path of the game binary}"
python3 "$(dirname "$0")/../../scripts/gamedriver.py" -- "$TOVASK" <<'STEPS' || exit 1
wait 'Entering main game loop.'
key Return 'Loading game models'
wait 'New pelmo in game' 7
order 'Loading game models' 'Loading map' 'Creating collisions map' 'Creating players'
key f 'Fog disabled'
key h 'Far clipping changed to 2050.000000'
key k 'View angle changed to 43.000000'
key i
key u
key Escape 'Average : '
quit
exit 0
order 'Resolution : 1024 X 768 X 0' 'Texture quality 2 Filled polygons 1' \
    'Average : [0-9.]+ ms/frame'
tail 'Delleting all\.\.' OK 'End\.'
STEPS
echo "PASS"
