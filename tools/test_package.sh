#!/usr/bin/env bash
# Tests the addon package as a Godot developer meets it: unpacks the zip into a fresh project and
#   1. runs the editor's first import (godot --headless --import), which must find and list the extension;
#   2. opens the editor on a virtual display (Xvfb) with tests/package/editor_probe: the addon's plugin
#      lists its catalogues in the project's translations when enabled and takes only them out when
#      disabled (it is left enabled), the example scene plays as F6 plays it (the editor starts the engine
#      again as a game process, which must print the example's first line without an error), and every
#      class shows its own icon in the scene tree and the create dialog, saved as a screenshot;
#   3. runs tests/package/smoke.gd (a seeded series, a whole tournament, and the library's codes read in
#      two languages from the catalogues the plugin listed), tests/package/controls.gd (the addon's controls
#      bound to a GameCore and a TournamentManager, fed broken dictionaries and freed sources) and the addon's
#      example scene, a seeded season whose shown teams have records and prize money; on the virtual display,
#      screenshots of the example and of a scene made with the bracket control (tests/package/bracket_scene.gd).
# The engine here is an editor build, which loads only the debug libraries; step 3 runs a second time with
# the release library listed in their place, so that it too is loaded and played, and must play the same.
# Fails on a failed check, a script or engine error, or a leak. The screenshot, the example's output and
# the engine logs stay in the output folder (default: test/ beside the zip).
#   tools/test_package.sh <zip> [output dir]
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
godot="$here/godot"
# shellcheck source=lib/options.sh
. "$here/lib/options.sh"
no_options "$@"
zip=${1:?usage: test_package.sh <zip> [output dir]}
[ -f "$zip" ] || { echo "test_package: no package $zip" >&2; exit 1; }
out=${2:-$(cd "$(dirname "$zip")" && pwd)/test}
rm -rf "$out"
mkdir -p "$out"

work=$(mktemp -d "${TMPDIR:-/tmp}/teamforge-package.XXXXXX")
cleanup() {
    stop_virtual_display
    rm -rf "$work"
}
trap cleanup EXIT
pattern='SCRIPT ERROR|ERROR:|leaked|Leaked instance|ObjectDB instances'

fail() {
    [ -f "$work/out.txt" ] && cat "$work/out.txt"
    echo "test_package: $*" >&2
    exit 1
}

# run <log name> <engine arguments...>: the engine on the project; its output is kept as <log name>.txt.
run() {
    local name=$1
    shift
    timeout 300 "$godot" --path "$project" "$@" >"$work/out.txt" 2>&1
    local status=$?
    cp "$work/out.txt" "$out/$name.txt"
    [ $status -eq 0 ] || fail "$name: the engine exited with status $status"
    ! grep -qE "$pattern" "$work/out.txt" || fail "$name: the engine reported errors or leaks"
}

# shellcheck source=lib/system_packages.sh
. "$here/lib/system_packages.sh"
# shellcheck source=lib/virtual_display.sh
. "$here/lib/virtual_display.sh"

project="$work/project"
mkdir -p "$project"
printf 'config_version=5\n\n[application]\n\nconfig/name="Teamforge package test"\n' > "$project/project.godot"
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$zip" "$project" \
    || fail "cannot unpack $zip"
for file in teamforge.gdextension README.md CHANGELOG.md LICENSE plugin.cfg plugin.gd locale/teamforge.pot \
    locale/teamforge.de.po locale/teamforge.fr.po example/example.tscn example/example.gd icons/GameCore.svg \
    controls/bracket_view.gd controls/standings_table.gd controls/leaderboard_table.gd; do
    [ -f "$project/addons/teamforge/$file" ] || fail "the package has no addons/teamforge/$file"
done

# 1. The first import, as a build server runs it: the editor scans, finds the extension, loads it, lists it
# and quits. The library registers nothing in that session (src/first_scan.h), or this engine would crash
# on quitting; the classes come with the next start.
run import --headless --import
grep -qx 'res://addons/teamforge/teamforge.gdextension' "$project/.godot/extension_list.cfg" 2>/dev/null \
    || fail "the editor's import did not register res://addons/teamforge/teamforge.gdextension"
grep -q "^Teamforge: found by this headless editor's first scan" "$work/out.txt" \
    || fail "import: the library did not say that it registers nothing in a headless editor's first scan"

# 2. The editor with the probe. The project already lists a catalogue of its own and, by hand, one of the
# addon's, as a user may have done before enabling the plugin.
mkdir -p "$project/addons/teamforge_probe"
cp "$top"/tests/package/editor_probe/plugin.cfg "$top"/tests/package/editor_probe/probe.gd "$project/addons/teamforge_probe/"
printf 'msgid ""\nmsgstr ""\n"Content-Type: text/plain; charset=UTF-8\\n"\n"Language: en\\n"\n\nmsgid "OWN_GREETING"\nmsgstr "Hello"\n' \
    > "$project/own.en.po"
