#!/usr/bin/env bash
# Provisions the Godot engine from Debian's unstable suite into a private folder of the project.
# Nothing is installed system-wide: apt-get runs with its own state, cache and an empty dpkg status,
# downloads only, and every package is unpacked with dpkg -x into one root folder.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
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

command -v apt-get >/dev/null || fail "apt-get is not available"
command -v dpkg >/dev/null || fail "dpkg is not available"

# Use the same mirror as the system's own apt sources.
shopt -s nullglob
mirror=$( { for f in /etc/apt/sources.list.d/*.sources; do grep -hE '^\s*URIs:' "$f" | awk '{print $2}'; done
            for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
                [ -f "$f" ] && grep -hE '^\s*deb\s' "$f" | sed -E 's/\[[^]]*\]//' | awk '{print $2}'
            done; } | grep '/debian' | grep -v security | head -n 1 || true)
shopt -u nullglob
mirror=${mirror:-http://deb.debian.org/debian}
mirror=${mirror%/}

rm -rf "$apt_dir"
mkdir -p "$apt_dir/state/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/etc/preferences.d" "$root"
: > "$apt_dir/state/status"
echo "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror sid main" > "$apt_dir/sources.list"

apt_opts=(
    -o "Dir::State=$apt_dir/state"
    -o "Dir::State::status=$apt_dir/state/status"
    -o "Dir::Cache=$apt_dir/cache"
    -o "Dir::Etc::SourceList=$apt_dir/sources.list"
    -o "Dir::Etc::SourceParts=-"
    -o "Dir::Etc::Preferences=$apt_dir/etc/preferences"
    -o "Dir::Etc::PreferencesParts=$apt_dir/etc/preferences.d"
    -o "APT::Install-Recommends=false"
    -o "APT::Get::Assume-Yes=true"
    -o "Debug::NoLocking=true"
)

echo "provision_godot: fetching package lists from $mirror (sid)" >&2
apt-get "${apt_opts[@]}" update >"$apt_dir/update.log" 2>&1 \
    || { tail -n 20 "$apt_dir/update.log" >&2; fail "apt-get update failed (registry unreachable?)"; }
echo "provision_godot: downloading godot and its dependencies" >&2
apt-get "${apt_opts[@]}" --download-only install godot >"$apt_dir/download.log" 2>&1 \
    || { tail -n 20 "$apt_dir/download.log" >&2; fail "downloading the godot package failed"; }

shopt -s nullglob
debs=("$apt_dir"/cache/archives/*.deb)
[ ${#debs[@]} -gt 0 ] || fail "no packages were downloaded"
for deb in "${debs[@]}"; do
    dpkg -x "$deb" "$root" || fail "unpacking $deb failed"
done
rm -rf "$apt_dir/cache/archives"

[ -x "$root/usr/bin/godot" ] || fail "the godot binary is missing after unpacking"
engine_ok || fail "the provisioned engine does not run or is older than $min_major.$min_minor: $("$here/godot" --version 2>&1 | tail -n 3)"
echo "provision_godot: $("$here/godot" --version 2>/dev/null | head -n 1)" >&2
