#!/usr/bin/env bash
# The bash completion offers files whatever their names hold, each whole
# and as it is, and never globs or runs what the user typed.
#   check_completion.sh <completion script>
set -uo pipefail
completion=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
touch $'new\nline.scn' '*.scn' 'a b.scn' "it's.scn" '$(touch ran).scn' 'say "hi".scn' old.SCN \
  notes.txt
mkdir 'sub dir'

# COMPREPLY after completing the last of the words given, one name after
# another, each ended by a slash (which no name can hold).
offered() {
  bash -c 'source "$1"; shift; COMP_WORDS=(wavesift "$@"); COMP_CWORD=$#; _wavesift
           printf "%s\0" "${COMPREPLY[@]}"' _ "$completion" "$@" | sort -z | tr '\0' /
}
status=0
# expect "<what>" <words ...> -- <names offered ...>
expect() {
  local what=$1 words=() got want
  shift
  while [[ $1 != -- ]]; do words+=("$1"); shift; done
  shift
  got=$(offered "${words[@]}")
  want=$(printf '%s\0' "$@" | sort -z | tr '\0' /)
  [[ $got == "$want" ]] || { printf '%s: offered %q, not %q\n' "$what" "$got" "$want"; status=1; }
}
scans=($'new\nline.scn' '*.scn' 'a b.scn' "it's.scn" '$(touch ran).scn' 'say "hi".scn' old.SCN)
expect "a scan" '' -- "${scans[@]}" 'sub dir'
expect "a glob typed" '*' -- '*.scn'
expect "the start of a name with a line break" new -- $'new\nline.scn'
expect "in single quotes" "'a b" -- 'a b.scn'
expect "after a backslash" 'a\ b' -- 'a b.scn'
expect "in double quotes" '"say \"' -- 'say "hi".scn'
expect "a quote after a backslash" "it\\'" -- "it's.scn"
expect "a command typed" '\$(' -- '$(touch ran).scn'
expect "the map after two scans" a.scn b.scn no -- notes.txt
expect "a value from the table" --diseqc '' -- 0 1 2 3
expect "a value with nothing to offer" --timeout '' --
# A mode narrows what is offered: a history takes scans and folders, a
# watch its options, and its --port a port.
expect "scans for a history" --history '' -- "${scans[@]}" 'sub dir'
expect "scans after two scans of a history" --history a.scn b.scn '' -- "${scans[@]}" 'sub dir'
expect "scans after a history's map" --history --map notes.txt '' -- "${scans[@]}" 'sub dir'
expect "scans for a history report" --history-report notes.txt '' -- "${scans[@]}" 'sub dir'
expect "a watch's options" --watch 11778h '' -- --help --version --for --bell --port --timeout \
  --power --diseqc --level-pattern --tone
expect "a watch's options by their start" --watch 11778h --p -- --port --power
expect "a port for a watch" --watch 11778h --port /nowhere/tty -- 
[[ ! -e ran ]] || { echo "a file name was run as a command"; status=1; }
exit $status
