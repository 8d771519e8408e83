#!/usr/bin/env bash
# The hourly reminder, with the program's clocks running 120 times fast under
# faketime (the hour passes in 30 s): after Remind the window comes back by itself
# in the corner, a routine starts on its own, and the window goes away again when
# it ends.
#
# At 120x the reminder's 2 s pause before the routine is 17 ms, so the routine's
# video cuts the chime off before much of it reaches the sink: the sound is
# reported here, not required. Under faketime even the start-up chime does not
# always reach the sink (the sanitizer build's is lost), so it is reported too;
# the startup test checks it at the normal pace.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
require_chime
# The library the faketime command preloads, loaded here directly so that the
# pid we hold is the program's own (the command forks and waits).
FAKETIME_LIB=$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -n 1)
[ -n "$FAKETIME_LIB" ] || fail "libfaketime is not installed (Debian package faketime)"
# A sanitizer build wants its runtime first among the libraries; faketime's goes first.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"

SPEED=120 PERIOD_S=3600

record_start reminder
wait_recorded $((REC_BYTES_PER_S / 4))
LD_PRELOAD="$FAKETIME_LIB" FAKETIME="+0 x$SPEED" "$E2E_BIN" >"$E2E_DIR/program.log" 2>&1 &
pid=$!
E2E_PIDS+=("$pid")

# First, faketime must leave the window working: mapped in the corner, painted.
wait_for_main_window "$pid"
at_corner "$WIN" || fail "under faketime the window came up at '$(window_geometry "$WIN")'"
wait_painted
ok "under faketime x$SPEED: window in the corner, painted"

click_at "$REMIND_X" "$REMIND_Y"
poll "$E2E_TIMEOUT" is_unmapped "$WIN" || fail "Remind did not unmap the window"
t0=$(now_ms)
heard_since 0
note "sound up to Remind (the start-up chime): RMS/max $HEARD"
QUIET_AT=$(($(recorded_bytes) / 4 * 4))
ok "Remind unmapped the window"

# The hour, sped up, plus the usual margin.
limit=$((PERIOD_S / SPEED + E2E_TIMEOUT))
poll "$limit" is_mapped "$WIN" || fail "the window did not come back within ${limit}s of Remind"
note "window mapped again $(($(now_ms) - t0)) ms after Remind"
at_corner "$WIN" || fail "the reminder showed the window at '$(window_geometry "$WIN")'"
ok "the reminder brought the window back in the corner"

# The routine starts by itself: its layout (no buttons) on screen.
layout="$E2E_DIR/reminder-layout.png"
_routine_on_screen() {
    grab_window "$layout" && [ "$(pixel "$layout" 440 100)" = "255 255 255" ] &&
        [ "$(count_pixels "$layout" 22 214 54 18 "r==g && g==b && r>=225 && r<=250")" -eq 0 ]
}
poll "$E2E_TIMEOUT" _routine_on_screen || fail "no routine on screen after the reminder (window '$(map_state "$WIN")')"
cp "$layout" "$E2E_SHOTS/$E2E_NAME-routine.png"
check_routine_layout "$layout"
ok "a routine started by itself"

# Its positions pass 120 times fast too, but the media backend does not: allow a few minutes.
poll $((3 * E2E_TIMEOUT)) is_unmapped "$WIN" || fail "the window is still '$(map_state "$WIN")' after the routine"
ok "the window went away again when the routine ended ($(($(now_ms) - t0)) ms after Remind)"
note "sound after Remind: RMS/max $(sound_stats "$QUIET_AT") (not required, see the top)"
record_stop

kill -0 "$pid" 2>/dev/null || fail "the program ended"
kill -TERM "$pid"
wait_exit "$pid"
[ "$EXIT_RC" -eq 0 ] || fail "SIGTERM ended it with code $EXIT_RC"
ok "SIGTERM ends it with code 0"
