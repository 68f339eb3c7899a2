#!/usr/bin/env bash
# Installs what is missing, builds Wavesift and starts it.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$here/scripts/deps.sh"
ws_install_missing
cmake -S "$here" -B "$here/build" -G Ninja -DWAVESIFT_TESTS=OFF
cmake --build "$here/build" --target wavesift
exec "$here/build/src/app/wavesift" "$@"
