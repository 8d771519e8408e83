# shellcheck shell=bash
# Shared helpers for the end-to-end tests: each script runs the real pausewell
# binary on an X display with a window manager and a null audio sink, and looks
# at it only from the outside (X properties, screenshots, recorded sound, exit codes).
#
# Usage in a test script:
#   source "$(dirname "$0")/lib.sh"
#   e2e_init "$@"            # $1 = the pausewell binary
#   start_program "$E2E_BIN"; wait_for_main_window "$PROGRAM_PID"; echo "$WIN" ...
#
# Helpers that can fail set a variable instead of printing, so they run in the
# test's own shell and "fail" ends the test.
#
# A test leaves nothing behind: every process it started is killed and its
# folder removed on any exit.

# shellcheck disable=SC2034 # the variables set here are read by the test scripts
set -uo pipefail

E2E_LIB_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
E2E_REPO_DIR=$(cd "$E2E_LIB_DIR/../.." && pwd)
# Every wait polls and returns as soon as its condition holds; the limit only
# matters when something is wrong, so it is generous (sanitizer builds start slowly).
E2E_TIMEOUT=${PAUSEWELL_E2E_TIMEOUT:-60}
E2E_SHOTS=${PAUSEWELL_SHOTS:-/tmp/pausewell-shots}
E2E_NAME=$(basename "$0" .sh)

# Where the window must be on the 1024x768 test screen, and its size.
MAIN_X=555 MAIN_Y=478 MAIN_W=449 MAIN_H=250

E2E_PIDS=()
E2E_OWN_SESSION=0

fail() {
    echo "FAIL [$E2E_NAME]: $*" >&2
    exit 1
}

ok() { echo "ok   [$E2E_NAME]: $*"; }

note() { echo "     [$E2E_NAME]: $*"; }

now_ms() { echo $(($(date +%s%N) / 1000000)); }

