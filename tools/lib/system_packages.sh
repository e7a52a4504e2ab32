# Sourced by the tools: installs the system's own (stable) Debian packages a step needs, only those missing.
#   install_missing <log tag> <package...>
# The lists below are what each purpose needs, one list each; tools/run_tests.sh installs all of them before
# ctest starts its entries side by side.
# Build tools; MinGW-w64 cross-builds the Windows library.
BUILD_PACKAGES=(g++ cmake make python3 ca-certificates libgtest-dev g++-mingw-w64-x86-64-posix)
# Preparing the provisioned engine to start as a program of its own (tools/provision_godot.sh).
ENGINE_PACKAGES=(patchelf binutils)
# The engine draws a window through the system's OpenGL (libglvnd and Mesa).
OPENGL_PACKAGES=(libgl1 libglx-mesa0 libgl1-mesa-dri)
# A window without a real display (tools/lib/virtual_display.sh).
VIRTUAL_DISPLAY_PACKAGES=(xvfb "${OPENGL_PACKAGES[@]}")
# Making a fresh machine to run the test command in (tools/fresh_machine.sh).
FRESH_MACHINE_PACKAGES=(debootstrap)

# Seconds an install waits for another one to finish, and between two tries of apt-get update.
PACKAGE_LOCK_WAIT=900
PACKAGE_LOCK_RETRY=5

missing_packages() {
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
    done
}

# Under TEAMFORGE_NO_INSTALL=<step> (the test command sets it for its ctest entries, which run side by side)
# a missing package is an error instead of an install: every package must be there before they start.
install_missing() {
    local tag=$1 missing
    shift
    missing=$(missing_packages "$@" | tr '\n' ' ')
    [ -n "$missing" ] || return 0
    if [ -n "${TEAMFORGE_NO_INSTALL:-}" ]; then
        echo "$tag: missing system packages ${missing% }; the step $TEAMFORGE_NO_INSTALL installs nothing" \
            "(tools/run_tests.sh installs every package before its steps start)" >&2
        return 1
    fi
    local sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    # One install at a time from the tools: apt-get update takes the lists lock without waiting
    # (DPkg::Lock::Timeout covers only dpkg's lock), so a second one started meanwhile would fail.
    local lock=/var/lock/teamforge-packages.lock
    [ -w /var/lock ] || lock="${TMPDIR:-/tmp}/teamforge-packages.lock"
    (
        flock -w "$PACKAGE_LOCK_WAIT" 9 || { echo "$tag: another install held $lock for ${PACKAGE_LOCK_WAIT}s" >&2; exit 1; }
        # What another install brought meanwhile is not installed again.
        # shellcheck disable=SC2086
        missing=$(missing_packages $missing | tr '\n' ' ')
        [ -n "$missing" ] || exit 0
        echo "$tag: installing ${missing% }" >&2
        local apt=("${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o "DPkg::Lock::Timeout=$PACKAGE_LOCK_WAIT")
        local tries=0 log
        log=$(mktemp "${TMPDIR:-/tmp}/teamforge-apt.XXXXXX")
        # An apt-get outside the tools (an unattended upgrade) may hold the lists lock: wait for it too.
        until "${apt[@]}" update >"$log" 2>&1; do
            tries=$((tries + 1))
            if ! grep -q 'Could not get lock' "$log" || [ $((tries * PACKAGE_LOCK_RETRY)) -gt "$PACKAGE_LOCK_WAIT" ]; then
                cat "$log" >&2
                rm -f "$log"
                echo "$tag: apt-get update failed" >&2
                exit 1
            fi
            sleep "$PACKAGE_LOCK_RETRY"
        done
        rm -f "$log"
        # shellcheck disable=SC2086
        "${apt[@]}" install -y --no-install-recommends $missing >/dev/null \
            || { echo "$tag: installing ${missing% } failed" >&2; exit 1; }
    ) 9>>"$lock"
}
