#!/usr/bin/env python3
# Every file of the default data, in turn missing, empty or garbage: the fight
# still loads and runs with the file's own complaint, or the program ends with
# its documented status and message; never a crash, a hang or a sanitizer report.
#
# The fight runs in tovask-sim (no drawing), pointed with --data at a copy of
# the data that lacks or spoils one file; a working directory of its own keeps
# anything else from being found. Which fight reads which file comes from one
# traced run per selection (strace). Files no fight reads (the menu's) are tried in the
# game itself (tovask-datadir: the game with the data folder as argument),
# driven from the menu into a fight and back out with xdotool, one at a time
# on a virtual X server of its own.
#
# By default one file of each kind is tried (content lists, description
# files, the settings file, and per folder one file of each role: level,
# collision and ground models, animation descriptions, key frames, weapon and
# sky models, plain and alpha-companion images, JPEG); --all tries every file.
# --only TEXT keeps the cases whose file name contains TEXT. Each spoiled copy
# is also given to the data checker (tovask-check), which must not crash or
# hang, and must name the spoiled file when the game reads it.
import concurrent.futures
import os
import random
import re
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
import gamedriver  # noqa: E402  (scripts/: the shell scripts drive the game with it too)

BUILD = os.environ["TOVASK_BUILD_DIR"]
DATA = os.path.join(BUILD, "data")
SIM = os.path.join(BUILD, "tools", "sim", "tovask-sim")
GAME = os.path.join(BUILD, "tests", "tovask-datadir")
CHECK = os.path.join(BUILD, "tools", "check", "tovask-check")
VARIANTS = ("missing", "empty", "garbage")
SIM_SECONDS = "2"  # game seconds per case: loading is what matters
SMALL_WINDOW = "320 240 0 0 1 1 0\n"  # width, height, bits, windowed, quality, filled, hints
SANITIZER_MARKS = ("AddressSanitizer", "LeakSanitizer", "runtime error:", "UndefinedBehaviorSanitizer")


def sanitizer_fault(text):
    marks = [mark for mark in SANITIZER_MARKS if mark in text]
    return f"sanitizer report ({marks[0]})" if marks else None


def run(command, cwd, env=None):
    """Exit status (None when it hangs), stdout and stderr of a command."""
    try:
        done = subprocess.run(command, cwd=cwd, env=env, capture_output=True, timeout=120)
    except subprocess.TimeoutExpired:
        return None, "", ""
    return done.returncode, *(text.decode(errors="replace") for text in (done.stdout, done.stderr))


# Binary noise led by a 400-byte word with no white space in it, longer than
# any name buffer a reader may have.
GARBAGE = b"Q" * 400 + random.Random(20261206).randbytes(3000)


def data_files():
    return sorted(os.path.relpath(os.path.join(folder, name), DATA)
                  for folder, _, names in os.walk(DATA) for name in names)


def words(rel):
    with open(os.path.join(DATA, rel), errors="replace") as f:
        return f.read().split()


def selections():
    """(map, character, skin) triples that between them use every map and
    every skin of every character of the default content."""
    maps, chars = words("maps"), words("chars")
    described = {os.path.basename(rel): rel for rel in data_files()}
    pairs = [(c, s) for c, name in enumerate(chars) for s in range(int(words(described[name])[1]))]
    count = max(len(maps), len(pairs))
    return [(i % len(maps),) + pairs[i % len(pairs)] for i in range(count)]


def spoiled_copy(work, rel, variant):
    """A hard-linked copy of the data with one file missing, empty or garbage."""
    copy = os.path.join(work, "data")
    subprocess.run(["cp", "-al", DATA, copy], check=True)
    target = os.path.join(copy, rel)
    os.unlink(target)  # the link only: the build's file stays intact
    if variant != "missing":
        with open(target, "wb") as f:
            f.write(b"" if variant == "empty" else GARBAGE)
    return copy


# The simulator without a display, leak checking on when it is sanitized.
SIM_ENV = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
SIM_ENV["ASAN_OPTIONS"] = "detect_leaks=1"


