#!/usr/bin/env bash
# tovask-sim: one JSON line of fight figures naming the player's look; same map and
# seed, same figures; stress mode keeps every creature firing shells; --help tells
# every option; bad arguments fail cleanly.
set -uo pipefail
# The simulator draws off-screen and needs no display: it is offered none.
unset DISPLAY WAYLAND_DISPLAY

: "${TOVASK_BUILD_DIR:?build folder}"
sim="$TOVASK_BUILD_DIR/tools/sim/tovask-sim"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

fail() { echo "FAIL: $*"; exit 1; }

run_sim() {  # run_sim OUTFILE ARGS...: one line on stdout, status 0
    local out=$1
    shift
    "$sim" "$@" >"$out" 2>"$out.err" || fail "tovask-sim $* exited with $? ($(tail -n 3 "$out.err"))"
    [[ $(wc -l <"$out") -eq 1 ]] || fail "tovask-sim $* printed $(wc -l <"$out") lines"
}

run_sim a.json --map 0 --seconds 5 --seed 7
run_sim b.json --seed 7 --seconds 5 --map 0
run_sim c.json --map 0 --seconds 5 --seed 8
run_sim s.json --map 0 --seconds 5 --seed 7 --stress
run_sim k.json --map 0 --seconds 1 --seed 7 --skin 2 --character 1

python3 - a.json b.json c.json s.json k.json <<'PY' || fail "figures"
import json, sys
a, b, c, s, k = (json.load(open(f)) for f in sys.argv[1:])
keys = ["map", "seed", "gameSeconds", "wallSeconds", "creatureUpdates", "projectileUpdates",
        "shots", "hits", "deaths", "revives", "kills", "maxObjects",
        "character", "characterName", "skin"]
assert (a["character"], a["characterName"], a["skin"]) == (0, "Pelmo", 0), a
assert (k["character"], k["characterName"], k["skin"]) == (1, "Kvark", 2), k
for fig in (a, b, c, s, k):
    assert list(fig) == keys, list(fig)
for fig in (a, b, c, s):
    assert (fig["gameSeconds"], fig["map"], len(fig["kills"])) == (5, 0, 7), fig
    # Seven creatures updated every 25 ms for 5 s, give or take the start delays.
    assert 1393 <= fig["creatureUpdates"] <= 1400, fig["creatureUpdates"]
    assert fig["hits"] <= fig["projectileUpdates"], fig
    assert sum(fig["kills"]) <= fig["deaths"] and fig["revives"] <= fig["deaths"], fig
    assert fig["maxObjects"] >= 8, fig
strip = lambda f: {k: v for k, v in f.items() if k != "wallSeconds"}
assert strip(a) == strip(b), (a, b)
assert a["seed"] == 7 and c["seed"] == 8
assert strip(a) != {**strip(c), "seed": 7}, "another seed gave the very same fight"
# Stress: every living creature fires a shell every 350 ms and each bursts into ten splinters.
assert s["shots"] >= 70 and s["maxObjects"] > 50, s
assert s["projectileUpdates"] > a["projectileUpdates"], (s, a)
PY

"$sim" --help >help.out || fail "--help exited with $?"  # its status and streams: help.sh
for option in --map --seconds --seed --character --skin --stress --fill --report-every --data; do
    grep -q -- "^  $option " help.out || fail "--help does not tell $option"
done
grep -q "count from 0" help.out || fail "--help does not say where indices start"

# Bad arguments: status 2 (usage, told on stderr), 4 (no such map) or 1 (no
# lists: an empty data folder), nothing on stdout, and the message where there
# is one to check.
# Each range at both ends is taken (the options are read up to --help).
long=$(printf 'd%.0s' {1..149})
for args in "--seconds 1 --seconds 3600" "--seed 0 --seed 4294967295" "--fill 0 --fill 3000" \
    "--report-every 1 --report-every 3600" "--map 1000000 --character 1000000 --skin 1000000" \
    "--data $long"; do
    # shellcheck disable=SC2086
    "$sim" $args --help >at.out 2>at.err && [[ -s at.out && ! -s at.err ]] || fail "'$args' refused"
done
long0=${long}0  # 150 characters: one past
mkdir empty
while IFS='|' read -r want message args; do
    # shellcheck disable=SC2086
    "$sim" $args >bad.out 2>bad.err
    status=$?
    [[ $status -eq $want && ! -s bad.out ]] || fail "'$args': status $status, want $want"
    [[ -z $message ]] || grep -qF "$message" bad.err || fail "'$args': no '$message'"
done <<EOF
2|usage: tovask-sim|--map 0 --seconds 0 --seed 1
2|usage: tovask-sim|--map 0 --seed 1
2|usage: tovask-sim|--map 0 --seconds 2 --seed 1 --fast
4|no map 999|--map 999 --seconds 1 --seed 1
2|usage: tovask-sim|--map 0 --seconds 2 --seed 1 --fill 3001
2|usage: tovask-sim|--map 0 --seconds 2 --seed 1 --report-every 0
2|bad value: --seconds 3601|--map 0 --seconds 3601 --seed 1
2|bad value: --seed 4294967296|--map 0 --seconds 1 --seed 4294967296
2|bad value: --seed -1|--map 0 --seconds 1 --seed -1
2|bad value: --fill -1|--map 0 --seconds 1 --seed 1 --fill -1
2|bad value: --report-every 3601|--map 0 --seconds 1 --seed 1 --report-every 3601
2|bad value: --map 1000001|--map 1000001 --seconds 1 --seed 1
2|bad value: --character -1|--map 0 --seconds 1 --seed 1 --character -1
2|bad value: --skin 1000001|--map 0 --seconds 1 --seed 1 --skin 1000001
2|bad value: --data $long0|--map 0 --seconds 1 --seed 1 --data $long0
1|Unable to locate file chars|--map 0 --seconds 1 --seed 1 --data $work/empty
EOF
echo PASS
