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

install_missing() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "run_demo: installing ${missing[*]}" >&2
    local sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}

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

# The engine draws through the system's OpenGL (libglvnd and Mesa).
install_missing libgl1 libglx-mesa0 libgl1-mesa-dri
[ -n "${DISPLAY:-}" ] || use_xvfb=1

work=$(mktemp -d "${TMPDIR:-/tmp}/teamforge-demo.XXXXXX")
xvfb_pid=""
cleanup() {
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

engine_env=()
engine_args=(--path "$project" --audio-driver Dummy)
if [ $use_xvfb -eq 1 ]; then
    install_missing xvfb
    # Xvfb picks a free display itself and writes its number to the descriptor.
    Xvfb -displayfd 3 -screen 0 1280x720x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    [ -s "$work/display" ] || { cat "$work/xvfb.log" >&2; echo "run_demo: Xvfb did not start" >&2; exit 1; }
    engine_env=(DISPLAY=":$(head -n 1 "$work/display")" LIBGL_ALWAYS_SOFTWARE=1)
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

if [ $check -eq 0 ]; then
    env "${engine_env[@]}" "$godot" "${engine_args[@]}"
    exit $?
fi

set +e
env "${engine_env[@]}" timeout 900 "$godot" "${engine_args[@]}" >"$work/run.txt" 2>&1
status=$?
set -e
cat "$work/run.txt"
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