e2e_cleanup() {
    local status=$?
    local pid
    for pid in "${E2E_PIDS[@]}"; do
        kill -0 "$pid" 2>/dev/null || continue
        kill -TERM "$pid" 2>/dev/null
        for _ in $(seq 1 50); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null # only ours: a private session's servers are still children
    done
    if [ "$status" -ne 0 ] && [ -n "${E2E_DIR:-}" ]; then
        local log
        for log in "$E2E_DIR"/*.log; do
            [ -s "$log" ] || continue
            echo "---- $(basename "$log")" >&2
            tail -n 40 "$log" >&2
        done
    fi
    [ -n "${E2E_DIR:-}" ] && rm -rf "$E2E_DIR"
    [ "$E2E_OWN_SESSION" = 1 ] && stop_headless_session
    exit "$status"
}

# Uses the session the caller set up (scripts/test.sh starts one); when run on its
# own, the test starts a private one.
e2e_ensure_session() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1 && pactl info >/dev/null 2>&1 &&
        pactl list short sinks 2>/dev/null | grep -q nullsink; then
        return 0
    fi
    note "no display with a null sink here: starting a private headless session"
    # shellcheck source=scripts/headless-session.sh
    source "$E2E_REPO_DIR/scripts/headless-session.sh"
    start_headless_session || fail "could not start a headless session"
    E2E_OWN_SESSION=1
    trap e2e_cleanup EXIT # start_headless_session installed its own; ours stops it too
}

e2e_init() {
    [ $# -ge 1 ] || fail "usage: $0 /path/to/pausewell"
    E2E_BIN=$(readlink -f "$1")
    [ -x "$E2E_BIN" ] || fail "program not found or not executable: $1"
    E2E_DIR=$(mktemp -d "/tmp/pausewell-e2e-$E2E_NAME.XXXXXX")
    trap e2e_cleanup EXIT
    trap 'exit 130' INT TERM
    e2e_ensure_session
    # A runtime folder of our own: the instance lock and the activation socket live
    # there, so no other test (or a copy the developer has running) is seen.
    # PULSE_SERVER stays as exported, so the sound still reaches the null sink.
    export XDG_RUNTIME_DIR="$E2E_DIR/runtime"
    mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
    mkdir -p "$E2E_SHOTS"
    note "program $E2E_BIN, display $DISPLAY, runtime $XDG_RUNTIME_DIR"
}

# The chime has to be beside the binary for every test but the one that removes it.
require_chime() {
    local chime
    chime="$(dirname "$E2E_BIN")/Stretch/tada.wav"
    [ -s "$chime" ] || fail "$chime is missing: build the media first (cmake --build <dir> --target media)"
}

# start_program BINARY [LOGNAME]: runs it in the background; PROGRAM_PID is its pid,
# its output goes to $E2E_DIR/LOGNAME.log.
start_program() {
    local bin=$1 log=${2:-program}
    "$bin" >"$E2E_DIR/$log.log" 2>&1 &
    PROGRAM_PID=$!
    E2E_PIDS+=("$PROGRAM_PID")
}

# poll TIMEOUT_S COMMAND...: true as soon as COMMAND succeeds, false after TIMEOUT_S.
poll() {
    local timeout=$1
    shift
    local deadline=$(($(now_ms) + timeout * 1000))
    while :; do
        "$@" && return 0
        [ "$(now_ms)" -ge "$deadline" ] && return 1
        sleep 0.05
    done
}

# The program's windows that are mapped, titled exactly "Pause WELL". Qt's leader
# window has the same name but is never mapped.
visible_windows() {
    local pid=$1
    xdotool search --onlyvisible --pid "$pid" --name '^Pause WELL$' 2>/dev/null
}

# Any mapped "Pause WELL" window on the display, whoever owns it.
all_visible_windows() {
    xdotool search --onlyvisible --name '^Pause WELL$' 2>/dev/null
}

window_types() { xprop -id "$1" _NET_WM_WINDOW_TYPE 2>/dev/null; }

is_dialog() { window_types "$1" | grep -q _NET_WM_WINDOW_TYPE_DIALOG; }

# The mapped main window (not a dialog) of PID, or nothing.
main_window() {
    local w
    for w in $(visible_windows "$1"); do
        is_dialog "$w" || {
            echo "$w"
            return 0
        }
    done
    return 1
}

# The mapped dialog of PID (the error box), or nothing.
dialog_window() {
    local w
    for w in $(visible_windows "$1"); do
        is_dialog "$w" && {
            echo "$w"
            return 0
        }
    done
    return 1
}

_found_main() { E2E_FOUND=$(main_window "$1"); }
_found_dialog() { E2E_FOUND=$(dialog_window "$1"); }

# Sets WIN to the main window of PID once it is mapped.
wait_for_main_window() {
    E2E_FOUND=
    poll "$E2E_TIMEOUT" _found_main "$1" || fail "no main window mapped within ${E2E_TIMEOUT}s"
    WIN=$E2E_FOUND
}

# Sets DIALOG to the dialog of PID once it is mapped.
wait_for_dialog() {
    E2E_FOUND=
    poll "$E2E_TIMEOUT" _found_dialog "$1" || fail "no dialog mapped within ${E2E_TIMEOUT}s"
    DIALOG=$E2E_FOUND
}

# "X Y W H" of a window on the root, as xwininfo reports it.
window_geometry() {
    xwininfo -id "$1" 2>/dev/null | awk '
        /Absolute upper-left X:/ {x=$NF} /Absolute upper-left Y:/ {y=$NF}
        /^ *Width:/ {w=$NF} /^ *Height:/ {h=$NF}
        END {print x, y, w, h}'
}

# IsViewable, IsUnMapped or IsUnviewable; nothing once the window is destroyed.
map_state() { xwininfo -id "$1" 2>/dev/null | awk '/Map State:/ {print $NF}'; }

is_mapped() { [ "$(map_state "$1")" = IsViewable ]; }
is_unmapped() { [ "$(map_state "$1")" = IsUnMapped ]; }

# Window ids (decimal) in the root's _NET_CLIENT_LIST (the task bar's list).
client_list() {
    local id
    for id in $(xprop -root _NET_CLIENT_LIST 2>/dev/null | grep -o '0x[0-9a-fA-F]*'); do
        printf '%d\n' "$id"
    done
}

in_client_list() { client_list | grep -qx "$1"; }
not_in_client_list() { ! in_client_list "$1"; }

window_title() { xprop -id "$1" _NET_WM_NAME 2>/dev/null | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p'; }

process_ended() { ! kill -0 "$1" 2>/dev/null; }

# wait_exit PID: waits for the program to end and sets EXIT_RC (fails on timeout).
wait_exit() {
    local pid=$1
    poll "$E2E_TIMEOUT" process_ended "$pid" || fail "process $pid still running after ${E2E_TIMEOUT}s"
    wait "$pid"
    EXIT_RC=$?
}

# Clicks at a point on the screen; the pointer is moved first so the press lands there.
click_at() {
    xdotool mousemove --sync "$1" "$2" click 1 || fail "xdotool could not click at $1,$2"
}

# screenshot NAME: the whole screen into $E2E_SHOTS/NAME.png, path in SHOT.
screenshot() {
    SHOT="$E2E_SHOTS/$1.png"
    import -window root "$SHOT" 2>/dev/null || fail "could not take a screenshot"
}

# crop FILE X Y W H OUT: a region of a screenshot, with the origin moved to its corner.
crop() { convert "$1" -crop "$4x$5+$2+$3" +repage "$6"; }

# pixel FILE X Y: "R G B" in 0..255.
pixel() {
    convert "$1" -depth 8 -crop "1x1+$2+$3" +repage txt:- 2>/dev/null |
        sed -n '2s/^[^(]*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p'
}

# count_pixels FILE X Y W H AWK_CONDITION: how many pixels of the region satisfy
# the condition, written with r, g and b (0..255).
count_pixels() {
    convert "$1" -depth 8 -crop "$4x$5+$2+$3" +repage txt:- 2>/dev/null | awk '
        NR > 1 {
            s = $0; sub(/^[^(]*\(/, "", s); sub(/\).*/, "", s); split(s, c, ",")
            r = c[1] + 0; g = c[2] + 0; b = c[3] + 0
            n += ('"$6"')
        }
        END {print n + 0}'
}

