#!/usr/bin/env python3
# Drives the game (or any command that opens windows) for scripts and tests: starts it in a
# working folder with a settings file and environment of the caller's choice, on an X server
# of its own if asked, waits for its console lines, presses keys with xdotool under one rule
# for lost keys, checks what it printed, and always kills what it started.
#
#   gamedriver.py [--cwd DIR] [--cfg TEXT] [--env NAME=VALUE]... [--timeout S]
#                 [--xvfb WxHxD] [--stdout FILE] [--stderr FILE] -- COMMAND [ARG]... <STEPS
#
# The working folder is a fresh empty one unless --cwd names one; --cfg writes tovask.cfg
# there. --stdout and --stderr name the files a command that sends its console to files
# itself writes (they need not exist yet): the steps read those instead of what it
# printed. Steps, one a line (shell quoting, # comments, a \ at the end joins the next
# line), run in order; the first that fails ends the run with status 1, naming the step,
# with the tails of the command's stdout and stderr. Each wait is bounded by --timeout
# (default 120 s). From Python: Game (wait, key, quit, finish: False or None when one
# fails) and step(game, VERB, ARGS) for the rest.
#   wait TEXT [COUNT]       until COUNT stdout lines contain TEXT (default 1)
#   key KEY [TEXT [COUNT]]  press KEY; with TEXT, press again until it shows
#   sleep S                 let the command run S seconds
#   quit                    Escape in the game's menu, pressed until the command ends
#   signal NAME             send signal NAME (TERM, INT, ...) to the command
#   exit STATUS             until the command ends; its exit status must be STATUS
#   order RE...             stdout has lines matching these regular expressions whole, in order
#   tail RE...              stdout's last lines match these regular expressions whole
#   no-err TEXT             no stderr line contains TEXT
#   show TEXT               print the first stdout line that contains TEXT
#   xprop RE ARG...         `xprop -id WINDOW ARG...` of one of the command's windows has a line
#                           that matches RE
import argparse
import contextlib
import os
import re
import select
import shlex
import shutil
import signal
import subprocess
import sys
import tempfile
import time

# A key sent before the window takes input is lost, so a key whose line has not shown by
# then is pressed again. Long enough that a key the game did take has shown its line.
PRESS_AGAIN_S = 10
# Escape in the menu, again until the game ends. Sent events carry no time stamp, so an
# Escape that meets the previous Escape's release in the queue passes for key repeat and is
# dropped. More presses do no harm.
QUIT_AGAIN_S = 2


class Game:
    def __init__(self, command, cwd=None, cfg=None, env=None, timeout=120, screen=None,
                 out=None, err=None):
        self.timeout, self.presses = timeout, []  # presses: what went where, for the report
        self.process = self.xvfb = self.xfd = None
        self.temp = tempfile.mkdtemp(prefix="gamedriver-")
        # What the command prints, and what the steps read: the same unless out or err names
        # the command's own files.
        self.printed = os.path.join(self.temp, "out"), os.path.join(self.temp, "err")
        self.out, self.err = out or self.printed[0], err or self.printed[1]
        self.cwd = cwd or os.path.join(self.temp, "run")
        self.env = dict(os.environ, **(env or {}))
        try:
            os.makedirs(self.cwd, exist_ok=True)
            if cfg is not None:
                with open(os.path.join(self.cwd, "tovask.cfg"), "w") as f:
                    f.write(cfg + "\n")
            if screen:
                self.env["DISPLAY"] = self._start_x(screen)
            if "/" in command[0]:  # a path from where the caller is, not from the working folder
                command = [os.path.abspath(command[0]), *command[1:]]
            with open(self.printed[0], "w") as out, open(self.printed[1], "w") as err:
                # A session of its own: its windows are found by it, and all of it is killed.
                self.process = subprocess.Popen(command, cwd=self.cwd, env=self.env,
                                                stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                                                start_new_session=True)
        except BaseException:
            self.close()
            raise

    def _start_x(self, screen):
        # Xvfb picks a free display number itself and writes it to the pipe once it listens.
        # It writes it again after a reset (its last client gone; -noreset) and ends when that
        # write fails: the pipe stays open as long as the server runs.
        self.xfd, w = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(w), "-screen", "0", screen,
                                      "-nolisten", "tcp", "-noreset"], pass_fds=(w,),
                                     stderr=subprocess.DEVNULL, start_new_session=True)
        os.close(w)
        ready = select.select([self.xfd], [], [], 60)[0]
        number = os.read(self.xfd, 64).decode().strip() if ready else ""
        if not number.isdigit():
            raise RuntimeError(f"Xvfb did not start with screen {screen}")
        return ":" + number

    def stdout(self, path=None):
        try:
            with open(path or self.out, errors="replace") as f:
                return f.read()
        except FileNotFoundError:  # a file of the command's own, not written yet
            return ""

    def stderr(self):
        return self.stdout(self.err)

    def ended(self):
        return self.process.poll() is not None

    def _until(self, ready, seconds):
        end = time.time() + seconds
        while not ready() and time.time() < end:
            time.sleep(0.2)
        return ready()

    def seen(self, text, count=1):
        return sum(text in line for line in self.stdout().splitlines()) >= count

    def wait(self, text, count=1):
        # The last lines may come with the end: looked at once more after it.
        self._until(lambda: self.seen(text, count) or self.ended(), self.timeout)
        return self.seen(text, count)

    def x_tool(self, *command):
        """What an X client (xdotool, xprop) run on the command's display printed."""
        with contextlib.suppress(subprocess.TimeoutExpired):
            return subprocess.run(command, env=self.env, capture_output=True,
                                  text=True, timeout=60).stdout
        return ""

    def windows(self):
        """Every window of the command's session, which no other program's window is in."""
        found = []
        for pid in filter(str.isdigit, os.listdir("/proc")):
            try:
                if os.getsid(int(pid)) == self.process.pid:
                    found += self.x_tool("xdotool", "search", "--pid", pid).split()
            except OSError:
                pass  # gone meanwhile
        return found

    def press(self, key):
        """KEY to each window of the command (a full-screen mode may add one), once there is one."""
        self._until(lambda: self.windows() or self.ended(), self.timeout)
        windows = self.windows()
        self.presses.append(f"{key}->{len(windows)} windows")
        for window in windows:
            self.x_tool("xdotool", "key", "--window", window, key)
        return bool(windows)

    def _press_until(self, key, ready, every):
        end = time.time() + self.timeout
        while not ready() and not self.ended() and time.time() < end and self.press(key):
            self._until(lambda: ready() or self.ended(), every)
        return ready()

    def key(self, key, text=None, count=1):
        if text is None:
            return self.press(key)
        return self._press_until(key, lambda: self.seen(text, count), PRESS_AGAIN_S)

    def quit(self):
        return self._press_until("Escape", self.ended, QUIT_AGAIN_S)

    def finish(self):
        """The exit status (negative: the signal), or None when the command did not end."""
        try:
            return self.process.wait(timeout=self.timeout)
        except subprocess.TimeoutExpired:
            return None

    def report(self):
        print("--- keys: " + " ".join(self.presses))
        files = {self.out: "stdout", self.err: "stderr"}
        for path, name in zip(self.printed, ("printed stdout", "printed stderr")):
            files.setdefault(path, name)  # what the command printed besides its own files
        for path, name in files.items():
            text = self.stdout(path)
            lines = text.splitlines()[-30:]
            print(f"--- {name}, last {len(lines)} lines", *(line[:200] for line in lines), sep="\n")

    def close(self):
        # Xvfb asked to end, so that it removes its socket and lock file.
        for process, how in ((self.process, signal.SIGKILL), (self.xvfb, signal.SIGTERM)):
            if process is not None:
                with contextlib.suppress(OSError):  # all of it ended already
                    os.killpg(process.pid, how)
                process.wait()
        if self.xfd is not None:
            os.close(self.xfd)
        shutil.rmtree(self.temp, ignore_errors=True)


