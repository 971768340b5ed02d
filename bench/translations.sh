#!/bin/sh
# Whole-process timings of the translation commands over the game-sized string table (warm cache):
# translation-status against awk counting each line's fields, the export of one language, and the import
# of a PO file with 1,000 changed translations into a fresh copy of the table each run.
# usage: bench/translations.sh BUILD_DIR [LIBRARY_DIR]
set -eu
build=$1
lib=${2:-${PLOTWRIGHT_BENCH_LIB:-/tmp/plotwright-bench-lib}}
cli=$build/tools/cli/plotwright-cli
[ -f "$lib/stringtable_utf16.ini" ] && head -c 200 "$lib/stringtable.ini" | grep -q 'Languages=' ||
    "$build/bench/plotwright-genlib" "$lib"
command -v hyperfine >/dev/null || { echo "hyperfine is needed (scripts/install-deps installs it)" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for table in stringtable.ini stringtable_utf16.ini; do
    hyperfine -N -w 3 -r 20 \
        "$cli translation-status $lib/$table" \
        "awk -F';' '{n[NF]++}' $lib/$table"
done
hyperfine -N -w 3 -r 20 \
    "$cli translation-export $lib/stringtable.ini --lang ru -o $work/ru.po" \
    "$cli translation-export $lib/stringtable_utf16.ini --lang ru -o $work/ru16.po"

# 1,000 messages of the export, from its middle, get a new translation.
"$cli" translation-export "$lib/stringtable.ini" --lang ru -o "$work/ru.po"
total=$(grep -c '^msgstr ' "$work/ru.po")
awk -v from=$((total / 2)) '/^msgstr / { n++; if (n > from && n <= from + 1000) { print "msgstr \"Новый перевод " n "\""; next } } { print }' \
    "$work/ru.po" > "$work/changed.po"
hyperfine -N -w 2 -r 10 --prepare "cp $lib/stringtable.ini $work/table.ini" \
    "$cli translation-import $work/table.ini $work/changed.po"
