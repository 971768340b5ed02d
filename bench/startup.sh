#!/bin/sh
# Whole-process start-up of the editor: from launching it to its main window being on screen, on the demo
# library and on the game-sized one, as the median of RUNS runs each. Run it on an X server, e.g.
#   xvfb-run -a bench/startup.sh BUILD_DIR [LIBRARY_DIR] [RUNS]
# The program is copied into a temporary folder with a settings file of its own beside it.
set -eu
build=$1
lib=${2:-${PLOTWRIGHT_BENCH_LIB:-/tmp/plotwright-bench-lib}}
runs=${3:-9}
root=$(cd "$(dirname "$0")/.." && pwd)
[ -f "$lib/stringtable_utf16.ini" ] || "$build/bench/plotwright-genlib" "$lib"
command -v xdotool >/dev/null || { echo "xdotool is needed" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$build/src/gui/app/plotwright" "$work/plotwright"

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

# Milliseconds from launch until the window is visible, for the library in folder $1. A run whose program
# ends before showing its window (the X server refused it the connection) is tried again.
one_run() {
    printf '[configs]\r\nQuests=%s/Quests\r\nInfos=%s/Infos\r\nstringtable=%s/stringtable.ini\r\nTmpFiles=1\r\n' \
        "$1" "$1" "$1" > "$work/plotwright.inf"
    while :; do
        start=$(now_ms)
        "$work/plotwright" 2>/dev/null &
        pid=$!
        until xdotool search --onlyvisible --name "Gothic lll Plotwright" >/dev/null 2>&1; do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.01
        done
        end=$(now_ms)
        if kill "$pid" 2>/dev/null; then
            wait "$pid" 2>/dev/null || true
            echo $((end - start))
            return
        fi
        wait "$pid" 2>/dev/null || true
    done
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

for name in demo game; do
    folder=$root/examples/demo
    [ "$name" = game ] && folder=$lib
    one_run "$folder" >/dev/null # warm the caches
    times=$(i=0; while [ $i -lt "$runs" ]; do one_run "$folder"; i=$((i + 1)); done)
    echo "$name: $(echo "$times" | median) ms (median of $runs)"
done
