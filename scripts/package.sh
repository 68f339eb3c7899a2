#!/usr/bin/env bash
# Builds the release of Wavesift for /usr in build-package/ and packs it as
# a Debian package there: build-package/wavesift_<version>_<arch>.deb.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$here/scripts/deps.sh"
ws_install_missing
cd "$here"
cmake --preset package
cmake --build --preset package
(cd "$here/build-package" && cpack -G DEB)
