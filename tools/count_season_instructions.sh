#!/usr/bin/env bash
# Counts the instructions that the 365 days of one bench season take (tests/engine/bench/bench_season.gd,
# no handler connected; every call of TournamentManager.advance_day with all it calls, the engine's work
# included), under valgrind's callgrind: a figure that, unlike wall time, does not move with the load.
#   tools/count_season_instructions.sh [--keep <dir> | --keep=<dir>] [--series-log | --report] <library>...
# --keep leaves each library's callgrind output in <dir> (callgrind.<n>.out) for callgrind_annotate;
# --series-log counts the season with the manager's series log on. --report counts instead, per series,
# two seasons of the balance report (demo/report/count_seasons.gd: organised, played, read and freed, all
# of it) and the same two seasons played bare, as the difference between runs of two seasons and of none;
# its library must sit in a build's bin folder, which the demo project is linked to.
# A library is a built libteamforge shared object with the build's teamforge.gdextension beside it (see
# tools/record_season.sh); an optimised build measures what a game ships. Each count takes some minutes.
# valgrind comes from the private root that tools/valgrind_tests.sh unpacks into .cache/ when that is
# there, else from the system.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
cache="${TEAMFORGE_CACHE:-$top/.cache}"
groot="$cache/godot-root"
vroot="$cache/valgrind-root"

# shellcheck source=lib/options.sh
. "$here/lib/options.sh"
keep=""
report=0
bench_options=(--runs=1 --no-handler)
libraries=()
while [ $# -gt 0 ]; do
    case "$1" in
        --keep | --keep=*) take_value --keep "$@"; keep=$(realpath -m "$OPTION_VALUE"); shift "$OPTION_WORDS" ;;
        --series-log) bench_options+=(--series-log); shift ;;
        --report) report=1; shift ;;
        -*) refuse_option "$1" ;;
        *) libraries+=("$1"); shift ;;
    esac
done
[ ${#libraries[@]} -ge 1 ] || usage_error "needs a library"
[ -z "$keep" ] || mkdir -p "$keep"
set -- "${libraries[@]}"

# shellcheck source=lib/stage_library.sh
. "$here/lib/stage_library.sh"

valgrind_cmd=()
valgrind_env=()
if [ -x "$vroot/usr/bin/valgrind.bin" ]; then
    for dir in "$vroot/usr/libexec/valgrind" "$vroot/usr/lib/x86_64-linux-gnu/valgrind"; do
        [ -f "$dir/callgrind-amd64-linux" ] && valgrind_env=(VALGRIND_LIB="$dir")
    done
    valgrind_cmd=("$vroot/usr/lib64/ld-linux-x86-64.so.2" --library-path "$vroot/usr/lib/x86_64-linux-gnu"
        "$vroot/usr/bin/valgrind.bin")
elif command -v valgrind >/dev/null; then
    valgrind_cmd=(valgrind)
else
    echo "count_season_instructions: no valgrind; run tools/valgrind_tests.sh once or install valgrind" >&2
    exit 1
fi

home="${TEAMFORGE_HOME:-$cache/home}"
mkdir -p "$home/data" "$home/config" "$home/cache"
glib="$groot/usr/lib/x86_64-linux-gnu"
# count_all <out file> <project> <script> <script arguments...>: every instruction of the engine's run.
count_all() {
    local out=$1 project=$2 script=$3
    shift 3
    env HOME="$home" XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" XDG_CACHE_HOME="$home/cache" \
        "${valgrind_env[@]}" "${valgrind_cmd[@]}" --tool=callgrind --callgrind-out-file=/dev/null \
        "$groot/usr/lib64/ld-linux-x86-64.so.2" --library-path "$glib:$groot/usr/lib:$glib/pulseaudio" \
        "$groot/usr/bin/godot" --headless --path "$project" -s "$script" -- "$@" >"$out" 2>&1 || { cat "$out"; return 1; }
    sed -n 's/^==[0-9]*== Collected : //p' "$out"
}

if [ $report -eq 1 ]; then
    for library in "$@"; do
        bin=$(cd "$(dirname "$library")" && pwd)
        [ "$(basename "$bin")" = bin ] || usage_error "--report needs a library in a build's bin folder, not $library"
        # One run at a time per checkout, as run_demo.sh holds it: the demo's bin link is shared.
        mkdir -p "$top/demo/.godot"
        exec 9>"$top/demo/.godot/run.lock"
        flock 9
        "$here/link_extension.sh" "$(dirname "$bin")" "$top/demo"
        out=$(mktemp "${TMPDIR:-/tmp}/teamforge-count.XXXXXX")
        figures=()
        for mode in report bare; do
            none=$(count_all "$out" "$top/demo" res://report/count_seasons.gd "$mode" 0) || exit 1
            two=$(count_all "$out" "$top/demo" res://report/count_seasons.gd "$mode" 2) || exit 1
            [ "$mode" = bare ] || series=$(sed -n 's/^report: 2 seasons, \([0-9]*\) series$/\1/p' "$out")
            figures+=($(((two - none) / series)))
        done
        rm -f "$out"
        exec 9>&-
        awk -v library="$library" -v report="${figures[0]}" -v bare="${figures[1]}" -v series="$series" 'BEGIN {
            printf "%s: the balance report %d instructions a series, the same seasons played bare %d (%.2f times; two seasons, %d series)\n", library, report, bare, report / bare, series
        }'
    done
    exit 0
fi

n=0
for library in "$@"; do
    n=$((n + 1))
    stage=$(mktemp -d "${TMPDIR:-/tmp}/teamforge-count.XXXXXX")
    stage_library "$library" "$stage"
    # Only what runs inside advance_day is counted; the engine's start and the season's set-up are not.
    env HOME="$home" XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" XDG_CACHE_HOME="$home/cache" \
        "${valgrind_env[@]}" "${valgrind_cmd[@]}" --tool=callgrind --callgrind-out-file="$stage/callgrind.out" \
        --toggle-collect='*TournamentManager::advance_day*' \
        "$groot/usr/lib64/ld-linux-x86-64.so.2" --library-path "$glib:$groot/usr/lib:$glib/pulseaudio" \
        "$groot/usr/bin/godot" --headless --path "$stage/project" -s res://bench/bench_season.gd -- "${bench_options[@]}" \
        >"$stage/run.txt" 2>&1 || { cat "$stage/run.txt"; rm -rf "$stage"; exit 1; }
    count=$(sed -n 's/^==[0-9]*== Collected : //p' "$stage/run.txt")
    season=$(grep -E '^run 1:' "$stage/run.txt" || true)
    echo "$library: $count instructions in advance_day over the season (${season#run 1: })"
    [ -z "$keep" ] || cp "$stage/callgrind.out" "$keep/callgrind.$n.out"
    rm -rf "$stage"
done
