#!/bin/sh
# The desktop entry passes desktop-file-validate, and the line file's MIME
# type, built into a MIME database of its own, is what a *.ptx name resolves
# to and what the desktop entry opens.
# Usage: checkdesktop.sh <packaging source folder> <scratch folder>
# Exits 77 (skipped) when a tool is missing.
set -eu
src=$1 out=$2
app_id=io.github.quillane.Quillane
for tool in desktop-file-validate:desktop-file-utils update-mime-database:shared-mime-info; do
    if ! command -v "${tool%%:*}" >/dev/null 2>&1; then
        echo "${tool%%:*} not found: install ${tool#*:} (scripts/test does)"
        exit 77
    fi
done
status=0

echo "== desktop-file-validate $app_id.desktop"
if ! report=$(desktop-file-validate "$src/$app_id.desktop" 2>&1); then
    status=1
fi
[ -z "$report" ] || echo "$report"
! echo "$report" | grep -qE ': (error|warning): ' || status=1

echo "== update-mime-database with $app_id.xml alone"
rm -rf "$out"
mime=$out/mime
mkdir -p "$mime/packages"
cp "$src/$app_id.xml" "$mime/packages/"
# With the scratch folder as the only data folder, the database is the one
# lookups would use, and update-mime-database has no reason to remark on it.
if ! XDG_DATA_HOME=$out XDG_DATA_DIRS=$out update-mime-database "$mime" >"$out/update.log" 2>&1 ||
   [ -s "$out/update.log" ]; then
    cat "$out/update.log"
    echo "update-mime-database did not take $app_id.xml cleanly"
    status=1
fi

glob_type=$(awk -F: '$3 == "*.ptx" { print $2 }' "$mime/globs2" 2>/dev/null)
if [ "$glob_type" = application/x-quillane-lines ]; then
    echo "*.ptx resolves to $glob_type"
else
    echo "*.ptx resolves to '$glob_type', not application/x-quillane-lines"
    status=1
fi

# Every type the desktop entry opens must be one the database knows.
opens=$(sed -n 's/^MimeType=//p' "$src/$app_id.desktop" | tr ';' ' ')
[ -n "$opens" ] || { echo "the desktop entry names no MimeType"; status=1; }
for type in $opens; do
    grep -qxF "$type" "$mime/types" 2>/dev/null || {
        echo "the desktop entry opens $type, which $app_id.xml does not declare"; status=1; }
done

[ $status = 0 ] && echo "desktop entry and MIME type checks passed"
exit $status
