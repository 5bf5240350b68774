#!/usr/bin/env bash
# Checks the release made from a finished build, reusing its binaries: the
# Debian package (cpack) and its layout, lintian on it (errors and warnings
# fail, and its pedantic and informational tags on hardening and stripping),
# hardening-check on every program, what the tools that draw nothing link,
# the desktop entry and the AppStream metadata validated, the manual pages
# rendered with every groff warning on; then a plain install into a
# scratch DESTDIR, its game started from an empty directory, and the package
# unpacked elsewhere, its game started as its desktop entry starts it (twice:
# below). Each runs on an X server of the check's own, to the menu and out
# with Escape. Each copy gets a settings file of its own, so the window size
# it reports proves which data folder it found. The package stays in
# BUILD_DIR. Needs no display; the test suite runs it as the test "release".
#
#   scripts/release-check.sh [BUILD_DIR]     (default: build)
set -uo pipefail

# play GAME: a copy of the game from an empty directory on an X server of
# its own (so this check may run beside tests that hold another), to the
# menu and out with Escape.
play() {
    python3 "$root/scripts/gamedriver.py" --xvfb 640x480x24 -- "$1" <<'STEPS' || return 1
wait 'Entering main game loop.'
quit
exit 0
order 'Resolution : 320 X 240 X 0'  # its own settings file, so its own data folder
no-err 'Unable to'  # no data file missed
STEPS
    echo "ok: $1 from an empty directory: its own data, menu, Escape, status 0"
}

# desktop_exec ENTRY: the Exec line of the desktop entry ENTRY as a launcher
# runs it, each argument ended by a NUL. Un-quoted strictly by freedesktop.org's
# rules: the value's escapes (\s \n \t \r \\), then arguments split at
# spaces, reserved characters only inside double quotes, where a backslash
# takes only " ` $ \ after it; no field codes, %% a percent sign.
desktop_exec() {
    python3 - "$1" <<'PY'
import sys
value = next(line[5:] for line in open(sys.argv[1]) if line.startswith("Exec=")).rstrip("\n")
plain = ""
pairs = iter(value)
for c in pairs:
    if c == "\\":
        c = {"s": " ", "n": "\n", "t": "\t", "r": "\r", "\\": "\\"}[next(pairs)]
    plain += c
args, at = [], 0
while at < len(plain):
    if plain[at] == " ":
        at += 1
        continue
    arg, quoted = "", plain[at] == '"'
    at += quoted
    while at < len(plain) and (quoted or plain[at] != " "):
        c, at = plain[at], at + 1
        if quoted and c == '"':
            assert at == len(plain) or plain[at] == " ", "text after a closing quote"
            quoted = None
            break
        if quoted and c == "\\":
            c, at = plain[at], at + 1
            assert c in '"`$\\', f"\\{c} inside quotes"
        elif not quoted:
            assert c not in "\t\n\"'\\><~|&;$*?#()`", f"{c} outside quotes"
        if c == "%":
            assert plain[at] == "%", "a field code"
            at += 1
        arg += c
    assert quoted is not True, "no closing quote"
    args.append(arg)
sys.stdout.write("".join(a + "\0" for a in args))
PY
}

