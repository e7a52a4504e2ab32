# Sourced by the tools that run one built library on a copy of the engine test project.
#   stage_library <library> <stage dir>
# Makes <stage dir>/project, a copy of tests/engine that loads <library>. A library is a built libteamforge
# shared object (any build type) with the build's teamforge.gdextension beside it. The provisioned engine is
# an editor build and loads the extension's debug entry, so the library is offered under that name.
stage_library() {
    local library stage here top
    here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
    top=$(cd "$here/.." && pwd)
    library=$(realpath "$1")
    stage=$2
    [ -f "$library" ] || { echo "stage_library: no library $1" >&2; return 1; }
    [ -f "$(dirname "$library")/teamforge.gdextension" ] \
        || { echo "stage_library: no teamforge.gdextension beside $library" >&2; return 1; }
    mkdir -p "$stage/bin" "$stage/project"
    cp "$(dirname "$library")/teamforge.gdextension" "$stage/bin/"
    ln -sfn "$library" "$stage/bin/libteamforge.linux.template_debug.x86_64.so"
    (cd "$top/tests/engine" && tar --exclude=./.godot --exclude=./bin -cf - .) | (cd "$stage/project" && tar -xf -)
    "$here/link_extension.sh" "$stage" "$stage/project"
    "$here/godot" --headless --path "$stage/project" --import >/dev/null 2>&1 || true
    "$here/link_extension.sh" "$stage" "$stage/project"
}
