#!/usr/bin/env bash
# Builds the addon package: the template_release and template_debug libraries for Linux x86-64 and,
# cross-built with MinGW-w64, Windows x86-64, laid out as Godot's asset library installs an addon and
# zipped:
#   build/package/teamforge-<version>.zip
#     addons/teamforge/teamforge.gdextension   paths inside the addon (res://addons/teamforge/bin/...)
#     addons/teamforge/README.md, CHANGELOG.md, LICENSE
#     addons/teamforge/icons/<Class>.svg                        each class's icon in the editor
#     addons/teamforge/plugin.cfg, plugin.gd                    the optional plugin listing the catalogues
#     addons/teamforge/controls/*.gd   the ready-made controls: TeamforgeBracketView, TeamforgeStandingsTable,
#                                      TeamforgeLeaderboardTable and the scripts they share
#     addons/teamforge/example/example.tscn, example.gd        a seeded season: its leaderboard and a bracket
#     addons/teamforge/locale/teamforge.pot and teamforge.<locale>.po   the library's codes in words
#     addons/teamforge/bin/libteamforge.{linux,windows}.template_{debug,release}.x86_64.{so,dll}
# The addon's files come from demo/addons/teamforge, which the demo loads the same way.
#   tools/package.sh [--test] [--linux-debug <library>]
# --test then unpacks the zip into a fresh project and tests it there (tools/test_package.sh; its screenshot
# and outputs land in build/package/test). Builds are incremental, in build/package/<platform>-<kind>.
# --linux-debug takes that library (a test build's shipped/ library, the same build without the test-only
# classes) instead of building the Linux debug library again.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
# shellcheck source=lib/options.sh
. "$here/lib/options.sh"
run_test=0
linux_debug=""
while [ $# -gt 0 ]; do
    case "$1" in
        --test) run_test=1; shift ;;
        --linux-debug | --linux-debug=*) take_value --linux-debug "$@"; linux_debug=$OPTION_VALUE; shift "$OPTION_WORDS" ;;
        *) refuse_option "$1" ;;
    esac
done
if [ -n "$linux_debug" ]; then
    [ -f "$linux_debug" ] && [ "$(basename "$linux_debug")" = libteamforge.linux.template_debug.x86_64.so ] \
        || usage_error "--linux-debug needs a built libteamforge.linux.template_debug.x86_64.so, not $linux_debug"
fi