# Sound: raw 16-bit stereo from the null sink's monitor, readable while it grows.
REC_RATE=44100
REC_BYTES_PER_S=$((REC_RATE * 4))

record_start() {
    E2E_REC="$E2E_DIR/${1:-sound}.raw"
    parec --device=nullsink.monitor --format=s16le --rate=$REC_RATE --channels=2 \
        --latency-msec=50 >"$E2E_REC" 2>"$E2E_DIR/parec.log" &
    E2E_REC_PID=$!
    E2E_PIDS+=("$E2E_REC_PID")
}

record_stop() {
    kill "$E2E_REC_PID" 2>/dev/null
    wait "$E2E_REC_PID" 2>/dev/null
}

recorded_bytes() { stat -c %s "$E2E_REC" 2>/dev/null || echo 0; }

_recorded_at_least() { [ "$(recorded_bytes)" -ge "$1" ]; }

# Waits until the recording holds at least BYTES.
wait_recorded() {
    poll "$E2E_TIMEOUT" _recorded_at_least "$1" || fail "parec recorded nothing from nullsink.monitor"
}

# sound_stats [BYTES_TO_SKIP] [BYTES]: "RMS MAX" (0..1) of a part of the recording.
sound_stats() {
    local skip=${1:-0} count=${2:-}
    local part="$E2E_DIR/part.raw"
    if [ -n "$count" ]; then
        tail -c +"$((skip + 1))" "$E2E_REC" | head -c "$count" >"$part"
    else
        tail -c +"$((skip + 1))" "$E2E_REC" >"$part"
    fi
    # Whole frames only: the file may end in the middle of one while it grows.
    truncate -s $(($(stat -c %s "$part") / 4 * 4)) "$part"
    [ -s "$part" ] || {
        echo "0 0"
        return
    }
    sox -t raw -r $REC_RATE -e signed -b 16 -c 2 "$part" -n stat 2>&1 |
        awk '/^RMS +amplitude:/ {rms=$NF} /^Maximum amplitude:/ {max=$NF} END {print rms + 0, max + 0}'
}

# awk as a calculator for comparisons of decimals: fcmp "A > B".
fcmp() { awk "BEGIN {exit !($1)}"; }

# --- The routine and the reminder, seen from outside

# Screen points and regions on the 1024x768 test screen (window corner + offset).
START_X=$((MAIN_X + 48)) START_Y=$((MAIN_Y + 222))
REMIND_X=$((MAIN_X + 105)) REMIND_Y=$((MAIN_Y + 222))
EXIT_X=$((MAIN_X + 400)) EXIT_Y=$((MAIN_Y + 222))
# Inside a grab of the whole window: the video panel and the "n/6" counter.
PANEL_WX=221 PANEL_WY=41 PANEL_W=201 PANEL_H=193
COUNTER_WX=401 COUNTER_WY=5 COUNTER_W=36 COUNTER_H=14

# grab X Y W H OUT: a region of the screen, straight into OUT (cheaper than a full shot).
grab() { import -window root -crop "$3x$4+$1+$2" +repage "$5" 2>/dev/null; }

# grab_window OUT: the window's rectangle in the corner, as it is on the screen now.
grab_window() { grab "$MAIN_X" "$MAIN_Y" "$MAIN_W" "$MAIN_H" "$1"; }

