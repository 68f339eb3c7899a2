#!/usr/bin/env bash
# Packs this build as a Debian package, checks it as the distribution would
# (lintian, hardening-check), unpacks it into a scratch folder (never into
# the system), runs the unpacked programs and validates their desktop files.
#   check_package.sh <build dir> <install prefix> <version> <package version> <app id> <scratch>
set -euo pipefail
build=$1 prefix=$2 version=$3 debversion=$4 appid=$5 work=$6
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in lintian hardening-check; do
  command -v $tool >/dev/null || fail "$tool is missing: bash scripts/deps.sh installs it"
done
rm -rf "$work" && mkdir -p "$work"

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack"; }
deb="$work/wavesift_${debversion}_$(dpkg --print-architecture).deb"
[[ -f $deb ]] || fail "no $deb: $(ls "$work")"
# Lintian takes longer than all the rest, so it runs beside it. Its
# overrides are in the package, each with its reason in the user guide.
lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 &
lintian=$!
trap 'kill $lintian 2>/dev/null || true' EXIT
field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Version) == "$debversion" ]] || fail "Version $(field Version)"
[[ $(field Depends) == *libqt6widgets6* && $(field Depends) == *libqt6multimedia6* &&
   $(field Depends) == *libc6* ]] ||
  fail "Depends not computed from the binary: $(field Depends)"
for f in Maintainer Section Description; do [[ -n $(field $f) ]] || fail "no $f"; done
[[ -z $(field Homepage) ]] || fail "a Homepage was made up"

dpkg-deb -x "$deb" "$work/root"
share="$work/root$prefix/share" exe="$work/root$prefix/bin/wavesift"
rxsim="$work/root$prefix/bin/wavesift-rxsim" examples="$share/doc/wavesift/examples"
# Control-flow protection is not asked for: Debian 12's flags do not
# include it, and its C start files lack the marks, so no program passes.
# hardening-check sees fortify only in calls to the checking variants of
# libc's functions; the compiler proved every such call of the program
# safe as it stands (a readlink into an array of known size, say) and so
# calls none. The simulator, compiled with the same flags, shows them.
hardening-check --quiet --nocfprotection "$rxsim" || fail "hardening-check"
hardening-check --quiet --nocfprotection --nofortify "$exe" || fail "hardening-check"
[[ $("$exe" --version) == "wavesift $version" ]] || fail "--version: $("$exe" --version)"
doc="$share/doc/wavesift"
gzip -t "$doc/README.md.gz" || fail "no README"
gzip -t "$doc/guide.md.gz" || fail "no user guide"
# Every example the README, the guide and the manual page name is in the
# package, so that what they tell works in the installed examples folder;
# the script that writes the examples stays in the source tree.
named=$({ zcat "$doc/README.md.gz" "$doc/guide.md.gz"
          zcat "$share/man/man1/wavesift.1.gz" | sed 's/\\-/-/g'; } |
        grep -oE 'examples/[A-Za-z0-9_.-]+(/[A-Za-z0-9_.-]+)*' | sed 's/\.*$//' | sort -u)
[[ -n $named ]] || fail "the documents name no example"
for path in $named; do
  [[ $path == examples/make_examples.py || -e $doc/$path ]] ||
    fail "$path is named in the documents but not in the package"
done
# A file manager hands the scans over in any order, and of equal times the
# first one given would be the newest: the times tell which is which, and
# order the history's scans as their names do.
[[ $examples/reference.scn -ot $examples/newest.scn ]] || fail "the reference example is not older"
history=("$examples"/history/*.scn)
(( ${#history[@]} > 1 )) || fail "no history examples"
for (( i = 1; i < ${#history[@]}; ++i )); do
  [[ ${history[i-1]} -ot ${history[i]} ]] || fail "${history[i-1]} is not older than ${history[i]}"
done
QT_QPA_PLATFORM=offscreen "$exe" --export "$work/window.png" --any-order \
  "$examples/demo.map" "$examples/reference.scn" "$examples/newest.scn"
[[ $(od -An -tx1 -N8 "$work/window.png" | tr -d ' \n') == 89504e470d0a1a0a ]] || fail "--export wrote no PNG"

# Its warnings and hints count, too.
said=$(desktop-file-validate "$share/applications/wavesift.desktop" 2>&1) && [[ -z $said ]] ||
  fail "desktop-file-validate: $said"
metainfo="$share/metainfo/$appid.metainfo.xml"
appstreamcli validate --no-net "$metainfo"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metadata shows another release"
# The validator only mentions a missing content rating, and not at all a
# missing licence.
grep -q '<content_rating type="oars-' "$metainfo" || fail "no content rating"
grep -q '<project_license>GPL-3.0-or-later</project_license>' "$metainfo" || fail "no licence"
zcat "$share/man/man1/wavesift.1.gz" | grep -q "Wavesift $version" || fail "manual page version"

# A text scan is ours, though another format's "*.scn" is in the database.
data="$work/data"
mkdir -p "$data/mime/packages" "$work/home"
cp /usr/share/mime/packages/freedesktop.org.xml "$share/mime/packages/wavesift.xml" \
  "$data/mime/packages/"
# Without a sync per file, which costs seconds on a busy disk.
PKGSYSTEM_ENABLE_FSYNC=0 update-mime-database "$data/mime" >/dev/null
type=$(XDG_DATA_DIRS="$data" XDG_DATA_HOME="$work/home" GIO_USE_VFS=local \
  gio info -a standard::content-type "$examples/newest.scn" | sed -n 's/.*content-type: //p')
[[ $type == text/x-wavesift-scan ]] || fail "a scan file is $type"
wait $lintian || { cat "$work/lintian.log"; fail "lintian"; }
echo "package ok: $deb"
