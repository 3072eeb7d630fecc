# Sourced by the scripts that drive the real program: starts Xvfb on the first free display
# from FIRST to LAST and waits until it answers. Sets DISPLAY and XVFB_PID; false when no
# display was free.
#   start_xvfb FIRST LAST
start_xvfb() {
    local n display=""
    for n in $(seq "$1" "$2"); do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
            display=":$n"
            break
        fi
    done
    [ -n "$display" ] || return 1
    # -noreset: the server stays as it is when the last client goes.
    Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY="$display"
    for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && return 0; sleep 0.1; done
    return 0
}

# Waits up to 15 seconds until a visible window titled exactly $1 exists; prints its id.
wait_window() {
    local id=""
    for _ in $(seq 150); do
        id="$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)"
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

# Lists every window of the display with its title, on stderr: what a failed check saw.
list_windows() {
    echo "windows:" >&2
    for id in $(xdotool search --name '.' 2>/dev/null); do
        echo "  $id '$(xdotool getwindowname "$id" 2>/dev/null)'" >&2
    done
}
