#!/usr/bin/env python3
# Fault injection: applies one small change at a time to the game's sources,
# rebuilds the test binaries, runs them and reports the changes that no test
# noticed. A developer tool for finding weak spots in the suite; not part of
# scripts/test.sh.
#
#   scripts/mutate.py --list src/fight/Entity.cpp       sites, numbered
#   scripts/mutate.py --sample 100 --seed 7             100 random sites of src/
#   scripts/mutate.py --site src/fight/Entity.cpp:57:3  one site
#   scripts/mutate.py --folder tools --sample 50 tools/check   the tools' sources
#
# Every source is restored after each run, also on Ctrl-C or an error; a copy
# of the file being changed is kept in <build>/mutate-backup until then, and
# restored by the next run if this one was killed outright.
import argparse
import decimal
import json
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# Binary operators are written with a blank on each side (clang-format), which
# tells them from template brackets, pointers and references.
SWAPS = {
    "boundary": {" < ": " <= ", " <= ": " < ", " > ": " >= ", " >= ": " > "},
    "negate": {" < ": " >= ", " <= ": " > ", " > ": " <= ", " >= ": " < ", " == ": " != ",
               " != ": " == "},
    "logic": {" && ": " || ", " || ": " && "},
    "arith": {" + ": " - ", " - ": " + ", " * ": " / ", " / ": " * ", " += ": " -= ",
              " -= ": " += ", " % ": " * "},
}
KINDS = ["boundary", "negate", "logic", "arith", "const", "bool", "not", "delete"]

NUMBER = re.compile(r"(?<![\w.])(0[xX][0-9a-fA-F]+|\d+\.\d*(?:[eE][-+]?\d+)?|\.\d+(?:[eE][-+]?\d+)?"
                    r"|\d+(?:[eE][-+]?\d+)?)([fFuUlL]*)(?![\w.])")
BOOL = re.compile(r"\b(true|false)\b")
NOT = re.compile(r"!(?!=)")
# Lines that declare something: deleting them only breaks the build.
DECLARATION = re.compile(
    r"^(?!(?:delete|return|throw|goto|else|do|case)\b)"
    r"(?:(?:const|constexpr|static|inline|extern|mutable|explicit|virtual|friend|typename)\s+)*"
    r"(?:(?:unsigned|signed|long|short|struct|class|enum)\s+)*"
    r"\w+(?:::\w+)*(?:<[^;]*>)?(?:\s+|\s*[*&]+\s*)(?:\w+::)*~?\w+\s*(?:[=;{\[(,:]|$)"
    r"|^(?:using|typedef|template|namespace)\b")
NOT_STATEMENT = re.compile(r"^(return|case|default|break|continue|namespace|public|private"
                           r"|protected|#)\b")


def mask_literals(line):
    """The line with string and character literals and the comment blanked out,
    so columns stay where they are."""
    out = []
    i, quote = 0, None
    while i < len(line):
        c = line[i]
        if quote:
            if c == "\\":
                out.append("__")
                i += 2
                continue
            out.append(c if c == quote else "_")
            if c == quote:
                quote = None
        elif c in "\"'":
            quote = c
            out.append(c)
        elif line.startswith("//", i) or line.startswith("/*", i):
            out.append(" " * (len(line) - i))
            break
        else:
            out.append(c)
        i += 1
    return "".join(out)[: len(line)]


def bumped(text, suffix):
    if text.lower().startswith("0x"):
        return hex(int(text, 16) + 1)
    value = decimal.Decimal(text) + 1
    if "." in text or "e" in text.lower() or "f" in suffix.lower():
        s = format(value, "f")
        return s if "." in s else s + ".0"
    return str(value)


