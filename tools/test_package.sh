#!/usr/bin/env bash
# Tests the addon package as a Godot developer meets it: unpacks the zip into a fresh project, lets the
# editor's import find the extension, and runs tests/package/smoke.gd there (a seeded series, a whole
# tournament, and the library's codes read in two languages from the catalogues the project lists, as the
# addon's README tells a user to list them). The engine here is an editor build, which loads only the debug libraries; the smoke test
# runs a second time with the release library listed in their place, so that it too is loaded and played.
# Fails on a failed check, a script or engine error, or a leak.
#   tools/test_package.sh <zip>
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
godot="$here/godot"
# shellcheck source=lib/options.sh
. "$here/lib/options.sh"
no_options "$@"
zip=${1:?usage: test_package.sh <zip>}
[ -f "$zip" ] || { echo "test_package: no package $zip" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/teamforge-package.XXXXXX")
trap 'rm -rf "$work"' EXIT
pattern='SCRIPT ERROR|ERROR:|leaked|Leaked instance|ObjectDB instances'

fail() {
    [ -f "$work/out.txt" ] && cat "$work/out.txt"
    echo "test_package: $*" >&2
    exit 1
}

# run <project> <log name> <engine arguments...>
run() {
    local project=$1 name=$2
    shift 2
    timeout 300 "$godot" --headless --path "$project" "$@" >"$work/out.txt" 2>&1
    local status=$?
    cp "$work/out.txt" "$work/$name.txt"
    [ $status -eq 0 ] || fail "$name: the engine exited with status $status"
    ! grep -qE "$pattern" "$work/out.txt" || fail "$name: the engine reported errors or leaks"
}

project="$work/project"
mkdir -p "$project"
printf 'config_version=5\n\n[application]\n\nconfig/name="Teamforge package test"\n' > "$project/project.godot"
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$zip" "$project" \
    || fail "cannot unpack $zip"
for file in teamforge.gdextension README.md LICENSE locale/teamforge.pot locale/teamforge.de.po locale/teamforge.fr.po; do
    [ -f "$project/addons/teamforge/$file" ] || fail "the package has no addons/teamforge/$file"
done
# The user's step: every catalogue of the addon in the project's translation list.
catalogues=$(cd "$project" && ls addons/teamforge/locale/*.po | sed 's|^|"res://|; s|$|"|' | paste -sd, -)
printf '
[internationalization]

locale/translations=PackedStringArray(%s)
' "$catalogues" >> "$project/project.godot"
cp "$top/tests/package/smoke.gd" "$project/"

# What the editor does when the project is first opened: scan, find the extension, load it, list it.
# The editor runs some frames first: this engine crashes when it quits within the first few frames after
# loading an extension during its first scan (any extension that registers a class or loads help does).
run "$project" import --editor --quit-after 300
grep -qx 'res://addons/teamforge/teamforge.gdextension' "$project/.godot/extension_list.cfg" 2>/dev/null \
    || fail "the editor's import did not register res://addons/teamforge/teamforge.gdextension"

run "$project" debug -s res://smoke.gd
grep -q '^smoke test passed$' "$work/out.txt" || fail "debug library: no pass line"
debug_result=$(grep -E ' won after ' "$work/out.txt" | head -n 1)
echo "debug library: $debug_result"

release="$project/addons/teamforge/bin/libteamforge.linux.template_release.x86_64.so"
[ -f "$release" ] || fail "the package has no Linux release library"
sed -i 's|^linux\.debug\.x86_64 = .*|linux.debug.x86_64 = "res://addons/teamforge/bin/libteamforge.linux.template_release.x86_64.so"|' \
    "$project/addons/teamforge/teamforge.gdextension"
run "$project" release -s res://smoke.gd
grep -q '^smoke test passed$' "$work/out.txt" || fail "release library: no pass line"
release_result=$(grep -E ' won after ' "$work/out.txt" | head -n 1)
echo "release library: $release_result"
# One seed, one season: the optimised build must play exactly the same tournament.
[ "$release_result" = "$debug_result" ] || fail "the release library played another tournament than the debug one"
echo "test_package: $(basename "$zip") passed"
