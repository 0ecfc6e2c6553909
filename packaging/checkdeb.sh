#!/bin/sh
# Builds the Debian package and puts it through Debian's own checks:
# lintian --pedantic (with infos), appstreamcli validate and validate-tree,
# and desktop-file-validate. Any error, warning or pedantic tag fails, and so
# does any info not listed in $accepted_infos (each is explained in the
# README). The checkers come from apt when missing.
# Usage: checkdeb.sh <cpack> <CPackConfig.cmake> <scratch folder>
set -eu
cpack=$1 config=$2 out=$3
accepted_infos="hardening-no-fortify-functions"

missing=""
for tool in lintian:lintian appstreamcli:appstream \
            desktop-file-validate:desktop-file-utils dpkg-shlibdeps:dpkg-dev; do
    command -v "${tool%%:*}" >/dev/null 2>&1 || missing="$missing ${tool#*:}"
done
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    sudo=""
    [ "$(id -u)" = 0 ] || sudo="sudo -n"
    $sudo apt-get update -qq
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing >/dev/null
fi

rm -rf "$out"
mkdir -p "$out"
if ! "$cpack" -G DEB --config "$config" -B "$out" >"$out/cpack.log" 2>&1; then
    cat "$out/cpack.log"
    exit 1
fi
set -- "$out"/*.deb
if [ $# -ne 1 ] || [ ! -f "$1" ]; then
    echo "expected one .deb in $out, found: $*"
    exit 1
fi
deb=$1
root=$out/root
dpkg-deb -x "$deb" "$root"
status=0

# The icon set: lintian checks each size against its folder, not that it is there.
for size in 16 22 24 32 48 64 128 256; do
    icon=$root/usr/share/icons/hicolor/${size}x$size/apps/quillane.png
    [ -s "$icon" ] || { echo "missing from $deb: ${icon#"$root"}"; status=1; }
done
[ -s "$root/usr/share/icons/hicolor/scalable/apps/quillane.svg" ] || {
    echo "missing from $deb: the scalable icon"; status=1; }

echo "== lintian --pedantic -I $(basename "$deb")"
lintian --pedantic -I --fail-on error,warning,pedantic "$deb" >"$out/lintian.txt" 2>&1 || {
    echo "lintian failed (exit status $?)"; status=1; }
cat "$out/lintian.txt"
unexpected=$(grep -E '^[EWIPX]: ' "$out/lintian.txt" | while read -r level package tag rest; do
    [ "$level" = "I:" ] && case " $accepted_infos " in *" $tag "*) continue ;; esac
    echo "$level $tag"
done)
[ -z "$unexpected" ] || { echo "lintian tags not accepted: $unexpected"; status=1; }

for metainfo in "$root"/usr/share/metainfo/*.metainfo.xml; do
    echo "== appstreamcli validate --pedantic --no-net $(basename "$metainfo")"
    appstreamcli validate --pedantic --no-net "$metainfo" || status=1
done
# The tree check also finds the desktop file the metainfo launches.
echo "== appstreamcli validate-tree --pedantic --no-net <package>"
appstreamcli validate-tree --pedantic --no-net "$root" || status=1

for desktop in "$root"/usr/share/applications/*.desktop; do
    echo "== desktop-file-validate $(basename "$desktop")"
    report=$(desktop-file-validate "$desktop" 2>&1) || status=1
    [ -z "$report" ] || echo "$report"
    ! echo "$report" | grep -qE ': (error|warning): ' || status=1
done

[ $status = 0 ] && echo "package checks passed: $(basename "$deb")"
exit $status
