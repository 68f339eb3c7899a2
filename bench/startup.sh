#!/usr/bin/env bash
# Measures how long Wavesift takes from process start to the first paint of
# its window with the example files, and its peak resident memory, against a
# minimal Qt window built the same way; prints the ratios (targets: start-up
# at most 1.15 that of the window with one label, memory at most 1.2 that of
# the minimal window). Headless:
# first with the offscreen platform, then, when xvfb-run is installed, on a
# virtual X server, where the connection to the X server counts too.
# How it measures: see bench/startup.py and bench/startup_probe.cpp.
# With an older build's bench folder (its startup_wavesift) it runs that too,
# interleaved, for before-and-after figures from one run. Where valgrind is
# installed it also counts the instructions until the first paint.
#   bash bench/startup.sh [runs] [older build-bench/bench]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$here/scripts/deps.sh"
ws_install_missing
(cd "$here" && cmake --preset bench >/dev/null)
cmake --build "$here/build-bench" --target startup_wavesift startup_minimal
runs="${1:-20}"
before=()
[[ -n "${2:-}" ]] && before=(--before "$2")
counting=()
command -v valgrind >/dev/null && counting=(--instructions)
QT_QPA_PLATFORM=offscreen python3 "$here/bench/startup.py" "$here/build-bench/bench" "$runs" \
  "${before[@]}" "${counting[@]}"
if command -v xvfb-run >/dev/null; then
  echo
  QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 900x700x24" \
    python3 "$here/bench/startup.py" "$here/build-bench/bench" "$runs" "${before[@]}"
fi
