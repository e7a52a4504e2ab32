# Sourced by the tools: installs the system's own (stable) Debian packages a step needs, only those missing.
#   install_missing <log tag> <package...>
install_missing() {
    local tag=$1 missing=() p
    shift
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "$tag: installing ${missing[*]}" >&2
    local sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update >/dev/null
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}" >/dev/null
}
