#!/bin/sh
# Builds the Debian package and checks that it carries the program, its
# launcher, its icon and its runtime dependencies.
# Usage: checkdeb.sh <cpack> <CPackConfig.cmake> <scratch folder>
set -eu
cpack=$1 config=$2 out=$3

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

listing=$(dpkg-deb -c "$deb")
status=0
for path in ./usr/bin/quillane \
            ./usr/share/applications/quillane.desktop \
            ./usr/share/icons/hicolor/32x32/apps/quillane.png; do
    if ! printf '%s\n' "$listing" | grep -q " $path\$"; then
        echo "missing from $deb: $path"
        status=1
    fi
done
if [ -z "$(dpkg-deb -f "$deb" Depends)" ]; then
    echo "no Depends field in $deb"
    status=1
fi
exit $status
