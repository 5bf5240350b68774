#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game on the bundled default data.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh run
scripts/build.sh
exec build/tovask
