#!/usr/bin/env bash
# Installs what is missing, builds Wavesift with its tests and runs them all,
# twice: a normal build in build-tests/, then the same suite built with
# AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$here/scripts/deps.sh"
ws_install_missing
jobs=$(nproc 2>/dev/null || echo 2)
# Most of a test run is spent waiting on pseudo-terminals and the simulated
# receiver, not computing, so twice as many test programs as cores run at
# once; the long pseudo-terminal programs still start first.
test_jobs=$((jobs * 2))

# The configurations are the presets in CMakePresets.json, which an IDE
# offers too.
cd "$here"

# The normal build compiles at -O2 with Debian's hardening flags as the
# program ships, but without the debug information, which no test reads and
# which costs a quarter of the compile time. Configured for /usr like the
# package, which the suite builds from this program (this folder is never
# installed).
cmake --preset tests
cmake --build --preset tests -j "$jobs"
ctest --preset tests -j "$test_jobs"

# The sanitizer build is a Debug build (assertions on) at -O0 with line
# tables only: quickest to compile, still fast enough to run (the suite's
# time is spent waiting on the pseudo-terminal), and the reports still name
# file and line. Only the test programs are built.
cmake --preset asan
cmake --build --preset asan -j "$jobs"
# Stop at the first report with a stack trace; leak checking stays on, with
# only the leaks of the libraries listed in lsan.supp forgiven. Options
# already set by the caller are appended, so they win.
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export LSAN_OPTIONS="suppressions=$here/scripts/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
ctest --preset asan -j "$test_jobs"
