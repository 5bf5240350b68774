#!/usr/bin/env bash
# Installs the Debian packages Tovask needs that are not installed yet.
# Usage: scripts/deps.sh [run|package|test|coverage]
#   package adds what building the Debian package needs (cpack runs
#   dpkg-shlibdeps, which needs file and objdump); test adds that and what
#   the test suite and the release check need; coverage adds gcovr to test.
set -euo pipefail
want=(libsdl1.2-compat-dev libsdl-image1.2-dev libgl-dev libglu1-mesa-dev cmake g++ pkg-config
      libjpeg-dev libtiff-dev libwebp-dev libfreetype-dev fonts-dejavu-core libgl1-mesa-dri
      libosmesa6-dev)
kind=${1:-run}
if [ "$kind" = package ] || [ "$kind" = test ] || [ "$kind" = coverage ]; then
  want+=(dpkg-dev file binutils)
fi
if [ "$kind" = test ] || [ "$kind" = coverage ]; then
  want+=(xvfb xauth xdotool x11-utils python3 strace googletest libgtest-dev libbenchmark-dev clang-14 libclang-rt-14-dev
         lintian devscripts desktop-file-utils appstream groff-base man-db)
fi
if [ "$kind" = coverage ]; then
  want+=(gcovr)
fi
missing=()
for p in "${want[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
