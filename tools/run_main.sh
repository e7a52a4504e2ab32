#!/usr/bin/env bash
# The main job: sets everything up, builds the library (optimised, with debug checks) and plays one seeded season headless in
# the engine. Options go to the season script: tools/run_main.sh --seed=7
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
build_dir="$top/build/main"

"$here/setup.sh" "$build_dir"
"$here/link_extension.sh" "$build_dir" "$top/demo"
"$here/godot" --headless --path "$top/demo" -s res://main.gd -- "$@"
