#!/usr/bin/env bash
# Records what the bench season hands to scripts (every signal with its payload and the final saves, see
# tests/engine/bench/season_record.gd) with one library, or records it with two and compares them: a
# change meant to leave every result as it was must record the same text.
#   tools/record_season.sh <library> <out file>
#   tools/record_season.sh --compare <old library> <new library>
# A library is a built libteamforge .so (any build type) with the build's teamforge.gdextension beside
# it; keep a copy of both to compare against later. The comparison exits 1 when the records differ and
# keeps both records in a temporary folder that it names.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

# shellcheck source=lib/options.sh
. "$here/lib/options.sh"
case "${1:-}" in
    --compare) no_options "${@:2}" ;;
    *) no_options "$@" ;;
esac

# shellcheck source=lib/stage_library.sh
. "$here/lib/stage_library.sh"

# record <library> <out file>
record() {
    local stage
    stage=$(mktemp -d "${TMPDIR:-/tmp}/teamforge-season.XXXXXX")
    stage_library "$1" "$stage" || { rm -rf "$stage"; exit 1; }
    "$here/godot" --headless --path "$stage/project" -s res://bench/season_record.gd -- "--out=$(realpath -m "$2")" 2>&1 \
        | grep -E 'sha256|ERROR' || true
    rm -rf "$stage"
    [ -s "$2" ] || { echo "record_season: nothing recorded with $1" >&2; exit 1; }
}

if [ "${1:-}" = "--compare" ]; then
    [ $# -eq 3 ] || usage_error "--compare needs two libraries"
    out=$(mktemp -d "${TMPDIR:-/tmp}/teamforge-season-compare.XXXXXX")
    echo "== old: $2"
    record "$2" "$out/old.txt"
    echo "== new: $3"
    record "$3" "$out/new.txt"
    if cmp -s "$out/old.txt" "$out/new.txt"; then
        echo "record_season: identical ($(wc -l <"$out/new.txt") lines)"
        rm -rf "$out"
        exit 0
    fi
    echo "record_season: the records differ; first differing lines (both records kept in $out):"
    diff "$out/old.txt" "$out/new.txt" | cut -c1-300 | head -n 20
    exit 1
fi
[ $# -eq 2 ] || usage_error "needs a library and an out file"
record "$1" "$2"