def line_sites(path, number, line, prev_code):
    """Every mutation of one source line: (column, kind, original, replacement)."""
    stripped = line.strip()
    if not stripped or stripped.startswith(("#", "//", "/*", "*")):
        return []
    masked = mask_literals(line)
    if "static_assert" in masked:
        return []
    sites = []
    for kind, table in SWAPS.items():
        for original, replacement in table.items():
            start = masked.find(original)
            while start >= 0:
                sites.append((start + 1, kind, original, replacement))
                start = masked.find(original, start + 1)
    for m in NUMBER.finditer(masked):
        if "[" in masked[: m.start()] and masked.rstrip().endswith("];"):
            continue  # array bounds of declarations
        sites.append((m.start() + 1, "const", m.group(0), bumped(m.group(1), m.group(2)) + m.group(2)))
    for m in BOOL.finditer(masked):
        sites.append((m.start() + 1, "bool", m.group(0), "false" if m.group(0) == "true" else "true"))
    for m in NOT.finditer(masked):
        sites.append((m.start() + 1, "not", "!", ""))
    code = masked.strip()
    if (code.endswith(";") and not code.endswith(("= default;", "= delete;", "override;", "const;")) and not NOT_STATEMENT.match(code) and not DECLARATION.match(code)
            and code.count("(") == code.count(")") and "{" not in code and "}" not in code
            and prev_code.endswith((";", "{", "}", ")", "else"))):
        indent = len(line) - len(line.lstrip())
        sites.append((indent + 1, "delete", stripped, "{}"))
    return sites


def find_sites(files, kinds):
    sites = []
    for path in files:
        with open(os.path.join(ROOT, path), encoding="utf-8") as f:
            lines = f.read().split("\n")
        prev_code = ";"
        in_block_comment = False
        for number, line in enumerate(lines, 1):
            if in_block_comment:
                if "*/" in line:
                    in_block_comment = False
                continue
            if line.strip().startswith("/*") and "*/" not in line:
                in_block_comment = True
                continue
            for column, kind, original, replacement in line_sites(path, number, line, prev_code):
                if kind in kinds:
                    sites.append({"file": path, "line": number, "column": column, "kind": kind,
                                  "from": original.strip(), "to": replacement.strip(),
                                  "raw_from": original, "raw_to": replacement})
            code = mask_literals(line).strip()
            if code and not code.startswith("#"):
                prev_code = code
    return sites


def site_id(site):
    return "%s:%d:%d:%s" % (site["file"], site["line"], site["column"], site["kind"])


def apply(text, site):
    lines = text.split("\n")
    line = lines[site["line"] - 1]
    col = site["column"] - 1
    if site["kind"] == "delete":
        lines[site["line"] - 1] = line[:col] + "{}  // mutated"
    else:
        assert line[col: col + len(site["raw_from"])] == site["raw_from"], site_id(site)
        lines[site["line"] - 1] = line[:col] + site["raw_to"] + line[col + len(site["raw_from"]):]
    return "\n".join(lines)


class Sources:
    """Writes mutants and always puts the original back."""

    def __init__(self, build):
        self.backup_dir = os.path.join(build, "mutate-backup")
        self.current = None

    def recover(self):
        if not os.path.isdir(self.backup_dir):
            return
        for dirpath, _, names in os.walk(self.backup_dir):
            for name in names:
                saved = os.path.join(dirpath, name)
                target = os.path.join(ROOT, os.path.relpath(saved, self.backup_dir))
                shutil.copyfile(saved, target)  # a new time stamp: make rebuilds it
                print("restored %s from an interrupted run" % os.path.relpath(target, ROOT))
        shutil.rmtree(self.backup_dir)

    def write(self, path, text):
        full = os.path.join(ROOT, path)
        saved = os.path.join(self.backup_dir, path)
        os.makedirs(os.path.dirname(saved), exist_ok=True)
        shutil.copy2(full, saved)
        self.current = (full, saved)
        with open(full, "w", encoding="utf-8") as f:
            f.write(text)

    def restore(self):
        if self.current is None:
            return
        full, saved = self.current
        with open(saved, encoding="utf-8") as src, open(full, "w", encoding="utf-8") as dst:
            dst.write(src.read())  # a new modification time, so the next build recompiles
        shutil.rmtree(self.backup_dir)
        self.current = None