# The game the editor plays takes the project's settings, not the editor's command line: no sound card
# and no Vulkan here.
printf '
[audio]

driver/driver="Dummy"

[rendering]

renderer/rendering_method="gl_compatibility"

[editor_plugins]

enabled=PackedStringArray("res://addons/teamforge_probe/plugin.cfg")

[internationalization]

locale/translations=PackedStringArray("res://own.en.po", "res://addons/teamforge/locale/teamforge.de.po")
' >> "$project/project.godot"
start_virtual_display test_package "$work" || fail "no virtual display"
DISPLAY=$VIRTUAL_DISPLAY LIBGL_ALWAYS_SOFTWARE=1 run editor --editor --single-window --audio-driver Dummy \
    --rendering-method gl_compatibility --rendering-driver opengl3 -- "--screenshot=$out/editor.png"
grep -q '^editor probe passed$' "$work/out.txt" || fail "editor: no pass line"
# The played game's own output, inherited by the editor's.
grep -q '^Teamforge example: ' "$work/out.txt" || fail "editor: the example's game process printed no \"Teamforge example: \" line"
grep -E '^(plugin|played from the editor|the scene tree|the create dialog)' "$work/out.txt"
echo "test_package: editor screenshot: $out/editor.png"

# 3. The smoke test and the example, with each library.
play() {
    local kind=$1
    run "smoke-$kind" --headless -s res://smoke.gd
    grep -q '^smoke test passed$' "$work/out.txt" || fail "$kind library: no pass line"
    grep -E ' won after ' "$work/out.txt" | head -n 1 > "$work/smoke-$kind"
    echo "$kind library: $(cat "$work/smoke-$kind")"
    run "controls-$kind" --headless -s res://controls.gd
    grep -q '^controls test passed$' "$work/out.txt" || fail "$kind library: the controls test printed no pass line"
    run "example-$kind" --headless --quit-after 2 res://addons/teamforge/example/example.tscn
    sed -n '/^Teamforge example: /,$p' "$work/out.txt" > "$work/example-$kind"
    # Three tournaments, then the ten rows the leaderboard shows: "  #5 Astralis (Europe), rating 1851, 8-6, $954,556".
    [ "$(grep -c '): ' "$work/example-$kind")" -eq 3 ] && [ "$(grep -c '^  #[0-9]' "$work/example-$kind")" -eq 10 ] \
        || fail "$kind library: the example printed no season of three tournaments and ten leaderboard rows"
    ! grep -E '^  #[0-9]' "$work/example-$kind" | grep -Eq ', 0-0, |, \$0$' \
        || fail "$kind library: a team the example shows has no record or no prize money"
}
cp "$top"/tests/package/{smoke,controls,screenshot,bracket_scene}.gd "$project/"
play debug
echo "example scene:"
sed 's/^/  /' "$work/example-debug"
cp "$work/example-debug" "$out/example.txt"
# What a developer sees: the example, and a scene a new project makes with the bracket control.
for shot in addons/teamforge/example/example.tscn:example bracket_scene.gd:bracket-control; do
    DISPLAY=$VIRTUAL_DISPLAY LIBGL_ALWAYS_SOFTWARE=1 run "screenshot-${shot#*:}" --audio-driver Dummy \
        --rendering-method gl_compatibility --rendering-driver opengl3 -s res://screenshot.gd -- \
        "--scene=res://${shot%%:*}" "--out=$out/${shot#*:}.png"
    [ -s "$out/${shot#*:}.png" ] || fail "no screenshot of ${shot%%:*}"
done
echo "test_package: screenshots: $out/example.png, $out/bracket-control.png"

release="$project/addons/teamforge/bin/libteamforge.linux.template_release.x86_64.so"
[ -f "$release" ] || fail "the package has no Linux release library"
sed -i 's|^linux\.debug\.x86_64 = .*|linux.debug.x86_64 = "res://addons/teamforge/bin/libteamforge.linux.template_release.x86_64.so"|' \
    "$project/addons/teamforge/teamforge.gdextension"
play release
# One seed, one season: the optimised build must play exactly the same tournament and season.
cmp -s "$work/smoke-release" "$work/smoke-debug" || fail "the release library played another tournament than the debug one"
cmp -s "$work/example-release" "$work/example-debug" || fail "the release library played another example season than the debug one"
echo "test_package: $(basename "$zip") passed (screenshot, example output and logs in $out)"
