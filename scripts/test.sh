#!/usr/bin/env bash
# Installs what is missing, builds Wavesift with its tests and runs them all.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$here/scripts/deps.sh"
ws_install_missing
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S "$here" -B "$here/build-tests" -G Ninja -DWAVESIFT_TESTS=ON
cmake --build "$here/build-tests" -j "$jobs"
cd "$here/build-tests"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs"
