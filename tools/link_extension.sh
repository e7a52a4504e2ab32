#!/usr/bin/env bash
# Makes a Godot project load the library of a build folder, and lists its extension in
# .godot/extension_list.cfg, which a headless run reads at start-up (the editor would write that file
# during its import; we never run the editor).
#   tools/link_extension.sh <build dir> <project dir>
# A project with the addon (addons/teamforge/teamforge.gdextension, as the demo and the package have it)
# gets links to the build's libraries in addons/teamforge/bin/. Any other project gets a link "bin" to the
# build's bin folder, whose own teamforge.gdextension it loads.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib/options.sh
. "$here/lib/options.sh"
no_options "$@"
build_dir=$(cd "${1:?usage: link_extension.sh <build dir> <project dir>}" && pwd)
project_dir=$(cd "${2:?usage: link_extension.sh <build dir> <project dir>}" && pwd)
[ -f "$build_dir/bin/teamforge.gdextension" ] || { echo "link_extension: no library in $build_dir/bin" >&2; exit 1; }
mkdir -p "$project_dir/.godot"

addon="$project_dir/addons/teamforge"
if [ -f "$addon/teamforge.gdextension" ]; then
    # Only the libraries: the build's own description beside them would load the library a second time.
    mkdir -p "$addon/bin"
    find "$addon/bin" -maxdepth 1 -type l -name 'libteamforge.*' -delete
    for library in "$build_dir"/bin/libteamforge.*; do
        [ -e "$library" ] && ln -sfn "$library" "$addon/bin/"
    done
    # A bin link left by the other layout would be a second copy of the extension.
    [ -L "$project_dir/bin" ] && rm "$project_dir/bin"
    echo "res://addons/teamforge/teamforge.gdextension" > "$project_dir/.godot/extension_list.cfg"
else
    ln -sfn "$build_dir/bin" "$project_dir/bin"
    echo "res://bin/teamforge.gdextension" > "$project_dir/.godot/extension_list.cfg"
fi
