#!/usr/bin/env bash
# What `wavesift --watch` costs while it runs: processor time as a share of
# one core and peak memory, against the receiver simulator's turning dish,
# for 60 s unless told otherwise. Target: at most 2 % of a core, and a peak
# that does not grow with the time watched (run it for 10 and for 120 s).
# Then the same for `wavesift --dish`, the dish view with its tone, some 25
# replies a second: target at most 5 % of a core. Without a display the
# view is drawn off-screen; without a sound server it plays no tone (the
# tone's own cost is bench_dish's toneSecond).
#
#   bash bench/watch.sh [BUILD_DIR] [SECONDS]     (default: build, 60)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$here/build}" && pwd)"
seconds="${2:-60}"
wavesift="$build/src/app/wavesift"
rxsim="$build/tools/rxsim/wavesift-rxsim"
for program in "$wavesift" "$rxsim"; do
  [ -x "$program" ] || { echo "missing $program: build wavesift and wavesift-rxsim first" >&2; exit 2; }
done
work="$(mktemp -d)"
simulator=""
trap '[ -n "$simulator" ] && kill "$simulator" 2>/dev/null; rm -rf "$work"' EXIT

"$rxsim" --sweep 20 >"$work/sim" &
simulator=$!
for _ in $(seq 50); do [ -s "$work/sim" ] && break; sleep 0.1; done
device="$(head -n1 "$work/sim")"
/usr/bin/time -f "%M %e %U %S" -o "$work/time" \
  "$wavesift" --watch 11778h --port "$device" --for "$seconds" >"$work/out" 2>"$work/err"
read -r peak_kb wall user sys < <(tail -n1 "$work/time")
awk -v k="$peak_kb" -v t="$wall" -v u="$user" -v s="$sys" -v n="$(wc -l <"$work/out")" 'BEGIN {
  printf "watch %.1f s  %d lines  cpu %.2f s (%.2f%% of one core)  peak %.1f MB\n",
         t, n, u + s, (t > 0 ? 100 * (u + s) / t : 0), k / 1024 }'
sed 's/^/  stderr: /' "$work/err"

# The dish view: it runs until closed; SIGTERM ends it after the seconds.
[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] || export QT_QPA_PLATFORM=offscreen
/usr/bin/time -f "%M %e %U %S" -o "$work/time" \
  timeout -s TERM "$seconds" "$wavesift" --dish 11778h --port "$device" >"$work/out" 2>"$work/err" || true
read -r peak_kb wall user sys < <(tail -n1 "$work/time")
awk -v k="$peak_kb" -v t="$wall" -v u="$user" -v s="$sys" 'BEGIN {
  printf "dish  %.1f s  cpu %.2f s (%.2f%% of one core)  peak %.1f MB\n",
         t, u + s, (t > 0 ? 100 * (u + s) / t : 0), k / 1024 }'
