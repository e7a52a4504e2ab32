#!/usr/bin/env bash
# Keeps a release's saves for the old-save suite (tests/engine/test_old_saves.gd).
#   tools/make_release_saves.sh saves <build dir of the release> <release name>
#       makes the release's set with its own library into tests/engine/saves/<release name>/
#       (tools/release_saves.gd; build a past release in a worktree of its commit first);
#   tools/make_release_saves.sh results <build dir of today's test library>
#       records beside every kept save what today's library reaches from it (<kind>.expected.txt),
#       through the same code the suite checks with (tests/engine/old_save_outcomes.gd).
#
# Record the results only when a change of outcome is meant: they are the pin the suite holds to.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
saves="$top/tests/engine/saves"
# shellcheck source=lib/options.sh
. "$here/lib/options.sh"
no_options "$@"

mode=${1:-}
case "$mode" in
    saves) [ $# -eq 3 ] || usage ;;
    results) [ $# -eq 2 ] || usage ;;
    *) usage ;;
esac
build=$(cd "$2" && pwd)
# The engine here is an editor build: it loads the debug-checked library, which a Release build lacks.
if ! ls "$build"/bin/libteamforge.linux.template_debug.* >/dev/null 2>&1; then
    echo "make_release_saves: no template_debug library in $build/bin (build without -DCMAKE_BUILD_TYPE=Release)" >&2
    exit 1
fi

# keep_distinct_saves <release>: a save of a kind that an earlier release already wrote byte for byte is
# not kept twice; <kind>.same_as names the release whose copy stands for it (tests/engine/old_save_outcomes.gd).
keep_distinct_saves() {
    local release=$1 kind earlier
    for kind in game_core tournament_manager economy; do
        for earlier in "$saves"/*/; do
            earlier=$(basename "$earlier")
            [ "$earlier" != "$release" ] || continue
            if cmp -s "$saves/$earlier/$kind.txt" "$saves/$release/$kind.txt" \
                && cmp -s "$saves/$earlier/$kind.bin" "$saves/$release/$kind.bin"; then
                rm -f "$saves/$release/$kind".{txt,bin,expected.txt}
                echo "$earlier" > "$saves/$release/$kind.same_as"
                break
            fi
        done
    done
}

# A throwaway project that loads the given library and runs one script of ours.
project=$(mktemp -d "${TMPDIR:-/tmp}/teamforge-release-saves.XXXXXX")
trap 'rm -rf "$project"' EXIT
printf 'config_version=5\n\n[application]\n\nconfig/name="release saves"\n' > "$project/project.godot"
"$here/link_extension.sh" "$build" "$project"

if [ "$mode" = saves ]; then
    case "$3" in */* | .* | "") echo "make_release_saves: a release name is one plain folder name" >&2; exit 2 ;; esac
    cp "$here/release_saves.gd" "$project/"
    "$here/godot" --headless --path "$project" -s res://release_saves.gd -- "--out=$saves/$3"
    keep_distinct_saves "$3"
    ls -l "$saves/$3"
else
    cp "$here/record_old_save_results.gd" "$top/tests/engine/old_save_outcomes.gd" "$project/"
    "$here/godot" --headless --path "$project" -s res://record_old_save_results.gd -- "--saves=$saves"
fi
