# Sourced by the tools that open an engine window without a real display: a virtual one (Xvfb, 1280x720),
# drawn by Mesa's software rasteriser. Needs tools/lib/system_packages.sh.
#   start_virtual_display <log tag> <work folder>
# Sets VIRTUAL_DISPLAY (":N") and VIRTUAL_DISPLAY_PID; stop_virtual_display kills it (safe to call twice).
VIRTUAL_DISPLAY=""
VIRTUAL_DISPLAY_PID=""

start_virtual_display() {
    local tag=$1 work=$2
    install_missing "$tag" "${VIRTUAL_DISPLAY_PACKAGES[@]}" || return 1
    # Xvfb picks a free display itself and writes its number to the descriptor.
    Xvfb -displayfd 3 -screen 0 1280x720x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    VIRTUAL_DISPLAY_PID=$!
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        kill -0 "$VIRTUAL_DISPLAY_PID" 2>/dev/null || break
        sleep 0.1
    done
    if [ ! -s "$work/display" ]; then
        cat "$work/xvfb.log" >&2
        echo "$tag: Xvfb did not start" >&2
        return 1
    fi
    VIRTUAL_DISPLAY=":$(head -n 1 "$work/display")"
}

stop_virtual_display() {
    [ -z "$VIRTUAL_DISPLAY_PID" ] || kill "$VIRTUAL_DISPLAY_PID" 2>/dev/null || true
    VIRTUAL_DISPLAY_PID=""
}
