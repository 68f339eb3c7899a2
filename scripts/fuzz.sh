#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each one
# in turn for a bounded time.
#
#   bash scripts/fuzz.sh [seconds per target, default 60] [target ...]
#
# Targets: scanfile, scanpaths, mapfile, signalcheck (all when none is
# named). Each run starts from the seeds in fuzz/corpus/<target>/, the kept crash inputs in
# fuzz/regressions/<target>/ (if any) and whatever earlier runs found in
# fuzz/out/<target>/corpus/, and adds its own finds there; a crashing input
# is saved as fuzz/out/<target>/crash-* (or leak-*, timeout-*). fuzz/out/ is
# not kept in git. Exits non-zero when any target found something.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$here/scripts/deps.sh"
ws_install_missing clang libclang-rt-14-dev

seconds="${1:-60}"
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(scanfile scanpaths mapfile signalcheck)
jobs=$(nproc 2>/dev/null || echo 2)

# Debug keeps the assertions on; -O1 keeps the runs fast.
(cd "$here" && cmake --preset fuzz && cmake --build --preset fuzz -j "$jobs")

export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export LSAN_OPTIONS="suppressions=$here/scripts/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"

failed=()
for target in "${targets[@]}"; do
  out="$here/fuzz/out/$target"
  mkdir -p "$out/corpus"
  # The words each reader looks for, so that mutations hit them sooner.
  dict=()
  [ -f "$here/fuzz/$target.dict" ] && dict=(-dict="$here/fuzz/$target.dict")
  echo "== fuzz_$target for ${seconds} s"
  # One job at a time: the machine is shared. A single input that takes
  # more than 10 s counts as a hang.
  seeds=("$here/fuzz/corpus/$target")
  [ -d "$here/fuzz/regressions/$target" ] && seeds+=("$here/fuzz/regressions/$target")
  if ! "$here/build-fuzz/fuzz/fuzz_$target" "$out/corpus" "${seeds[@]}" \
      -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
      "${dict[@]}" -artifact_prefix="$out/" -print_final_stats=1 2>&1 | tee "$out/last-run.log"; then
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "Fuzzing found problems in: ${failed[*]} (inputs in fuzz/out/<target>/;"
  echo "once fixed, keep each in fuzz/regressions/<target>/ so that the tests replay it)"
  exit 1
fi
echo "No crash, leak or sanitizer report."
