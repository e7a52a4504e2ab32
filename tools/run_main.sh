#!/usr/bin/env bash
# The main job: sets everything up, builds the library and runs the demo project headless in the engine.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
build_dir="$top/build/main"

"$here/setup.sh" "$build_dir"
"$here/link_extension.sh" "$build_dir" "$top/demo"
"$here/godot" --headless --path "$top/demo" -s res://main.gd
