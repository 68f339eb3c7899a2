#!/usr/bin/env bash
# Measures how long Wavesift takes from process start to the first paint of
# its window, and its peak resident memory, against a minimal Qt window built
# the same way; prints both ratios (target: at most 1.2 each). Headless:
# first with the offscreen platform, then, when xvfb-run is installed, on a
# virtual X server, where the connection to the X server counts too.
# How it measures: see bench/startup.py and bench/startup_probe.cpp.
#   bash bench/startup.sh [runs]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$here/scripts/deps.sh"
ws_install_missing
(cd "$here" && cmake --preset bench >/dev/null)
cmake --build "$here/build-bench" --target startup_wavesift startup_minimal
runs="${1:-20}"
QT_QPA_PLATFORM=offscreen python3 "$here/bench/startup.py" "$here/build-bench/bench" "$runs"
if command -v xvfb-run >/dev/null; then
  echo
  QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 900x700x24" \
    python3 "$here/bench/startup.py" "$here/build-bench/bench" "$runs"
fi
