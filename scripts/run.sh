#!/usr/bin/env bash
# Installs what is missing, builds Wavesift and starts it.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$here/scripts/deps.sh"
ws_install_missing
cd "$here"
cmake --preset program
cmake --build --preset program
exec "$here/build/src/app/wavesift" "$@"
