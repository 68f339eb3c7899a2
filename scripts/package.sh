#!/usr/bin/env bash
# Builds the release of Wavesift for /usr in build-package/ and packs it as
# a Debian package there: build-package/wavesift_<version>_<arch>.deb.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$here/scripts/deps.sh"
ws_install_missing
cmake -S "$here" -B "$here/build-package" -G Ninja -DWAVESIFT_TESTS=OFF \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DCMAKE_INSTALL_PREFIX=/usr
cmake --build "$here/build-package"
(cd "$here/build-package" && cpack -G DEB)