# colours FILE: how many different colours the image holds.
colours() { identify -format %k "$1" 2>/dev/null || echo 0; }

# changed_pixels A B: how many pixels differ between two images of the same size.
changed_pixels() {
    local n
    n=$(compare -metric AE "$1" "$2" null: 2>&1)
    [[ "$n" =~ ^[0-9.e+]+$ ]] || n=-1 # an error (different sizes, unreadable file)
    printf '%.0f\n' "$n"
}

# signature FILE X Y W H: a checksum of a region's pixels, to see when it changes.
signature() { convert "$1" -crop "$4x$5+$2+$3" +repage -depth 8 rgb:- 2>/dev/null | md5sum | cut -c1-12; }

_body_white() {
    grab_window "$E2E_DIR/painted.png" && [ "$(pixel "$E2E_DIR/painted.png" 440 100)" = "255 255 255" ]
}

# The first frames may still be unpainted: waits for the white body at the right edge.
wait_painted() { poll "$E2E_TIMEOUT" _body_white || fail "the window body never turned white"; }

# _NET_WM_STATE of a window, as one line.
wm_state() { xprop -id "$1" _NET_WM_STATE 2>/dev/null; }

# Iconified: the desktop unmapped it and marked it hidden (the task bar still lists it).
is_iconified() { is_unmapped "$1" && [[ "$(wm_state "$1")" == *_NET_WM_STATE_HIDDEN* ]]; }

# The window the desktop reports as active, in decimal, or nothing.
active_window() {
    local id
    id=$(xprop -root _NET_ACTIVE_WINDOW 2>/dev/null | grep -o '0x[0-9a-fA-F]*' | head -n 1)
    [ -n "$id" ] && printf '%d\n' "$id"
}

is_active() { [ "$(active_window)" = "$1" ]; }

at_corner() { [ "$(window_geometry "$1")" = "$MAIN_X $MAIN_Y $MAIN_W $MAIN_H" ]; }

# A sound is there when it stands well above the null sink's floor and is not just a click.
SOUND_MIN_MAX=0.02 SOUND_MIN_RMS=0.002

# heard_since BYTES: the recording after BYTES holds a sound; HEARD holds "RMS MAX".
heard_since() {
    HEARD=$(sound_stats "$1")
    local rms max
    read -r rms max <<<"$HEARD"
    fcmp "$max >= $SOUND_MIN_MAX && $rms >= $SOUND_MIN_RMS"
}

# _quiet_now: the last half second of the recording is silent (the chime has ended).
_quiet_now() {
    local size=$(($(recorded_bytes) / 4 * 4)) half=$((REC_BYTES_PER_S / 2))
    [ "$size" -ge "$half" ] || return 1
    local rms max
    read -r rms max < <(sound_stats $((size - half)) "$half")
    fcmp "$max < $SOUND_MIN_MAX / 4"
}

# Waits until nothing sounds, then sets QUIET_AT to the recording's size: what is
# heard after that offset is new.
wait_quiet() {
    poll "$E2E_TIMEOUT" _quiet_now || fail "the sink never went quiet: $(sound_stats 0)"
    QUIET_AT=$(($(recorded_bytes) / 4 * 4))
}

# --- Watching a routine from outside: the "n/6" counter tells the positions apart,
# the video panel must hold a picture that moves within each position.
#
# routine_begin: clears what the watcher has seen; ROUTINE_IDLE_SIG is the
# counter before the routine (it must be grabbed while the idle window shows).
# routine_watch UNTIL_MS [INTERVAL_S]: samples the window until it is unmapped
# (ROUTINE_END_MS is set then) or until UNTIL_MS. Several calls continue one watch.
# Seen so far: ROUTINE_SIGS (counter signatures in order), ROUTINE_SEEN[sig]
# (samples), ROUTINE_FIRST_MS[sig], ROUTINE_MOVED[sig] (changed pixels between two
# pictures of that position), ROUTINE_LAYOUT (the first routine sample, for the
# layout checks), ROUTINE_LAST (the last sample with the window on screen).
# Each position's first picture and the one that proved it moves are kept in
# $E2E_SHOTS as <test>-pos<N>a.png / -pos<N>b.png.

# Fewer colours than this and the panel holds no picture (white, or one colour).
PICTURE_MIN_COLOURS=200
# A picture that moved: this many pixels changed between two moments.
MOVED_MIN_PIXELS=300

