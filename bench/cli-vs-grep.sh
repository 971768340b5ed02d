#!/bin/sh
# Whole-process timings of plotwright-cli against grep, or against its own check, over the benchmark
# library (warm cache).
# usage: bench/cli-vs-grep.sh BUILD_DIR [LIBRARY_DIR]
set -eu
build=$1
lib=${2:-${PLOTWRIGHT_BENCH_LIB:-/tmp/plotwright-bench-lib}}
cli=$build/tools/cli/plotwright-cli
[ -f "$lib/stringtable_utf16.ini" ] && [ -f "$lib/shapes/short.ini" ] || "$build/bench/plotwright-genlib" "$lib"
command -v hyperfine >/dev/null || { echo "hyperfine is needed" >&2; exit 2; }

last=$(tail -n 1 "$lib/stringtable.ini" | cut -d= -f1)
hyperfine -N -w 5 -r 50 \
    "$cli string-get $lib/stringtable.ini $last" \
    "grep -m1 -F $last= $lib/stringtable.ini"
# The lookup on tables of other shapes: the last line's ID each time.
for table in "$lib"/shapes/*.ini; do
    id=$(tail -n 1 "$table" | cut -d= -f1)
    hyperfine -N -w 5 -r 50 \
        "$cli string-get $table $id" \
        "grep -m1 -F $id= $table"
done
# search and check read the library on every processor; grep reads it on one. PROCESSORS (for example
# "0" or "0,1") runs both on those processors only, to see how the command line scales.
run=""
[ -n "${PROCESSORS:-}" ] && run="taskset -c $PROCESSORS "
hyperfine -N -w 3 -r 20 \
    "$run$cli search info Diego $lib/Infos" \
    "${run}grep -rlF Owner=Diego $lib/Infos"
# The dialogues alone, without the table's lint: the check of a folder of dialogues against a grep of it.
hyperfine -N -w 5 -r 40 -i \
    "$run$cli check $lib/Infos" \
    "${run}grep -rc Say $lib/Infos"
hyperfine -N -w 2 -r 10 -i \
    "$run$cli check --stringtable $lib/stringtable.ini --quests $lib/Quests $lib/Infos" \
    "${run}grep -rc Say $lib/stringtable.ini $lib/Quests $lib/Infos"
# list reads the library through its index; grep finds the same files by the line alone.
hyperfine -N -w 3 -r 20 \
    "$run$cli list --owner Lester $lib/Infos $lib/Quests" \
    "${run}grep -rlF Owner=Lester $lib/Infos $lib/Quests"
# The whole index (tree builds it over every file, then prints the trees of all dialogues) against check
# over the same files; -i as check exits with 1 for the library's findings.
hyperfine -N -w 2 -r 10 -i \
    "$run$cli tree $lib/Infos $lib/Quests" \
    "$run$cli check $lib/Infos $lib/Quests"
# unused-strings reads the string IDs of every file through the library index and the table once, against
# check --stringtable over the same files and table; then with a UTF-16 table, and with most of the table
# unused (only the quests name strings), where its output is longest.
hyperfine -N -w 2 -r 10 -i \
    "$run$cli unused-strings $lib/stringtable.ini $lib/Infos $lib/Quests" \
    "$run$cli check --stringtable $lib/stringtable.ini $lib/Infos $lib/Quests" \
    "$run$cli unused-strings $lib/stringtable_utf16.ini $lib/Infos $lib/Quests" \
    "$run$cli unused-strings $lib/stringtable.ini $lib/Quests"

# rename --dry-run reads the library through the index narrowed to the two names, then the files that name
# the quest again for their lines; grep finds the files that hold the name as a word. A quest named by
# several dialogues, and a string ID, whose rename also reads the table.
quest=$(grep -rh '^Quest=' "$lib/Infos" | tr -d '\r' | sort | uniq -c | sort -rn | head -n 1 | sed 's/.*Quest=//')
hyperfine -N -w 3 -r 20 \
    "$run$cli rename quest $quest Renamed_Quest --dry-run $lib/Infos $lib/Quests" \
    "${run}grep -rlw $quest $lib/Infos $lib/Quests"
hyperfine -N -w 3 -r 20 \
    "$run$cli rename string $last Renamed_Id --dry-run --stringtable $lib/stringtable.ini $lib/Infos $lib/Quests" \
    "${run}grep -rlw $last $lib/Infos $lib/Quests $lib/stringtable.ini"
