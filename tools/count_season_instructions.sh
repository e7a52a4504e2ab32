#!/usr/bin/env bash
# Counts the instructions that the 365 days of one bench season take (tests/engine/bench/bench_season.gd,
# no handler connected; every call of TournamentManager.advance_day with all it calls, the engine's work
# included), under valgrind's callgrind: a figure that, unlike wall time, does not move with the load.
#   tools/count_season_instructions.sh [--keep <dir> | --keep=<dir>] [--series-log] <library>...
# --keep leaves each library's callgrind output in <dir> (callgrind.<n>.out) for callgrind_annotate;
# --series-log counts the season with the manager's series log on.
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
bench_options=(--runs=1 --no-handler)
libraries=()
while [ $# -gt 0 ]; do
    case "$1" in
        --keep | --keep=*) take_value --keep "$@"; keep=$(realpath -m "$OPTION_VALUE"); shift "$OPTION_WORDS" ;;
        --series-log) bench_options+=(--series-log); shift ;;
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