def sim_command(selection, data):
    m, c, s = selection
    return [SIM, "--map", str(m), "--character", str(c), "--skin", str(s),
            "--seconds", SIM_SECONDS, "--seed", "5", "--data", data]


def files_read(selection):
    """Data files the selection's fight opens (strace is a test dependency)."""
    with tempfile.TemporaryDirectory() as work:
        trace = os.path.join(work, "trace")
        run(["strace", "-f", "-qq", "-e", "trace=openat", "-o", trace]
            + sim_command(selection, DATA), work, SIM_ENV)
        with open(trace, errors="replace") as f:
            opened = re.findall(r'openat\([^"]*"([^"]+)".*= \d+', f.read())
    paths = (os.path.normpath(path.replace("\\", "/")) for path in opened)
    return {os.path.relpath(path, DATA) for path in paths if path.startswith(DATA + os.sep)}


def kind_of(rel, owners):
    """Files of one kind go through the same readers: the file's folder and
    name with digits and owner names (maps, characters) masked, and for
    images only the extension and the alpha-companion sign."""
    folder, name = os.path.split(rel)
    stem, ext = os.path.splitext(name)
    if folder == "textures":
        return folder, ext, stem[-1:] if is_companion(rel) else ""
    for owner in owners:
        if stem.startswith(owner):
            stem = "@" + stem[len(owner):]
    return folder, re.sub(r"\d+", "#", stem), ext


# Files the program asks for by these names, not through the content.
NAMED_BY_PROGRAM = ("chars", "maps", "tovask.cfg", "textures/font.bmp", "textures/menu.jpg",
                    "textures/icon.png", "models/logo.3ds")


def one_of_each_kind(files):
    owners = sorted((os.path.splitext(w)[0] for w in words("maps") + words("chars")),
                    key=len, reverse=True)
    kept, seen = [], set()
    for rel in files:
        kind = kind_of(rel, owners)
        if kind not in seen or rel in NAMED_BY_PROGRAM or rel.endswith((".chr", ".map")):
            seen.add(kind)
            kept.append(rel)
    return kept


# The documented early ends: status, message when missing, message when spoiled.
EARLY_ENDS = {"chars": (1, "Unable to locate file chars", "No characters found in file chars"),
              "maps": (1, "Unable to locate file maps", "No maps found in file maps")}


def judge(rel, variant, status, err):
    """None when the outcome is one the program documents, else the fault."""
    if status is None or status < 0:
        return "hang" if status is None else f"killed by signal {-status}"
    if sanitizer_fault(err):
        return sanitizer_fault(err)
    if rel in EARLY_ENDS:
        want, missing, spoiled = EARLY_ENDS[rel]
        message = missing if variant == "missing" else spoiled
        return None if status == want and message in err else \
            f"status {status} without '{message}' (want status {want})"
    if status == 0:
        return None
    # A spoiled description file may take the selected map or character out
    # of the lists: the selection is then refused (status 4), with its message.
    if rel.endswith((".map", ".chr")) and status == 4 and re.search(
            r"tovask-sim: no map|Invalid (map|char|skin)ID when starting engine", err):
        return None
    return f"status {status}"


def check_fault(rel, variant, data, folder, read):
    """What is wrong with the checker's report on the spoiled copy, or None.
    read: the game is known to read the file. A missing alpha companion is no
    mistake: the colour image is used alone."""
    status, out, err = run([CHECK, data], folder)
    if status is None:
        return "tovask-check hangs"
    fault = sanitizer_fault(out + err) or (status not in (0, 1) and f"status {status}")
    if fault:
        return "tovask-check: " + fault
    name = os.path.basename(rel)
    if read and not (variant == "missing" and is_companion(rel)) and name not in out:
        return "tovask-check does not name the spoiled file"
    return None