class Display:
    """One virtual X server for all GL runs, unless a display is already there."""

    def __init__(self):
        self.process = None

    def environment(self):
        env = dict(os.environ)
        if env.get("DISPLAY"):
            return env
        if self.process is None:
            read_end, write_end = os.pipe()
            self.process = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten",
                 "tcp"], pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            os.close(write_end)
            with os.fdopen(read_end) as f:
                self.number = f.readline().strip()
        env["DISPLAY"] = ":" + self.number
        return env

    def close(self):
        if self.process is not None:
            self.process.terminate()
            self.process.wait()


def build(args):
    command = ["cmake", "--build", args.build, "--target", "tovask_tests", "tovask_gltests",
               "tovask_offtests", "-j", str(args.jobs)]
    result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    return result.returncode == 0, result.stdout


def run_tests(args, display):
    """'killed', 'timeout' or 'survived', with the first failing test."""
    tests_dir = os.path.join(args.build, "tests")
    # The off-screen tests draw with Mesa's own renderer and need no display.
    binaries = [("tovask_tests", dict(os.environ)), ("tovask_offtests", dict(os.environ))]
    if not args.no_gl:
        binaries.append(("tovask_gltests", display.environment()))
    for name, env in binaries:
        command = [os.path.join(tests_dir, name), "--gtest_fail_fast", "--gtest_brief=1"]
        if args.filter:
            command.append("--gtest_filter=" + args.filter)
        try:
            result = subprocess.run(command, cwd=tests_dir, env=env, stdout=subprocess.PIPE,
                                    stderr=subprocess.STDOUT, text=True, errors="replace",
                                    timeout=args.timeout)
        except subprocess.TimeoutExpired:
            return "timeout", name
        if result.returncode != 0:
            failed = re.search(r"\[  FAILED  \] (\S+)", result.stdout)
            return "killed", failed.group(1) if failed else "%s exit %d" % (name, result.returncode)
    return "survived", ""


def matches(site, wanted):
    """wanted is file:line[:column[:kind]]."""
    parts = wanted.split(":")
    return (site["file"] == parts[0] and (len(parts) < 2 or site["line"] == int(parts[1]))
            and (len(parts) < 3 or site["column"] == int(parts[2]))
            and (len(parts) < 4 or site["kind"] == parts[3]))


def source_files(folder, patterns):
    files = []
    for dirpath, _, names in os.walk(os.path.join(ROOT, folder)):
        for name in names:
            if name.endswith((".cpp", ".h")):
                files.append(os.path.relpath(os.path.join(dirpath, name), ROOT))
    files.sort()
    if patterns:
        chosen = [f for f in files if any(f == p or f.startswith(p.rstrip("/") + "/")
                                          or os.path.basename(f) == p for p in patterns)]
        missing = [p for p in patterns if not any(f == p or f.startswith(p.rstrip("/") + "/")
                                                  or os.path.basename(f) == p for f in files)]
        if missing:
            sys.exit("mutate: no source matches %s" % ", ".join(missing))
        files = chosen
    return files


