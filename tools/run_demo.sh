#!/usr/bin/env bash
# Plays the demo game (demo/) in a window. Without a display it starts a virtual one (Xvfb) and renders with
# the engine's compatibility renderer on Mesa's software rasteriser; Xvfb and Mesa come from the system's
# packages and are installed when missing.
#   tools/run_demo.sh [--build <dir>] [--xvfb] [--script <file>] [--check] [--engine <engine options>...]
#                     [-- script arguments]
#     --build <dir>   use this build folder as it is (default: set up and build build/main, as run_main.sh does)
#     --xvfb          use a virtual display even where there is a real one
#     --script <file> run this SceneTree script (any path) in the demo project instead of the game's main scene
#     --check         fail when the engine output holds a script error, an engine error or a leak report
#     --engine ...    everything after it, up to "--", goes to the engine (--engine --quit-after 300 --resolution 1600x900)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
project="$top/demo"
godot="$here/godot"

build_dir=""
use_xvfb=0
script=""
check=0
passed=()
# shellcheck source=lib/options.sh
. "$here/lib/options.sh"
while [ $# -gt 0 ]; do
    case "$1" in
        --build | --build=*) take_value --build "$@"; build_dir=$OPTION_VALUE; shift "$OPTION_WORDS" ;;
        --xvfb) use_xvfb=1; shift ;;
        --script | --script=*) take_value --script "$@"; script=$OPTION_VALUE; shift "$OPTION_WORDS" ;;
        --check) check=1; shift ;;
        --engine)
            shift
            while [ $# -gt 0 ] && [ "$1" != -- ]; do
                passed+=("$1")
                shift
            done
            ;;
        --) shift; break ;;
        *) refuse_option "$1" ;;
    esac
done

# shellcheck source=lib/system_packages.sh
. "$here/lib/system_packages.sh"
# shellcheck source=lib/virtual_display.sh
. "$here/lib/virtual_display.sh"

# How the demo loads the library: the build's libraries linked into its addons/teamforge/bin. Everything else here is
# independent of that layout.
load_library() {
    "$here/link_extension.sh" "$1" "$project"
}

if [ -z "$build_dir" ]; then
    build_dir="$top/build/main"
    "$here/setup.sh" "$build_dir"
fi
build_dir=$(cd "$build_dir" && pwd)
[ -f "$build_dir/bin/teamforge.gdextension" ] || { echo "run_demo: no library in $build_dir/bin; build it first" >&2; exit 1; }

install_missing run_demo "${OPENGL_PACKAGES[@]}" || exit 1
[ -n "${DISPLAY:-}" ] || use_xvfb=1

work=$(mktemp -d "${TMPDIR:-/tmp}/teamforge-demo.XXXXXX")
cleanup() {
    stop_virtual_display
    rm -rf "$work"
}
trap cleanup EXIT

engine_env=()
engine_args=(--path "$project" --audio-driver Dummy)
if [ $use_xvfb -eq 1 ]; then
    start_virtual_display run_demo "$work" || exit 1
    engine_env=(DISPLAY="$VIRTUAL_DISPLAY" LIBGL_ALWAYS_SOFTWARE=1)
    engine_args+=(--rendering-driver opengl3)
fi
if [ -n "$script" ]; then
    engine_args+=(-s "$(cd "$(dirname "$script")" && pwd)/$(basename "$script")")
fi
engine_args+=("${passed[@]}")
[ $# -eq 0 ] || engine_args+=(-- "$@")

mkdir -p "$project/.godot"
# One run at a time per checkout: the bin link is shared by every build folder.
exec 9>"$project/.godot/run.lock"
flock 9
load_library "$build_dir"
# Scripts find the addon's controls by class_name only through the class cache that the editor's import
# scan writes: a fresh clone has none, and a script newer than the cache may bring a new class. The scan
# may rewrite the list of extensions, so the library is linked again.
class_cache="$project/.godot/global_script_class_cache.cfg"
if [ ! -f "$class_cache" ] || [ -n "$(find "$project" -path "$project/.godot" -prune -o -name '*.gd' -newer "$class_cache" -print -quit)" ]; then
    if ! timeout 300 "$godot" --headless --path "$project" --import >"$work/import.txt" 2>&1 || [ ! -f "$class_cache" ] \
        || { [ $check -eq 1 ] && grep -qE 'SCRIPT ERROR|ERROR:|leaked|Leaked instance|ObjectDB instances' "$work/import.txt"; }; then
        cat "$work/import.txt" >&2
        echo "run_demo: the import scan of the demo project failed or reported errors" >&2
        exit 1
    fi
    touch "$class_cache"
    load_library "$build_dir"
fi

if [ $check -eq 0 ]; then
    env "${engine_env[@]}" "$godot" "${engine_args[@]}"
    exit $?
fi

set +e
# Shown as it comes (long runs print their progress), and kept for the checks.
env "${engine_env[@]}" timeout 900 "$godot" "${engine_args[@]}" 2>&1 | tee "$work/run.txt"
status=${PIPESTATUS[0]}
set -e
offending=$(grep -nE 'SCRIPT ERROR|ERROR:|leaked|Leaked instance|ObjectDB instances' "$work/run.txt" || true)
if [ -n "$offending" ]; then
    echo "run_demo: the engine reported errors or leaks:" >&2
    echo "$offending" >&2
    exit 1
fi
if [ $status -ne 0 ]; then
    echo "run_demo: the engine exited with status $status" >&2
    exit 1
fi
