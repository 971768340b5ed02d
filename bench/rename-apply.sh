#!/bin/sh
# Whole-process timing of a rename that changes 100 files of the benchmark library: a quest named by 99
# dialogues, and its own file renamed. It runs on a copy of the library's two trees, renaming the quest
# back before each run.
# usage: bench/rename-apply.sh BUILD_DIR [LIBRARY_DIR]
set -eu
build=$1
lib=${2:-${PLOTWRIGHT_BENCH_LIB:-/tmp/plotwright-bench-lib}}
cli=$(realpath "$build/tools/cli/plotwright-cli")
[ -f "$lib/stringtable.ini" ] || "$build/bench/plotwright-genlib" "$lib"
command -v hyperfine >/dev/null || { echo "hyperfine is needed" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$lib/Infos" "$lib/Quests" "$work/"
# The first Quest= line is the one read, so one put right after the Name wins over any later.
find "$work/Infos" -name '*.info' | head -n 99 |
    xargs sed -i 's/^\(Name=[^\r]*\)\r$/\1\r\nQuest=Bench_Quest\r/'
printf '[Quest]\r\nName=Bench_Quest\r\nLogTopic=Bench_Quest_Topic\r\n' >"$work/Quests/Bench_Quest_quest_G3_World_01.quest"
export PLOTWRIGHT_CACHE_DIR="$work/cache"
roots="$work/Infos $work/Quests"
hyperfine -w 2 -r 20 \
    --prepare "$cli rename quest Bench_Renamed Bench_Quest $roots >/dev/null 2>&1 || true" \
    "$cli rename quest Bench_Quest Bench_Renamed $roots"
