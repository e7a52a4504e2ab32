#!/usr/bin/env bash
# The class reference in doc_classes/ and the engine's doc tool.
#   tools/docs.sh update <build dir>   refresh the skeleton: the doc tool adds what the library binds anew
#                                      and drops what it no longer binds, keeping our descriptions
#   tools/docs.sh check <build dir>    fail when doc_classes/ is out of step with the library's bound
#                                      surface or leaves a class or member undescribed, or when the
#                                      editor's help pages of a template_debug build do not show it
# The doc tool runs headless on a throwaway project that loads the build's library; it runs twice, so
# that a default value drawn at random (a simulator's seed) is not mistaken for part of the surface.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
godot="$here/godot"
docs="$top/doc_classes"

# shellcheck source=lib/options.sh
. "$here/lib/options.sh"
no_options "$@"
[ $# -eq 2 ] || usage_error "needs update or check and a build folder"
mode=$1
case "$mode" in update|check) ;; *) usage_error "unknown command $mode" ;; esac
build=$(cd "$2" 2>/dev/null && pwd) || { echo "docs: no build directory $2" >&2; exit 1; }
[ -f "$build/bin/teamforge.gdextension" ] || { echo "docs: no library in $build/bin; build it first" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/teamforge-docs.XXXXXX")
trap 'rm -rf "$work"' EXIT
# The doc tool deletes the editor's help cache, and the editor shows extension help only when it starts
# with a valid cache: both run in a home of their own.
export TEAMFORGE_HOME="$work/home"
pattern='SCRIPT ERROR|ERROR:|leaked|Leaked instance|ObjectDB instances'

# Classes bound only by the test build.
mapfile -t test_only < <(sed -n 's/.*GDCLASS(\([A-Za-z0-9_]*\),.*/\1/p' "$top"/tests/hooks/*.h | sort -u)

new_project() {
    mkdir -p "$1"
    printf 'config_version=5\n\n[application]\n\nconfig/name="Teamforge docs"\n' > "$1/project.godot"
    "$here/link_extension.sh" "$build" "$1"
}

# run_doctool <output dir>: writes <output dir>/doc_classes, merging what is already there.
run_doctool() {
    local project="$work/project"
    [ -d "$project" ] || new_project "$project"
    if ! timeout 300 "$godot" --headless --path "$project" --doctool "$1" --gdextension-docs >"$work/doctool.txt" 2>&1 \
        || grep -qE "$pattern" "$work/doctool.txt" || [ ! -d "$1/doc_classes" ]; then
        cat "$work/doctool.txt"
        echo "docs: the doc tool failed or reported errors" >&2
        exit 1
    fi
}

mkdir -p "$work/first" "$work/second"
if [ "$mode" = update ]; then
    mkdir -p "$work/first/doc_classes" "$docs"
    cp "$docs"/*.xml "$work/first/doc_classes/" 2>/dev/null
fi
run_doctool "$work/first"
run_doctool "$work/second"

if [ "$mode" = update ]; then
    python3 "$here/doc_classes.py" refresh "$work/first/doc_classes" "$work/second/doc_classes" "$docs" "${test_only[@]}"
    exit $?
fi

python3 "$here/doc_classes.py" check "$work/first/doc_classes" "$work/second/doc_classes" "$docs" "${test_only[@]}" \
    || exit 1

# The editor's help: only a library built with the reference hands it over.
if ! ls "$build"/bin/libteamforge.*.template_debug.* >/dev/null 2>&1 \
    || ! grep -q '^TEAMFORGE_EDITOR_HELP:BOOL=ON' "$build/CMakeCache.txt" 2>/dev/null; then
    echo "docs: $build has no library with the class reference; the editor's help was not checked"
    exit 0
fi
# A first start writes the help cache; extension help shows from the next start on.
if ! timeout 300 "$godot" --headless --editor --path "$work/project" --quit >"$work/editor.txt" 2>&1 \
    || grep -qE "$pattern" "$work/editor.txt"; then
    cat "$work/editor.txt"
    echo "docs: the editor failed to start on the library" >&2
    exit 1
fi
probe="$work/editor"
cp -r "$top/tests/editor_help" "$probe"
"$here/link_extension.sh" "$build" "$probe"
python3 "$here/doc_classes.py" snippets "$docs" > "$probe/expected.txt"
timeout 300 "$godot" --headless --editor --path "$probe" >"$work/editor.txt" 2>&1
status=$?
# The editor itself has crashed here once in many runs, on a loaded machine, with no frame of the library
# in its backtrace: such a crash is shown and the probe runs once more. A crash inside the library fails.
if grep -q '^handle_crash:' "$work/editor.txt" && ! grep -q 'libteamforge' "$work/editor.txt"; then
    cat "$work/editor.txt"
    echo "docs: the editor crashed outside the library; trying once more" >&2
    timeout 300 "$godot" --headless --editor --path "$probe" >"$work/editor.txt" 2>&1
    status=$?
fi
grep -E '^help page' "$work/editor.txt"
if [ $status -ne 0 ] || grep -qE "$pattern" "$work/editor.txt"; then
    cat "$work/editor.txt"
    echo "docs: the editor's help does not show the class reference (status $status)" >&2
    exit 1
fi
