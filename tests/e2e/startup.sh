#!/usr/bin/env bash
# Starts the real game in a scratch working folder and checks its start-up lines,
# a SIGTERM shutdown and a settings file in the working folder (Escape in the
# menu is fight.sh's last step). Needs an X display (ctest runs under xvfb-run).
set -u
: "${TOVASK:?path of the game binary}"
[ -n "${DISPLAY:-}" ] || { echo "FAIL: no X display"; exit 1; }
driver="$(dirname "$0")/../../scripts/gamedriver.py"

# Case 1: the shipped settings, ended by SIGTERM.
python3 "$driver" -- "$TOVASK" <<'STEPS' || exit 1
wait 'Entering main game loop.'
sleep 0.5  # let a few frames run
signal TERM
exit 0
order '         --- TOVASK ---' '  Version 0\.03 - betatesting only' 'Resolution : 1024 X 768 X 0' \
    'Setting Loaded\.' 'SDL Inicialized\.' 'GL Extensions: .*' 'OpenGL Inicialized\.' \
    'Game Inicialized\.' 'Entering main game loop\.' 'Delleting all\.\.' OK 'End\.'
STEPS

# Case 2: a settings file in the working folder wins over the shipped one.
python3 "$driver" --cfg "800 600 16 0 2 1 1" -- "$TOVASK" <<'STEPS' || exit 1
wait 'Entering main game loop.'
signal TERM
exit 0
order 'Resolution : 800 X 600 X 16' Windowed 'Texture quality 2 Filled polygons 1' \
    'Setting Loaded\.' 'End\.'
STEPS