routine_begin() {
    ROUTINE_SIGS=() ROUTINE_END_MS= ROUTINE_LAYOUT= ROUTINE_LAST=
    unset ROUTINE_SEEN ROUTINE_FIRST_MS ROUTINE_MOVED
    declare -gA ROUTINE_SEEN=() ROUTINE_FIRST_MS=() ROUTINE_MOVED=()
    _routine_base=
    local idle="$E2E_DIR/idle.png"
    grab_window "$idle" || fail "could not grab the idle window"
    ROUTINE_IDLE_SIG=$(signature "$idle" "$COUNTER_WX" "$COUNTER_WY" "$COUNTER_W" "$COUNTER_H")
}

routine_watch() {
    local until=$1 interval=${2:-0}
    local cur="$E2E_DIR/sample.png" panel="$E2E_DIR/panel.png" sig n moved
    while [ "$(now_ms)" -lt "$until" ]; do
        if is_unmapped "$WIN"; then
            ROUTINE_END_MS=$(now_ms)
            return 0
        fi
        grab_window "$cur" || continue
        # Grabbed while the window went away, or mid-repaint: not a sample.
        [ "$(pixel "$cur" 440 100)" = "255 255 255" ] || continue
        sig=$(signature "$cur" "$COUNTER_WX" "$COUNTER_WY" "$COUNTER_W" "$COUNTER_H")
        [ "$sig" = "$ROUTINE_IDLE_SIG" ] && continue # not started yet
        if [ -z "${ROUTINE_SEEN[$sig]:-}" ]; then
            ROUTINE_SIGS+=("$sig")
            ROUTINE_SEEN[$sig]=0
            ROUTINE_FIRST_MS[$sig]=$(now_ms)
            _routine_base=
        fi
        ROUTINE_SEEN[$sig]=$((ROUTINE_SEEN[$sig] + 1))
        n=${#ROUTINE_SIGS[@]}
        [ -n "$ROUTINE_LAYOUT" ] || {
            ROUTINE_LAYOUT="$E2E_DIR/layout.png"
            cp "$cur" "$ROUTINE_LAYOUT"
        }
        ROUTINE_LAST="$E2E_DIR/last.png"
        cp "$cur" "$ROUTINE_LAST"
        crop "$cur" "$PANEL_WX" "$PANEL_WY" "$PANEL_W" "$PANEL_H" "$panel"
        if [ "$(colours "$panel")" -ge "$PICTURE_MIN_COLOURS" ] && [ -z "${ROUTINE_MOVED[$sig]:-}" ]; then
            if [ -z "$_routine_base" ]; then
                _routine_base="$E2E_DIR/base.png"
                cp "$panel" "$_routine_base"
                cp "$cur" "$E2E_SHOTS/$E2E_NAME-pos${n}a.png"
            else
                moved=$(changed_pixels "$_routine_base" "$panel")
                if [ "$moved" -ge "$MOVED_MIN_PIXELS" ]; then
                    ROUTINE_MOVED[$sig]=$moved
                    cp "$cur" "$E2E_SHOTS/$E2E_NAME-pos${n}b.png"
                fi
            fi
        fi
        sleep "$interval"
    done
    return 0
}

# Positions seen in more than one sample (a single odd sample is a torn grab).
routine_positions() {
    local sig n=0
    for sig in "${ROUTINE_SIGS[@]}"; do
        [ "${ROUTINE_SEEN[$sig]}" -ge 2 ] && n=$((n + 1))
    done
    echo "$n"
}

# Routine layout in a window grab: the Start, Remind and Exit faces are gone (the
# first two show the white body, Exit's place is the panel's). A face has some
# hundreds of light-grey pixels; the video over Exit's place may have a few.
# Fails with the reason.
check_routine_layout() {
    local file=$1 case name x y w h faces
    for case in "start 22 214 54 18" "remind 84 214 44 18" "exit 374 214 54 18"; do
        read -r name x y w h <<<"$case"
        faces=$(count_pixels "$file" "$x" "$y" "$w" "$h" "r==g && g==b && r>=225 && r<=250")
        [ "$faces" -lt 20 ] || fail "the $name button is still there in the routine ($faces face pixels); see $file"
    done
    for case in "start 22 214 54 18" "remind 84 214 44 18"; do
        read -r name x y w h <<<"$case"
        [ "$(count_pixels "$file" "$x" "$y" "$w" "$h" "r==255 && g==255 && b==255")" -eq $((w * h)) ] ||
            fail "the $name button's place is not plain white body; see $file"
    done
}
