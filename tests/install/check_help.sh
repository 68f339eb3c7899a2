#!/usr/bin/env bash
# Every option that --help names has its item in the manual page and is
# offered by the bash completion; neither names an option --help lacks. Both
# pass the checks a distribution runs on them. The same between the
# simulator's --help and its manual page.
#   check_help.sh <wavesift> <manual page> <completion script>
#                 <wavesift-rxsim> <its manual page source>
set -euo pipefail
exe=$1 man=$2 completion=$3 rxsim=$4 rxsim_man=$5
help=$("$exe" --help)
options() { grep -oE -- '--[a-z][a-z-]*' | sort -u; }
help_options() { sed -nE 's/^  (-[a-z], )?(--[a-z][a-z-]*).*/\2/p' | sort -u; }
# The manual's items start with ".TP" and name the option on the next line.
man_items() { grep -A1 '^\.TP' "$1" | sed 's/\\-/-/g' | grep -E '^\.B' | options; }
from_help=$(help_options <<<"$help")
from_man=$(man_items "$man")
from_completion=$(bash -c 'source "$1"; COMP_WORDS=(wavesift --); COMP_CWORD=1; _wavesift
                           printf "%s\n" "${COMPREPLY[@]}"' _ "$completion" | options)
status=0
differ() { echo "^ --help (<) and $1 (>) differ"; status=1; }
diff <(echo "$from_help") <(echo "$from_man") || differ "the manual page's items"
diff <(echo "$from_help") <(echo "$from_completion") || differ "the completion"
rxsim_help=$("$rxsim" --help | help_options)
diff <(echo "$rxsim_help") <(man_items "$rxsim_man") ||
  differ "the simulator's manual page (against its own --help)"
# Nor does either page name an option, in its examples say, that neither
# program knows.
unknown=$(sed 's/\\-/-/g' "$man" "$rxsim_man" | options |
          comm -13 <(sort -u <<<"$from_help"$'\n'"$rxsim_help") -)
[[ -z $unknown ]] || { echo "the manual pages name unknown options:" $unknown; status=1; }
# The forms of use: the manual's SYNOPSIS has a line for each of --help's.
usage_help=$(sed -n '1,/^$/p' <<<"$help" | grep -oE 'wavesift( --[a-z-]+)?' | sort)
usage_man=$(sed -n '/^\.SH SYNOPSIS/,/^\.SH DESCRIPTION/p' "$man" | sed 's/\\-/-/g; s/\\f[BIR]//g' |
            grep -A1 '^\.B wavesift$' | grep -v '^\.B wavesift$' | grep -v '^--$' |
            sed -E 's/^(--[a-z-]+).*/wavesift \1/; t; s/.*/wavesift/' | sort)
[[ $usage_help == "$usage_man" ]] || { echo "forms of use: --help"; echo "$usage_help";
                                      echo "manual:"; echo "$usage_man"; status=1; }
codes_help=$(sed -n '/^Exit codes:/,$p' <<<"$help" | sed -nE 's/^  ([0-9])  .*/\1/p')
codes_man=$(sed -n '/^\.SH EXIT STATUS/,/^\.SH /p' "$man" | grep -A1 '^\.TP' | sed -nE 's/^\.B ([0-9])$/\1/p')
[[ $codes_help == "$codes_man" ]] || { echo "exit codes: --help $codes_help, manual $codes_man"; status=1; }
# As lintian reads a manual page: groff's warnings, and a NAME line for apropos.
said=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$man" 2>&1 >/dev/null)
[[ -z $said ]] || { echo "man --warnings: $said"; status=1; }
lexgrog "$man" >/dev/null || { echo "lexgrog finds no NAME line"; status=1; }
shellcheck -s bash "$completion" || status=1
# --port offers lasting names first, then each device with a driver and, for a UART line, a chip.
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT
mkdir -p "$fake/dev/serial/by-id" "$fake/sys/class/tty"/{ttyS0,ttyS1,ttyUSB0,tty1}/
touch "$fake/dev"/{ttyS0,ttyS1,ttyUSB0,tty1}
ln -s ../../ttyUSB0 "$fake/dev/serial/by-id/usb-Maker_Adapter-if00-port0"
for port in ttyS0 ttyS1 ttyUSB0; do ln -s /proc "$fake/sys/class/tty/$port/device"; done
echo 0 >"$fake/sys/class/tty/ttyS0/type"
echo 4 >"$fake/sys/class/tty/ttyS1/type"
ports=$(bash -c 'source "$1"; _wavesift_ports "$2/dev" "$2/sys"' _ "$completion" "$fake")
want=$(printf "$fake/dev/%s\n" serial/by-id/usb-Maker_Adapter-if00-port0 ttyS1 ttyUSB0)
[[ $ports == "$want" ]] || { echo "ports offered:"; echo "$ports"; status=1; }
exit $status