# desktop_play HOME XDG_DATA_HOME: the package's game started the way its
# desktop entry starts it (launch) from a fresh HOME, as a session starts
# programs, with XDG_DATA_HOME as given (unset when empty; a relative one is
# invalid and stands for none, so HOME's folder is used). HOME holds files
# that end the game (maps) or make it complain (font.bmp) if it reads them.
# The game must run in its own folder, made if missing, and write its console
# to stdout.txt and stderr.txt there (a stale stdout.txt overwritten); its
# window must be of the entry's StartupWMClass and carry the game's icon.
desktop_play() {
    local home=$1 folder=$1/.local/share/tovask xdg=()
    [[ -n $2 ]] && xdg=(--env "XDG_DATA_HOME=$2")
    [[ $2 == /* ]] && folder=$2/tovask
    mkdir -p "$home" && echo "nowhere.map" >"$home/maps" && echo "no picture" >"$home/font.bmp"
    # 32 x 32, its corner clear and the crest's orange (pixel 16, 6) in place.
    env -u XDG_DATA_HOME python3 "$root/scripts/gamedriver.py" --xvfb 640x480x24 --cwd "$home" \
        --env "HOME=$home" "${xdg[@]}" --stdout "$folder/stdout.txt" --stderr "$folder/stderr.txt" \
        -- "${launch[@]}" <<STEPS || return 1
wait 'Entering main game loop.'
xprop '^WM_CLASS\(STRING\) = "[^"]*", "$wm_class"\$' WM_CLASS
xprop '^_NET_WM_ICON 0x20, 0x20, 0x[0-9a-f]{1,6}(, 0x[0-9a-f]+){207}, 0xffffaa28,' \
    -notype -f _NET_WM_ICON 32x ' \$0+' _NET_WM_ICON
quit
exit 0
order 'Resolution : 320 X 240 X 0' 'Setting Loaded\.' 'SDL Inicialized\.' 'OpenGL Inicialized\.' \
    'Game Inicialized\.' 'Entering main game loop\.' 'End\.'
no-err 'Unable to'
STEPS
    [[ -f $folder/stderr.txt ]] || { echo "FAIL: no $folder/stderr.txt"; return 1; }
    ! grep -q "stale" "$folder/stdout.txt" ||
        { echo "FAIL: $folder/stdout.txt not overwritten"; return 1; }
    echo "ok: desktop entry, HOME=$home ${xdg[*]}: console in $folder, decoys unread," \
        "window class and icon"
}

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd) || exit 2
for tool in cpack lintian hardening-check readelf desktop-file-validate appstreamcli groff dpkg-deb \
    Xvfb xdotool xprop; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/deps.sh test)"; exit 2; }
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb="$build/tovask_${version}_$(dpkg --print-architecture).deb"
rm -f "$deb"
(cd "$build" && cpack -G DEB >"$scratch/cpack.log" 2>&1) || { cat "$scratch/cpack.log"; fail "cpack"; }
[[ -f "$deb" ]] || fail "no package $deb"
unpacked="$scratch/unpacked"
dpkg-deb -x "$deb" "$unpacked" || fail "dpkg-deb -x"
[[ "$(dpkg-deb -f "$deb" Section)" == games ]] || fail "section is not games"
for path in usr/games/tovask usr/games/tovask-3dsinfo usr/games/tovask-check \
    usr/games/tovask-model usr/share/games/tovask/chars usr/share/games/tovask/textures/font.bmp \
    usr/share/man/man6/tovask.6.gz usr/share/man/man1/tovask-3dsinfo.1.gz \
    usr/share/man/man1/tovask-check.1.gz usr/share/man/man1/tovask-model.1.gz \
    usr/share/doc/tovask/copyright \
    usr/share/doc/tovask/changelog.gz usr/share/icons/hicolor/16x16/apps/tovask.png \
    usr/share/icons/hicolor/256x256/apps/tovask.png; do
    [[ -e "$unpacked/$path" ]] || fail "the package has no $path"
done
echo "ok: $(basename "$deb"): $(dpkg-deb -f "$deb" Depends)"

lintian --pedantic -I --fail-on error,warning "$deb" >"$scratch/lintian.log" 2>&1
lintian_status=$?
grep -v "running with root privileges" "$scratch/lintian.log"
[[ $lintian_status -eq 0 ]] || fail "lintian"
! grep -E "(hardening-|binary-has-unneeded-section|unstripped-binary)" "$scratch/lintian.log" ||
    fail "lintian: binaries not hardened or not stripped"
echo "ok: lintian: no error, no warning, hardened and stripped"

# Every hardening feature but control-flow integrity: Debian 12's C start
# files carry no IBT/SHSTK note, so no program linked there gets the one the
# check looks for (Debian's own binaries show the same).
for program in "$unpacked"/usr/games/*; do
    hardening-check --nocfprotection "$program" >"$scratch/hardening.log" ||
        { cat "$scratch/hardening.log"; fail "hardening-check $(basename "$program")"; }
done
echo "ok: hardening-check"

# The tools that show nothing link nothing that draws or opens windows.
needed() { readelf -d "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'; }
! needed "$unpacked/usr/games/tovask-3dsinfo" | grep -E "^lib(SDL|GL|OpenGL|X)" ||
    fail "tovask-3dsinfo links SDL, GL or X"
! needed "$unpacked/usr/games/tovask-check" | grep -E "^lib(GL|OpenGL|X)" ||
    fail "tovask-check links GL or X"
# The model fixer's previews draw with Mesa's off-screen renderer (libOSMesa, with GLU).
! needed "$unpacked/usr/games/tovask-model" | grep -E "^lib(GL|GLX|OpenGL|X11)\.so" ||
    fail "tovask-model links a window's GL or X"
echo "ok: the inspector, the checker and the model fixer link no window's GL or X"

entry="$unpacked/usr/share/applications/org.tovask.tovask.desktop"
desktop-file-validate "$entry" || fail "desktop entry"
appstreamcli validate-tree --no-net "$unpacked" >"$scratch/appstream.log" 2>&1 ||
    { cat "$scratch/appstream.log"; fail "AppStream metadata"; }
echo "ok: desktop entry and AppStream metadata"

for page in "$unpacked"/usr/share/man/man*/*.gz; do
    warnings=$(zcat "$page" | groff -man -t -ww -z 2>&1)
    [[ -z "$warnings" ]] || fail "$(basename "$page"): $warnings"
done
echo "ok: manual pages render without warnings"

# A plain install where no build would put it, and the package's own layout.
DESTDIR="$scratch/destdir" cmake --install "$build" --prefix /opt/tovask >"$scratch/install.log" ||
    { cat "$scratch/install.log"; fail "cmake --install"; }
# Width, height, bits, windowed, texture quality, filled polygons, hints.
echo "320 240 0 0 1 1 0" >"$scratch/destdir/opt/tovask/share/tovask/tovask.cfg"
echo "320 240 0 0 1 1 0" >"$unpacked/usr/share/games/tovask/tovask.cfg"
status=0
play "$scratch/destdir/opt/tovask/bin/tovask" || status=1
desktop_exec "$entry" >"$scratch/exec" || fail "the desktop entry's Exec line"
mapfile -d '' launch <"$scratch/exec"
wm_class=$(sed -n 's/^StartupWMClass=//p' "$entry")
mapped=0
for i in "${!launch[@]}"; do  # the package's game is the unpacked copy
    [[ ${launch[i]} == /usr/games/tovask ]] && launch[i]=$unpacked/usr/games/tovask && mapped=1
done
[[ $mapped == 1 ]] || fail "the desktop entry starts no /usr/games/tovask"
# A space and a quote in HOME; spaces and quotes in XDG_DATA_HOME, whose folder holds a stale
# stdout.txt.
desktop_play "$scratch/player's home" "" || status=1
xdg_data="$scratch/home 2/my \"data\""
mkdir -p "$xdg_data/tovask" && echo stale >"$xdg_data/tovask/stdout.txt"
desktop_play "$scratch/home 2" "$xdg_data" || status=1
# A relative XDG_DATA_HOME is ignored: nothing made under the working folder (HOME).
desktop_play "$scratch/home 3" "data" || status=1
[[ ! -e "$scratch/home 3/data" ]] || fail "a relative XDG_DATA_HOME was used"
exit $status