VERBS = ("wait", "key", "sleep", "quit", "signal", "exit", "order", "tail", "no-err", "show",
         "xprop")


def step(game, verb, args):
    """True, or what went wrong."""
    out = game.stdout().splitlines()
    if verb in ("wait", "key", "quit"):
        texts = 2 if verb == "key" else 1  # then the count
        if getattr(game, verb)(*args[:texts], *map(int, args[texts:])):
            return True
        return f"it ended, status {game.process.returncode}" if game.ended() else \
            f"not within {game.timeout:g} s"
    if verb == "sleep":
        time.sleep(float(args[0]))
    elif verb == "signal":
        game.process.send_signal(getattr(signal, "SIG" + args[0]))
    elif verb == "exit":
        status = game.finish()
        if status is None:
            return f"it did not end within {game.timeout:g} s"
        if status != int(args[0]):
            return f"exit status {status}, expected {args[0]}"
    elif verb == "order":
        at = 0
        for pattern in args:
            at = next((i + 1 for i in range(at, len(out)) if re.fullmatch(pattern, out[i])), -1)
            if at < 0:
                return f"no line '{pattern}' (in this order)"
    elif verb == "tail":
        if len(out) < len(args) or not all(map(re.fullmatch, args, out[len(out) - len(args):])):
            return "other last lines"
    elif verb == "no-err":
        if any(args[0] in line for line in game.stderr().splitlines()):
            return "stderr has it"
    elif verb == "show":
        print(next((line for line in out if args[0] in line), f"(no line with '{args[0]}')"))
    elif verb == "xprop":
        shown = [game.x_tool("xprop", "-id", window, *args[1:]) for window in game.windows()]
        if not any(re.search(args[0], text, re.MULTILINE) for text in shown):
            return "no match in " + " / ".join(text.strip()[:300] for text in shown)
    else:
        return f"unknown step {verb}"
    return True


def main():
    parser = argparse.ArgumentParser(description="Drives the game with steps read from stdin.")
    parser.add_argument("--cwd")
    parser.add_argument("--cfg")
    parser.add_argument("--env", action="append", default=[])
    parser.add_argument("--timeout", type=float, default=120)
    parser.add_argument("--xvfb", metavar="WxHxD")
    parser.add_argument("--stdout")
    parser.add_argument("--stderr")
    parser.add_argument("command", nargs="+")
    args = parser.parse_args()
    lines = sys.stdin.read().replace("\\\n", " ").splitlines()
    steps = [(line.strip(), shlex.split(line, comments=True)) for line in lines]
    for line, words in steps:  # a mistyped step fails before a long session, not after it
        if words and words[0] not in VERBS:
            parser.error(f"unknown step: {line}")
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))  # cleans up on the way out
    try:
        game = Game(args.command, args.cwd, args.cfg, dict(e.split("=", 1) for e in args.env),
                    args.timeout, args.xvfb, args.stdout, args.stderr)
    except (OSError, RuntimeError) as failure:
        print(f"FAIL: {args.command[0]}: {failure}")
        return 1
    try:
        for number, (line, words) in enumerate(steps, 1):
            result = step(game, words[0], words[1:]) if words else True
            if result is not True:
                print(f"FAIL: {args.command[0]}: step {number} ({line}): {result}")
                game.report()
                return 1
        return 0
    finally:
        game.close()


if __name__ == "__main__":
    sys.exit(main())
