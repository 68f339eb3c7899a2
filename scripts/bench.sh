#!/usr/bin/env bash
# Builds the benchmarks in Release mode and runs every one of them.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$here/scripts/deps.sh"
ws_install_missing
cd "$here"
cmake --preset bench
cmake --build --preset bench
for b in "$here"/build-bench/bench/bench_*; do
  [ -f "$b" ] && [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  QT_QPA_PLATFORM=offscreen "$b"
done
