# Sourced by the scripts that look at a real window: start_desktop SIZE [Xvfb options...] starts a
# virtual screen on a free display with a window manager (openbox), so that stacking, focus and
# tooltips behave as on a desktop, and exports DISPLAY; stop_desktop ends both; window_named
# finds a window by its title. Needs the packages xvfb, openbox, x11-utils and xdotool.
start_desktop() {
    local size=$1 number
    shift
    for number in $(seq 90 199); do
        [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ] || break
    done
    Xvfb ":$number" -screen 0 "${size}x24" -nolisten tcp "$@" >/dev/null 2>&1 &
    desktop_xvfb=$!
    export DISPLAY=:$number
    for _ in $(seq 50); do
        xdpyinfo >/dev/null 2>&1 && break
        sleep 0.1
    done
    openbox >/dev/null 2>&1 &
    desktop_wm=$!
    sleep 1
}

# Waits up to a minute for a shown window whose title matches a pattern; prints its id.
window_named() {
    local id
    for _ in $(seq 600); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    echo "no window named $1" >&2
    return 1
}

stop_desktop() {
    kill ${desktop_wm:-} ${desktop_xvfb:-} 2>/dev/null || true
}
