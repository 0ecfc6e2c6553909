#!/bin/sh
# Builds the Debian package twice, fails unless both are byte-identical, and
# puts it through Debian's own checks:
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

# Two builds of the package must give the same bytes: cpack sets every time
# stamp to SOURCE_DATE_EPOCH (the last commit's time), and the modes are
# fixed whatever the umask, so the second build runs under another one.
rm -rf "$out"
for build in first:022 second:077; do
    mask=${build#*:} build=${build%%:*}
    mkdir -p "$out/$build"
    if ! (umask "$mask" && "$cpack" -G DEB --config "$config" -B "$out/$build") >"$out/$build/cpack.log" 2>&1; then
        cat "$out/$build/cpack.log"
        exit 1
    fi
    set -- "$out/$build"/*.deb
    if [ $# -ne 1 ] || [ ! -f "$1" ]; then
        echo "expected one .deb in $out/$build, found: $*"
        exit 1
    fi
done
deb=$1
first=$(sha256sum <"$out/first/$(basename "$deb")" | cut -d' ' -f1)
second=$(sha256sum <"$deb" | cut -d' ' -f1)
echo "== sha256 of two builds of $(basename "$deb")"
echo "$first  first/$(basename "$deb") (umask 022)"
echo "$second  second/$(basename "$deb") (umask 077)"
status=0
if [ "$first" != "$second" ]; then
    echo "the two builds differ: the package is not reproducible"
    for build in first second; do
        mkdir -p "$out/ar-$build"
        (cd "$out/ar-$build" && ar x "../$build/$(basename "$deb")" && ar tv "../$build/$(basename "$deb")" &&
         for member in *.tar.*; do tar tvf "$member" --full-time; done) >"$out/$build.list" 2>&1
    done
    diff "$out/first.list" "$out/second.list" || true
    for member in "$out"/ar-first/*; do
        cmp "$member" "$out/ar-second/$(basename "$member")" || true
    done
    status=1
fi
root=$out/root
dpkg-deb -x "$deb" "$root"

# The icon set: lintian checks each size against its folder, not that it is there.
for size in 16 22 24 32 48 64 128 256; do
    icon=$root/usr/share/icons/hicolor/${size}x$size/apps/quillane.png
    [ -s "$icon" ] || { echo "missing from $deb: ${icon#"$root"}"; status=1; }
done
[ -s "$root/usr/share/icons/hicolor/scalable/apps/quillane.svg" ] || {
    echo "missing from $deb: the scalable icon"; status=1; }
[ -s "$root/usr/share/mime/packages/io.github.quillane.Quillane.xml" ] || {
    echo "missing from $deb: the line file's MIME type"; status=1; }

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
