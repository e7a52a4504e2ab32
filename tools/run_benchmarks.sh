#!/usr/bin/env bash
# Builds the optimised library (Release) and runs the benchmarks of tests/engine/bench/, which print
# figures and check nothing. A bench_demo_* benchmark measures the demo game: it runs in a copy of demo/.
#   tools/run_benchmarks.sh [name...]      e.g. tools/run_benchmarks.sh bench_season bench_simulator
# Without names every bench_*.gd runs. The provisioned engine is an editor build and loads only the
# extension's debug entry, so the Release library is offered under that name in a folder of its own,
# and the benchmarks run on a copy of the test project (plain test runs may go on meanwhile).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
build="$top/build/release"

# The hooks are built in too: the stage engines are measured through the test probe.
"$here/setup.sh" "$build" -DCMAKE_BUILD_TYPE=Release -DTEAMFORGE_TEST_HOOKS=ON

stage="$build/bench"
rm -rf "$stage"
mkdir -p "$stage/bin"
cp "$build/bin/teamforge.gdextension" "$stage/bin/"
ln -s "$build/bin/libteamforge.linux.template_release.x86_64.so" "$stage/bin/libteamforge.linux.template_debug.x86_64.so"

project="$stage/project"
mkdir -p "$project"
(cd "$top/tests/engine" && tar --exclude=./.godot --exclude=./bin -cf - .) | (cd "$project" && tar -xf -)
"$here/link_extension.sh" "$stage" "$project"
"$here/godot" --headless --path "$project" --import >/dev/null 2>&1 || true
"$here/link_extension.sh" "$stage" "$project"

# The demo's copy loads the same library through its addon folder.
demo="$stage/demo"
mkdir -p "$demo"
(cd "$top/demo" && tar --exclude=./.godot --exclude=./addons/teamforge/bin -cf - .) | (cd "$demo" && tar -xf -)
"$here/link_extension.sh" "$stage" "$demo"
"$here/godot" --headless --path "$demo" --import >/dev/null 2>&1 || true
"$here/link_extension.sh" "$stage" "$demo"

names=("$@")
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
