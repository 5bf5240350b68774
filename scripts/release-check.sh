#!/usr/bin/env bash
# Checks the release made from a finished build, reusing its binaries: the
# Debian package (cpack) and its layout, lintian on it (errors and warnings
# fail, and its pedantic and informational tags on hardening and stripping),
# hardening-check on every program, what the tools that draw nothing link,
# the desktop entry and the AppStream metadata validated, the manual pages
# rendered with every groff warning on; then a plain install into a
# scratch DESTDIR and the package unpacked elsewhere, each copy of the game
# started from an empty directory on an X server of the check's own, to the
# menu and out with Escape. Each copy gets a settings file of its own, so the
# window size it reports proves which data folder it found. The package stays
# in BUILD_DIR. Needs no display; the test suite runs it as the test "release".
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

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd) || exit 2
for tool in cpack lintian hardening-check readelf desktop-file-validate appstreamcli groff dpkg-deb \
    Xvfb xdotool; do
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

desktop-file-validate "$unpacked"/usr/share/applications/*.desktop || fail "desktop entry"
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
for game in "$scratch/destdir/opt/tovask/bin/tovask" "$unpacked/usr/games/tovask"; do
    play "$game" || status=1
done
exit $status
