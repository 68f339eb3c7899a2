#!/usr/bin/env bash
# Peak memory and processor time of `wavesift --check` while the receiver
# simulator floods the line: once from the first status request (bytes
# without a line end), once from the table search (lines without end). The
# pseudo-terminal carries the flood as fast as the program reads it, far
# faster than a 38400 bit/s line could. Targets: peak under 100 MB, well
# under one core, the check ending as a port failure (exit 3).
#
#   bash bench/flood.sh [BUILD_DIR]     (default: build)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$here/build}" && pwd)"
wavesift="$build/src/app/wavesift"
rxsim="$build/tools/rxsim/wavesift-rxsim"
for program in "$wavesift" "$rxsim"; do
  [ -x "$program" ] || { echo "missing $program: build wavesift and wavesift-rxsim first" >&2; exit 2; }
done
work="$(mktemp -d)"
simulator=""
trap '[ -n "$simulator" ] && kill "$simulator" 2>/dev/null; rm -rf "$work"' EXIT

for where in status search; do
  "$rxsim" --flood "$where" >"$work/sim" &
  simulator=$!
  for _ in $(seq 50); do [ -s "$work/sim" ] && break; sleep 0.1; done
  device="$(head -n1 "$work/sim")"
  code=0
  /usr/bin/time -f "%M %e %U %S" -o "$work/time" \
    "$wavesift" --check 11778h --port "$device" --timeout 10 >"$work/out" 2>"$work/err" || code=$?
  kill "$simulator" 2>/dev/null || true
  wait "$simulator" 2>/dev/null || true
  simulator=""
  # GNU time puts a line about a non-zero exit first.
  read -r peak_kb wall user sys < <(tail -n1 "$work/time")
  awk -v w="$where" -v c="$code" -v k="$peak_kb" -v t="$wall" -v u="$user" -v s="$sys" \
      -v o="$(stat -c %s "$work/out")" 'BEGIN {
    printf "flood %-6s exit %d  peak %.1f MB  wall %.1f s  cpu %.1f s (%.0f%% of one core)  log %d bytes\n",
           w, c, k / 1024, t, u + s, (t > 0 ? 100 * (u + s) / t : 0), o }'
  sed 's/^/  stderr: /' "$work/err"
done