def run_sim_case(rel, variant, selection):
    with tempfile.TemporaryDirectory() as work:
        data = spoiled_copy(work, rel, variant)
        folder = os.path.join(work, "run")
        os.mkdir(folder)
        # Leak-checked: the simulator draws off-screen and needs no display, so
        # what a loader's error path leaks is reported (the game's cases are not).
        status, out, err = run(sim_command(selection, data), folder, SIM_ENV)
        checked = check_fault(rel, variant, data, folder, True)
    fault = judge(rel, variant, status, err) or checked
    if fault is None and status == 0:
        if out.count("\n") != 1 or not out.startswith("{"):
            fault = "no figures line"
        elif variant == "missing" and not reported_missing(rel, out, err):
            fault = "missing file not reported"
    return f"sim {selection} {variant:8} {rel}", fault, err


def is_companion(rel):
    """An alpha companion (a sign before the extension) is looked up quietly:
    without it the colour image is used as it is."""
    return os.path.splitext(rel)[0][-1:] in "-+"


def reported_missing(rel, out, err):
    if rel == "tovask.cfg":
        return "Using default valueas." in out + err
    return is_companion(rel) or f"Unable to locate file {os.path.basename(rel)}" in err


def run_game_case(rel, variant):
    """One at a time (the games' pool has one worker), each on an X server of its own: two
    games on one display take the keyboard focus and the pointer grab from each other."""
    with tempfile.TemporaryDirectory() as work:
        data = spoiled_copy(work, rel, variant)
        if rel != "tovask.cfg":
            os.unlink(os.path.join(data, "tovask.cfg"))
            with open(os.path.join(data, "tovask.cfg"), "w") as f:
                f.write(SMALL_WINDOW)
        try:
            game = gamedriver.Game([GAME, data], screen="640x480x24")
        except (OSError, RuntimeError) as failure:
            return f"game {variant:8} {rel}", f"not started ({failure})", ""
        try:
            if game.wait("Entering main game loop."):
                if game.key("Return", "Loading game models") and game.wait("New pelmo in game", 7):
                    time.sleep(1)
                    game.key("Escape", "Average : ")
                game.quit()
            status = game.finish()
            out, err = game.stdout(), game.stderr()
            checked = check_fault(rel, variant, data, game.cwd, rel in NAMED_BY_PROGRAM)
        finally:
            game.close()
    fault = judge(rel, variant, status, err) or checked
    # Even unreadable numbers in the settings file leave a usable window
    # (640 x 480), so every case reaches a fight.
    if fault is None and status == 0 and out.count("New pelmo in game") < 7:
        fault = "no fight"
    return f"game {variant:8} {rel}", fault, \
        f"{err}\n--- keys: {' '.join(game.presses)}\n--- stdout\n{out[-600:]}"


def main():
    args = sys.argv[1:]
    files = data_files() if "--all" in args else one_of_each_kind(data_files())
    if "--only" in args:
        files = [f for f in files if args[args.index("--only") + 1] in f]
    chosen = selections()
    reads = [files_read(s) for s in chosen]
    users = {rel: chosen[:1] if rel in EARLY_ENDS else [s for s, r in zip(chosen, reads) if rel in r]
             for rel in files}
    sims = [(rel, variant, users[rel][0]) for rel in files if users[rel] for variant in VARIANTS]
    menu_only = [rel for rel in files if not users[rel]]
    games = [(rel, variant) for rel in menu_only + [f for f in files if f == "tovask.cfg"]
             for variant in VARIANTS]
    print(f"{len(files)} data files, {len(sims) + len(games)} cases; read by no fight: "
          f"{menu_only}", flush=True)

    faults = 0
    # The games go one by one beside the simulator runs.
    with concurrent.futures.ThreadPoolExecutor(max_workers=1) as game_pool, \
            concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as sim_pool:
        futures = [game_pool.submit(run_game_case, *case) for case in games]
        futures += [sim_pool.submit(run_sim_case, *case) for case in sims]
        for future in futures:
            name, fault, err = future.result()
            if fault is not None:
                faults += 1
                lines = err.strip().splitlines()
                keys = [line for line in lines if line.startswith("--- keys")]
                print(f"FAULT {name}: {fault}\n    " + "\n    ".join(keys + lines[-8:]),
                      flush=True)
    print(f"{len(futures) - faults} of {len(futures)} cases as documented")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
