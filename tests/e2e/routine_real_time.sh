#!/usr/bin/env bash
# The routine at its real pace (six positions of 28 s): still on screen with a
# moving picture a minute in, gone by itself after the sixth position. Slow: only
# the normal build runs it.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
require_chime

POSITIONS=6 POSITION_MS=28000 CHECKPOINT_MS=60000
# One sample a second is plenty for 28 s positions and leaves the cores to the program.
INTERVAL=1

start_program "$E2E_BIN"
pid=$PROGRAM_PID
wait_for_main_window "$pid"
wait_painted
routine_begin

t0=$(now_ms)
click_at "$START_X" "$START_Y"
note "clicked Start at ($START_X,$START_Y)"

routine_watch $((t0 + CHECKPOINT_MS)) "$INTERVAL"
[ -z "$ROUTINE_END_MS" ] || fail "the window went away $((ROUTINE_END_MS - t0)) ms after Start, before a minute"
is_mapped "$WIN" || fail "the window is '$(map_state "$WIN")' a minute after Start"
[ -n "$ROUTINE_LAYOUT" ] || fail "no routine position was ever seen on screen"
check_routine_layout "$ROUTINE_LAYOUT"
# A minute in, the first position (28 s) is over.
[ "$(routine_positions)" -ge 2 ] || fail "still at the first position a minute after Start"
# The picture right now moves: two grabs of the panel a moment apart differ.
now_panel="$E2E_DIR/now.png" then_panel="$E2E_DIR/then.png"
grab $((MAIN_X + PANEL_WX)) $((MAIN_Y + PANEL_WY)) "$PANEL_W" "$PANEL_H" "$then_panel"
_panel_moves() {
    grab $((MAIN_X + PANEL_WX)) $((MAIN_Y + PANEL_WY)) "$PANEL_W" "$PANEL_H" "$now_panel" &&
        [ "$(colours "$now_panel")" -ge "$PICTURE_MIN_COLOURS" ] &&
        [ "$(changed_pixels "$then_panel" "$now_panel")" -ge "$MOVED_MIN_PIXELS" ]
}
poll "$E2E_TIMEOUT" _panel_moves ||
    fail "the panel holds no moving picture a minute in ($(colours "$now_panel") colours)"
screenshot "$E2E_NAME-minute"
ok "a minute after Start: still mapped, past the first position, the video moves"

routine_watch $((t0 + POSITIONS * POSITION_MS + 60000)) "$INTERVAL"
[ -n "$ROUTINE_END_MS" ] || fail "the window is still mapped $(($(now_ms) - t0)) ms after Start"
elapsed=$((ROUTINE_END_MS - t0))
note "window unmapped $elapsed ms after Start"
[ "$elapsed" -ge $((POSITIONS * POSITION_MS - 1000)) ] ||
    fail "the routine ended after $elapsed ms, before $POSITIONS positions of $POSITION_MS ms"
seen=$(routine_positions)
[ "$seen" -eq "$POSITIONS" ] || fail "saw $seen positions, expected $POSITIONS"
ok "$POSITIONS positions, then the window went away by itself"

kill -0 "$pid" 2>/dev/null || fail "the program ended with the routine"
poll "$E2E_TIMEOUT" not_in_client_list "$WIN" || fail "window $WIN still in _NET_CLIENT_LIST after the routine"
kill -TERM "$pid"
wait_exit "$pid"
[ "$EXIT_RC" -eq 0 ] || fail "SIGTERM after the routine ended it with code $EXIT_RC"
ok "still running while hidden; SIGTERM ends it with code 0"
