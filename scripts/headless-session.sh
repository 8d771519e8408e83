# Sourced by the test scripts: a private X display with a real window manager and
# a null audio sink, so windows are managed and sound really plays (and can be
# recorded from nullsink.monitor). Call start_headless_session; stop is automatic.

start_headless_session() {
    HEADLESS_DIR=$(mktemp -d /tmp/pausewell-session.XXXXXX)
    chmod 700 "$HEADLESS_DIR"

    local display
    for display in $(seq 91 140); do
        [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] || break
    done
    Xvfb ":$display" -screen 0 1024x768x24 -dpi 96 -nolisten tcp >"$HEADLESS_DIR/xvfb.log" 2>&1 &
    HEADLESS_XVFB_PID=$!
    export DISPLAY=":$display"
    unset WAYLAND_DISPLAY
    local i
    for i in $(seq 1 100); do
        xdpyinfo >/dev/null 2>&1 && break
        sleep 0.1
    done
    xdpyinfo >/dev/null 2>&1 || { echo "Xvfb did not start" >&2; cat "$HEADLESS_DIR/xvfb.log" >&2; return 1; }

    openbox --sm-disable >"$HEADLESS_DIR/openbox.log" 2>&1 &
    HEADLESS_WM_PID=$!
    for i in $(seq 1 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.1
    done

    export XDG_RUNTIME_DIR="$HEADLESS_DIR/runtime"
    mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
    export PULSE_RUNTIME_PATH="$XDG_RUNTIME_DIR/pulse"
    # Clients find the server here even when a test gives the program its own runtime folder.
    export PULSE_SERVER="unix:$PULSE_RUNTIME_PATH/native"
    pulseaudio -n --daemonize=yes --exit-idle-time=-1 --use-pid-file=yes \
        -L module-native-protocol-unix -L "module-null-sink sink_name=nullsink" \
        -L module-always-sink >"$HEADLESS_DIR/pulse.log" 2>&1
    for i in $(seq 1 100); do
        pactl info >/dev/null 2>&1 && break
        sleep 0.1
    done
    pactl info >/dev/null 2>&1 || { echo "pulseaudio did not start" >&2; cat "$HEADLESS_DIR/pulse.log" >&2; return 1; }
    pactl set-default-sink nullsink >/dev/null 2>&1 || true
    trap stop_headless_session EXIT
}

stop_headless_session() {
    pulseaudio --kill >/dev/null 2>&1 || true
    [ -n "${HEADLESS_WM_PID:-}" ] && kill "$HEADLESS_WM_PID" 2>/dev/null
    [ -n "${HEADLESS_XVFB_PID:-}" ] && kill "$HEADLESS_XVFB_PID" 2>/dev/null
    wait 2>/dev/null
    [ -n "${HEADLESS_DIR:-}" ] && rm -rf "$HEADLESS_DIR"
    HEADLESS_WM_PID= HEADLESS_XVFB_PID= HEADLESS_DIR=
}
