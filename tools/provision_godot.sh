#!/usr/bin/env bash
# Provisions the Godot engine from Debian's unstable suite into a private folder of the project.
# Nothing is installed system-wide: apt-get runs with its own state, cache and an empty dpkg status,
# downloads only, and every package is unpacked with dpkg -x into one root folder.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
# shellcheck source=lib/options.sh
. "$here/lib/options.sh"
[ $# -eq 0 ] || refuse_option "$1"
cache="${TEAMFORGE_CACHE:-$top/.cache}"
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

if [ -x "$root/usr/bin/godot" ] && engine_ok; then
    exit 0
fi

# shellcheck source=lib/unstable_packages.sh
. "$here/lib/unstable_packages.sh"
unpack_unstable_packages provision_godot "$apt_dir" "$root" godot || exit 1

[ -x "$root/usr/bin/godot" ] || fail "the godot binary is missing after unpacking"
engine_ok || fail "the provisioned engine does not run or is older than $min_major.$min_minor: $("$here/godot" --version 2>&1 | tail -n 3)"
echo "provision_godot: $("$here/godot" --version 2>/dev/null | head -n 1)" >&2