version=$(sed -n 's/^project(teamforge VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
[ -n "$version" ] || { echo "package: no version in CMakeLists.txt" >&2; exit 1; }
out="$top/build/package"
addon_source="$top/demo/addons/teamforge"
stage="$out/stage"
addon="$stage/addons/teamforge"
zip="$out/teamforge-$version.zip"
toolchain="$top/tools/mingw-w64-x86_64.cmake"

# build <platform> <kind> <build type> [cmake arguments...]: prints the library it built.
build() {
    local platform=$1 kind=$2 type=$3 dir="$out/$1-$2"
    shift 3
    echo "package: building $platform $kind ($type)" >&2
    "$here/setup.sh" "$dir" -DCMAKE_BUILD_TYPE="$type" -DTEAMFORGE_TEST_HOOKS=OFF "$@" >"$dir.log" 2>&1 \
        || { tail -n 30 "$dir.log" >&2; echo "package: the $platform $kind build failed (log: $dir.log)" >&2; exit 1; }
    local suffix=so
    [ "$platform" = windows ] && suffix=dll
    echo "$dir/bin/libteamforge.$platform.$kind.x86_64.$suffix"
}

mkdir -p "$out"
[ -n "$linux_debug" ] || linux_debug=$(build linux template_debug RelWithDebInfo)
libraries=(
    "$(build linux template_release Release)"
    "$linux_debug"
    "$(build windows template_release Release -DCMAKE_TOOLCHAIN_FILE="$toolchain")"
    # Its debug information would be stripped below: the DLL is compiled without it (the code is the same).
    "$(build windows template_debug RelWithDebInfo -DCMAKE_TOOLCHAIN_FILE="$toolchain" "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -DNDEBUG")"
)

rm -rf "$stage"
mkdir -p "$addon/bin"
# The addon's own files, named one by one: whatever an editor leaves in the demo's copy stays out.
for file in teamforge.gdextension teamforge.gdextension.uid README.md CHANGELOG.md plugin.cfg plugin.gd plugin.gd.uid; do
    [ -f "$addon_source/$file" ] && cp "$addon_source/$file" "$addon/"
done
cp "$top/LICENSE" "$addon/"
mkdir -p "$addon/locale" "$addon/icons" "$addon/example" "$addon/controls"
cp "$addon_source"/locale/teamforge.pot "$addon_source"/locale/teamforge.*.po "$addon/locale/"
cp "$addon_source"/icons/*.svg "$addon/icons/"
cp "$addon_source"/example/*.tscn "$addon_source"/example/*.gd "$addon/example/"
cp "$addon_source"/example/*.gd.uid "$addon/example/" 2>/dev/null || true
cp "$addon_source"/controls/*.gd "$addon/controls/"
for library in "${libraries[@]}"; do
    # Debug information stays in the build folders; the symbols the engine needs are kept.
    case "$library" in
        *.dll) x86_64-w64-mingw32-strip --strip-debug -o "$addon/bin/$(basename "$library")" "$library" ;;
        *) strip --strip-debug -o "$addon/bin/$(basename "$library")" "$library" ;;
    esac
done

# The version the build gives is the one the addon's README, plugin and changelog state.
grep -Fqx "Version $version" "$addon/README.md" \
    || { echo "package: addons/teamforge/README.md has no line \"Version $version\"" >&2; exit 1; }
grep -Fqx "version=\"$version\"" "$addon/plugin.cfg" \
    || { echo "package: addons/teamforge/plugin.cfg does not give version $version" >&2; exit 1; }
grep -Eq "^## ${version//./\\.}( |$)" "$addon/CHANGELOG.md" \
    || { echo "package: addons/teamforge/CHANGELOG.md has no entry for $version" >&2; exit 1; }
# Every class the reference describes has its icon, by its own name, in the package.
for reference in "$top"/doc_classes/*.xml; do
    class=$(basename "$reference" .xml)
    grep -Fqx "$class = \"res://addons/teamforge/icons/$class.svg\"" "$addon/teamforge.gdextension" \
        && [ -f "$addon/icons/$class.svg" ] \
        || { echo "package: the icon of $class is not listed in teamforge.gdextension or not in icons/" >&2; exit 1; }
done
# Every library the description lists is in the package, and nothing else.
listed=$(sed -n 's|^[a-z0-9_.]* = "res://addons/teamforge/bin/\(.*\)"$|\1|p' "$addon/teamforge.gdextension" | sort)
shipped=$(cd "$addon/bin" && ls | sort)
[ "$listed" = "$shipped" ] || { echo "package: teamforge.gdextension lists [$listed] but bin holds [$shipped]" >&2; exit 1; }
for library in "$addon"/bin/*.so; do
    exported=$(nm -D --defined-only "$library" | awk '$2 == "T" { print $3 }')
    [ "$exported" = teamforge_library_init ] \
        || { echo "package: $(basename "$library") exports [$exported], not just teamforge_library_init" >&2; exit 1; }
done
"$here/check_windows_dll.sh" "$addon"/bin/*.dll

# A zip that depends only on the files: sorted entries, one fixed time stamp.
rm -f "$zip"
python3 - "$stage" "$zip" <<'PYTHON'
import os, sys, zipfile
stage, target = sys.argv[1], sys.argv[2]
with zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
    for folder, folders, files in os.walk(stage):
        folders.sort()
        relative = os.path.relpath(folder, stage)
        if relative != ".":
            entry = zipfile.ZipInfo(relative + "/", date_time=(2026, 1, 1, 0, 0, 0))
            entry.external_attr = (0o40755 << 16) | 0x10
            archive.writestr(entry, b"")
        for name in sorted(files):
            path = os.path.join(folder, name)
            entry = zipfile.ZipInfo(os.path.relpath(path, stage), date_time=(2026, 1, 1, 0, 0, 0))
            entry.external_attr = (0o100755 if os.access(path, os.X_OK) else 0o100644) << 16
            entry.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as f:
                archive.writestr(entry, f.read(), compresslevel=9)
PYTHON
echo "package: $zip ($(du -h "$zip" | cut -f1))"
(cd "$stage" && find addons -type f | sort | while read -r file; do printf '  %8s  %s\n' "$(du -h "$file" | cut -f1)" "$file"; done)

if [ $run_test -eq 1 ]; then
    "$here/test_package.sh" "$zip"
fi
