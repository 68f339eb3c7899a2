#!/usr/bin/env bash
# The user guide carries two texts the build makes: the forms of use, as
# --help opens with them, and the keys list written from the windows' table
# of keys. Each stands between its markers and must equal what the build made.
#   check_guide.sh <guide.md> <wavesift> <wavesift-keys.md>
set -euo pipefail
guide=$1 exe=$2 keys=$3
status=0
# The lines between "<!-- NAME: begin" and "<!-- NAME: end", less a code fence.
section() { sed -n "/^<!-- $1: begin/,/^<!-- $1: end/{/^<!-- $1: /d;/^\`\`\`/d;p}" "$guide"; }
# refresh <marker> <what> <made by>
refresh() {
  echo "$guide: its $2 (<) differs from $3 (>)."
  echo "Refresh it: build, then replace what stands between \"<!-- $1: begin\" and"
  echo "\"<!-- $1: end\" with $3${4:-}."
  status=1
}
[[ -n $(section usage) ]] || { echo "$guide has no usage markers"; status=1; }
[[ -n $(section keys) ]] || { echo "$guide has no keys markers"; status=1; }
diff <(section usage) <("$exe" --help | sed '/^$/,$d') ||
  refresh usage "usage synopsis" "the output of 'wavesift --help' up to its first blank line" \
    " (inside the code fence)"
diff <(section keys) "$keys" || refresh keys "keys list" "$keys (target wavesift_keys)"
exit $status
