#!/usr/bin/env bash
# Installs the Debian packages that building and testing Wavesift needs,
# but only those that are missing. Sourced by run.sh and test.sh.
set -euo pipefail

ws_packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-serialport-dev libgl-dev
  # The dish view's tone plays through Qt Multimedia's QAudioSink.
  qt6-multimedia-dev
  libbenchmark-dev
  # bench/flood.sh measures peak memory with GNU time.
  time
  fonts-dejavu-core fonts-liberation
  # The sources from which the locale tests build a German locale.
  locales
  # Building the Debian package (dpkg-buildflags gives its hardening flags,
  # dpkg-shlibdeps computes its Depends, CPack finds the binaries with file)
  # and the validators its test runs (hardening-check is in devscripts).
  dpkg-dev file desktop-file-utils appstream shared-mime-info libglib2.0-bin
  # What the test of the manual page and the bash completion checks them with.
  man-db shellcheck
  lintian devscripts
)

ws_install_missing() {
  local missing=()
  local p
  for p in "${ws_packages[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}
