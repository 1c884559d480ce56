# Window lookups for the real-window smoke tests. xdotool trips over windows that vanish while it looks
# (BadWindow) and then fails as if nothing matched, so each look that fails on an X error is tried again.

# Waits up to ten seconds for a visible window whose name matches and prints it.
find_window() {
    local id
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

# Waits up to ten seconds until no visible window has the name; fails if one stays.
window_gone() {
    local out
    for _ in $(seq 100); do
        if ! out=$(xdotool search --onlyvisible --name "$1" 2>&1); then
            case "$out" in *"X Error"*) ;; *) return 0 ;; esac
        fi
        sleep 0.1
    done
    return 1
}

# Starts a 1280 x 1024 Xvfb on a display no other server holds and waits until it takes connections; sets
# xvfb to its process and DISPLAY to it. Needs the test's folder in work. By default the server starts afresh
# whenever its last client leaves (the readiness probe, the chart maker) and drops a program connecting
# meanwhile: -noreset keeps it up.
start_xvfb() {
    Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
    [ -s "$work/display" ] || { echo "Xvfb did not start"; exit 1; }
    export DISPLAY=:$(head -n 1 "$work/display")
    for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && return 0; sleep 0.1; done
    echo "Xvfb on $DISPLAY takes no connections"
    exit 1
}

# Stops the given processes and waits until each has gone, so that nothing of one test is still going when the
# next one starts a server, which may take the same display number.
stop_processes() {
    local pid
    for pid in "$@"; do
        [ -n "$pid" ] || continue
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
}
