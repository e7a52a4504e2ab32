#!/usr/bin/env bash
# Builds the optimised library (Release) and runs the benchmarks of tests/engine/bench/, which print
# figures and check nothing. A bench_demo_* benchmark measures the demo game: it runs in a copy of demo/.
#   tools/run_benchmarks.sh [--library <so> | --library=<so>] [name...]   e.g. tools/run_benchmarks.sh bench_season bench_simulator
# Without names every bench_*.gd runs. --library runs them with an already built library instead (a copy
# kept from an older build, with its teamforge.gdextension beside it), to print figures before and after a
# change. The benchmarks run on a copy of the test project, so plain test runs may go on meanwhile.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
build="$top/build/release"

# shellcheck source=lib/stage_library.sh
. "$here/lib/stage_library.sh"

# shellcheck source=lib/options.sh
. "$here/lib/options.sh"
library=""
names=()
while [ $# -gt 0 ]; do
    case "$1" in
        --library | --library=*) take_value --library "$@"; library=$OPTION_VALUE; shift "$OPTION_WORDS" ;;
        -*) refuse_option "$1" ;;
        *)
            [ -f "$top/tests/engine/bench/$1.gd" ] || usage_error "no benchmark $1 in tests/engine/bench"
            names+=("$1")
            shift
            ;;
    esac
done
if [ -z "$library" ]; then
    # The hooks are built in too: the stage engines are measured through the test probe.
    "$here/setup.sh" "$build" -DCMAKE_BUILD_TYPE=Release -DTEAMFORGE_TEST_HOOKS=ON
    library="$build/bin/libteamforge.linux.template_release.x86_64.so"
fi

stage=$(mktemp -d "${TMPDIR:-/tmp}/teamforge-bench.XXXXXX")
trap 'rm -rf "$stage"' EXIT
stage_library "$library" "$stage"
project="$stage/project"

# The demo's copy loads the same library through its addon folder.
demo="$stage/demo"
mkdir -p "$demo"
(cd "$top/demo" && tar --exclude=./.godot --exclude=./addons/teamforge/bin -cf - .) | (cd "$demo" && tar -xf -)
"$here/link_extension.sh" "$stage" "$demo"
"$here/godot" --headless --path "$demo" --import >/dev/null 2>&1 || true
"$here/link_extension.sh" "$stage" "$demo"

if [ ${#names[@]} -eq 0 ]; then
    for f in "$top"/tests/engine/bench/bench_*.gd; do
        names+=("$(basename "$f" .gd)")
    done
fi
for name in "${names[@]}"; do
    echo "== $name"
    case "$name" in
        bench_demo_*) "$here/godot" --headless --path "$demo" -s "$project/bench/$name.gd" ;;
        *) "$here/godot" --headless --path "$project" -s "res://bench/$name.gd" ;;
    esac
done
