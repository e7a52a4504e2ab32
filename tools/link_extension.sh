#!/usr/bin/env bash
# Makes a Godot project load the library of a build folder: links the build's bin folder into the project
# and lists its extension in .godot/extension_list.cfg, which a headless run reads at start-up (the editor
# would write that file during its import; we never run the editor).
#   tools/link_extension.sh <build dir> <project dir>
set -euo pipefail
build_dir=$(cd "${1:?usage: link_extension.sh <build dir> <project dir>}" && pwd)
project_dir=$(cd "${2:?usage: link_extension.sh <build dir> <project dir>}" && pwd)
[ -f "$build_dir/bin/teamforge.gdextension" ] || { echo "link_extension: no library in $build_dir/bin" >&2; exit 1; }
ln -sfn "$build_dir/bin" "$project_dir/bin"
mkdir -p "$project_dir/.godot"
echo "res://bin/teamforge.gdextension" > "$project_dir/.godot/extension_list.cfg"
