# Sourced by the provisioning scripts. Downloads packages (with their dependencies) from Debian's
# unstable suite and unpacks them into a private root. Nothing touches the system: apt-get runs with its
# own state, cache and an empty dpkg status, downloads only, and every package is unpacked with dpkg -x.
#   unpack_unstable_packages <log tag> <apt dir> <root> <package...>
# Returns non-zero after printing the step that failed.

# The system's own Debian mirror, as its apt configuration names it; nothing else is ever asked.
debian_mirror() {
    local mirror f
    shopt -s nullglob
    mirror=$( { for f in /etc/apt/sources.list.d/*.sources; do grep -hE '^\s*URIs:' "$f" | awk '{print $2}'; done
                for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
                    [ -f "$f" ] && grep -hE '^\s*deb\s' "$f" | sed -E 's/\[[^]]*\]//' | awk '{print $2}'
                done; } | grep '/debian' | grep -v security | head -n 1 || true)
    shopt -u nullglob
    [ -n "$mirror" ] || return 1
    echo "${mirror%/}"
}

unpack_unstable_packages() {
    local tag=$1 apt_dir=$2 root=$3
    shift 3
    command -v apt-get >/dev/null || { echo "$tag: apt-get is not available" >&2; return 1; }
    command -v dpkg >/dev/null || { echo "$tag: dpkg is not available" >&2; return 1; }
    local mirror
    mirror=$(debian_mirror) || {
        echo "$tag: the system's apt configuration names no Debian mirror (/etc/apt/sources.list, sources.list.d)" >&2
        return 1
    }

    rm -rf "$apt_dir"
    mkdir -p "$apt_dir/state/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/etc/preferences.d" "$root"
    : > "$apt_dir/state/status"
    echo "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror sid main" > "$apt_dir/sources.list"
    local apt_opts=(
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

    echo "$tag: fetching package lists from $mirror (sid)" >&2
    if ! apt-get "${apt_opts[@]}" update >"$apt_dir/update.log" 2>&1; then
        tail -n 20 "$apt_dir/update.log" >&2
        echo "$tag: apt-get update failed (registry unreachable?)" >&2
        return 1
    fi
    echo "$tag: downloading $*" >&2
    if ! apt-get "${apt_opts[@]}" --download-only install "$@" >"$apt_dir/download.log" 2>&1; then
        tail -n 20 "$apt_dir/download.log" >&2
        echo "$tag: downloading $* failed" >&2
        return 1
    fi

    local debs deb
    shopt -s nullglob
    debs=("$apt_dir"/cache/archives/*.deb)
    shopt -u nullglob
    [ ${#debs[@]} -gt 0 ] || { echo "$tag: no packages were downloaded" >&2; return 1; }
    for deb in "${debs[@]}"; do
        dpkg -x "$deb" "$root" || { echo "$tag: unpacking $deb failed" >&2; return 1; }
    done
    rm -rf "$apt_dir/cache/archives"
}
