#!/usr/bin/env bash
# Each default data file missing, empty or garbage: documented message or
# documented exit, never a crash, hang or sanitizer report (missing_files.py).
set -uo pipefail
: "${TOVASK_BUILD_DIR:?build folder}"
exec python3 "$(dirname "$0")/missing_files.py"
