#!/usr/bin/env bash
# Provisions the Godot engine from Debian's unstable suite into a private folder of the project.
# Nothing is installed system-wide: apt-get runs with its own state, cache and an empty dpkg status,
# downloads only, and every package is unpacked with dpkg -x into one root folder. The engine is then
# made to start as a program of its own, so that the editor can start it again to play a scene (F5, F6):
# patchelf gives the binary the root's loader as its interpreter and the root's library folders as its
# search path, by absolute paths; when the folder has moved, it is patched again. Safe to repeat.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
# shellcheck source=lib/options.sh
. "$here/lib/options.sh"
[ $# -eq 0 ] || refuse_option "$1"
cache="${TEAMFORGE_CACHE:-$top/.cache}"
mkdir -p "$cache"
cache=$(cd "$cache" && pwd)
root="$cache/godot-root"
apt_dir="$cache/apt"
min_major=4
min_minor=6

fail() { echo "provision_godot: $*" >&2; exit 1; }

engine_ok() {
    local v
    v=$("$here/godot" --version 2>/dev/null | head -n 1) || return 1
    [[ "$v" =~ ^([0-9]+)\.([0-9]+) ]] || return 1
    local major=${BASH_REMATCH[1]} minor=${BASH_REMATCH[2]}
    (( major > min_major || (major == min_major && minor >= min_minor) ))
}

# shellcheck source=lib/system_packages.sh
. "$here/lib/system_packages.sh"
install_missing provision_godot "${ENGINE_PACKAGES[@]}" || exit 1
# shellcheck source=lib/engine_paths.sh
. "$here/lib/engine_paths.sh"
[[ $root != *:* ]] || fail "the engine's folder $root holds a ':', which a library search path cannot"

# One provisioning at a time per cache; the engines running meanwhile keep the files they started with.
exec 8>>"$cache/provision.lock"
flock 8
# tools/godot, run here to check the engine, leaves the patching to this run.
export TEAMFORGE_PROVISIONING=1
if [ -x "$root/usr/bin/godot" ]; then
    engine_patched "$root" || patch_engine "$root" || fail "patching the engine in $root failed"
    engine_ok && exit 0
fi

# shellcheck source=lib/unstable_packages.sh
. "$here/lib/unstable_packages.sh"
rm -rf "$root"
unpack_unstable_packages provision_godot "$apt_dir" "$root" godot || exit 1
[ -x "$root/usr/bin/godot" ] || fail "the godot binary is missing after unpacking"
patch_engine "$root" || fail "patching the engine in $root failed"
engine_ok || fail "the provisioned engine does not run or is older than $min_major.$min_minor: $("$here/godot" --version 2>&1 | tail -n 3)"
echo "provision_godot: $("$here/godot" --version 2>/dev/null | head -n 1)" >&2
