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
top=$(cd "$here/.." && pwd)

usage() {
    sed -n '2,9p' "$0" >&2
    exit 2
}

# record <library> <out file>
record() {
    local library stage project
    library=$(realpath "$1")
    [ -f "$library" ] || { echo "record_season: no library $1" >&2; exit 1; }
    [ -f "$(dirname "$library")/teamforge.gdextension" ] \
        || { echo "record_season: no teamforge.gdextension beside $library" >&2; exit 1; }
    stage=$(mktemp -d "${TMPDIR:-/tmp}/teamforge-season.XXXXXX")
    # The provisioned engine is an editor build and loads the extension's debug entry, whatever the build.
    mkdir -p "$stage/bin"
    cp "$(dirname "$library")/teamforge.gdextension" "$stage/bin/"
    ln -s "$library" "$stage/bin/libteamforge.linux.template_debug.x86_64.so"
    project="$stage/project"
    mkdir -p "$project"
    (cd "$top/tests/engine" && tar --exclude=./.godot --exclude=./bin -cf - .) | (cd "$project" && tar -xf -)
    "$here/link_extension.sh" "$stage" "$project"
    "$here/godot" --headless --path "$project" --import >/dev/null 2>&1 || true
    "$here/link_extension.sh" "$stage" "$project"
    "$here/godot" --headless --path "$project" -s res://bench/season_record.gd -- "--out=$(realpath -m "$2")" 2>&1 \
        | grep -E 'sha256|ERROR' || true
    rm -rf "$stage"
    [ -s "$2" ] || { echo "record_season: nothing recorded with $library" >&2; exit 1; }
}

if [ "${1:-}" = "--compare" ]; then
    [ $# -eq 3 ] || usage
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
[ $# -eq 2 ] || usage
record "$1" "$2"