def main():
    parser = argparse.ArgumentParser(
        description="Breaks one thing at a time in src/ (or --folder tools), rebuilds and runs the test programs, "
        "and lists the changes no test noticed.")
    parser.add_argument("files", nargs="*", help="sources or folders under the folder (default: all)")
    parser.add_argument("--folder", default="src",
                        help="the folder whose sources are broken: src (default) or tools")
    parser.add_argument("--list", action="store_true", help="print the sites and stop")
    parser.add_argument("--sample", type=int, help="this many random sites")
    parser.add_argument("--seed", type=int, default=1, help="seed of the sample (default 1)")
    parser.add_argument("--kinds", default=",".join(KINDS), help="mutation kinds, comma-separated")
    parser.add_argument("--site", action="append", default=[],
                        help="file[:line[:column[:kind]]] to run (repeatable)")
    parser.add_argument("--build", default=os.path.join(ROOT, "build"), help="build folder")
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--timeout", type=int, default=120,
                        help="seconds per test binary run (a mutant that hangs counts as found)")
    parser.add_argument("--no-gl", action="store_true", help="skip the GL test binary")
    parser.add_argument("--filter", help="gtest filter for both binaries")
    parser.add_argument("--json", help="write every result to this file")
    args = parser.parse_args()

    kinds = args.kinds.split(",")
    unknown = set(kinds) - set(KINDS)
    if unknown:
        sys.exit("mutate: unknown kinds %s (known: %s)" % (", ".join(unknown), ", ".join(KINDS)))
    sites = find_sites(source_files(args.folder, args.files), kinds)
    if args.site:
        sites = [s for s in sites if any(matches(s, wanted) for wanted in args.site)]
    if args.sample is not None and args.sample < len(sites):
        sites = sorted(random.Random(args.seed).sample(sites, args.sample),
                       key=lambda s: (s["file"], s["line"], s["column"], s["kind"]))
    if args.list:
        for n, s in enumerate(sites, 1):
            print("%4d %s  %r -> %r" % (n, site_id(s), s["from"], s["to"]))
        return 0
    if not sites:
        sys.exit("mutate: no sites")

    args.build = os.path.abspath(args.build)
    sources = Sources(args.build)
    display = Display()
    results = []

    def terminate(signum, frame):
        raise KeyboardInterrupt

    interrupted = False
    # Also SIGINT: a shell starting the script in the background ignores it there.
    for signum in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(signum, terminate)
    try:
        sources.recover()
        print("unchanged sources: building and running the tests ...", flush=True)
        ok, log = build(args)
        if not ok:
            sys.exit("mutate: the unchanged sources do not build:\n" + log[-3000:])
        outcome, test = run_tests(args, display)
        if outcome != "survived":
            sys.exit("mutate: the unchanged sources fail the tests (%s %s)" % (outcome, test))
        texts = {}
        for n, site in enumerate(sites, 1):
            path = site["file"]
            if path not in texts:
                with open(os.path.join(ROOT, path), encoding="utf-8") as f:
                    texts[path] = f.read()
            started = time.time()
            try:
                sources.write(path, apply(texts[path], site))
                ok, log = build(args)
                if ok:
                    outcome, test = run_tests(args, display)
                else:  # the first error says why: often a warning that -Werror turns fatal
                    errors = [l for l in log.splitlines() if "error" in l]
                    outcome, test = "nocompile", errors[0].strip()[-160:] if errors else ""
            finally:
                sources.restore()
            result = dict(site, outcome=outcome, test=test, seconds=round(time.time() - started, 1))
            results.append(result)
            print("[%d/%d] %-9s %s  %r -> %r  %s" % (n, len(sites), outcome, site_id(site),
                                                     site["from"], site["to"], test), flush=True)
    except KeyboardInterrupt:
        interrupted = True
        print("interrupted; sources restored", file=sys.stderr)
    finally:
        sources.restore()
        display.close()
        if args.json:
            with open(args.json, "w") as f:
                json.dump(results, f, indent=1)

    counts = {}
    for r in results:
        counts[r["outcome"]] = counts.get(r["outcome"], 0) + 1
    judged = counts.get("killed", 0) + counts.get("timeout", 0) + counts.get("survived", 0)
    print("\n%d mutants: %s" % (len(results), ", ".join("%s %d" % kv for kv in sorted(counts.items()))))
    if judged:
        print("survival rate: %d of %d compiled mutants (%.1f%%)"
              % (counts.get("survived", 0), judged, 100.0 * counts.get("survived", 0) / judged))
    survivors = [r for r in results if r["outcome"] == "survived"]
    if survivors:
        print("survivors:")
        for r in survivors:
            print("  %s  %r -> %r" % (site_id(r), r["from"], r["to"]))
    # The test programs were last built from a mutant: build them again from
    # the restored sources, so nobody runs a broken game by mistake.
    if interrupted:
        print("build again before running the tests: they were last built from a mutant")
    elif results:
        ok, _ = build(args)
        print("test programs rebuilt from the unchanged sources" if ok else
              "mutate: the rebuild from the unchanged sources failed; build again before testing")
    return 1 if survivors else 0


if __name__ == "__main__":
    sys.exit(main())
