#!/usr/bin/env bash
# A whole routine, in the build whose positions last 4 s: Start hides the buttons,
# six positions follow, each with its counter and a moving video in the panel, and
# then the window goes away by itself while the program keeps running.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
require_chime

POSITIONS=6 POSITION_MS=4000

start_program "$E2E_BIN"
pid=$PROGRAM_PID
wait_for_main_window "$pid"
wait_painted
routine_begin
# The layout check below means something only if the buttons were there before.
for case in "start 22 214 54 18" "remind 84 214 44 18" "exit 374 214 54 18"; do
    read -r name x y w h <<<"$case"
    n=$(count_pixels "$E2E_DIR/idle.png" "$x" "$y" "$w" "$h" "r==g && g==b && r>=225 && r<=250")
    [ "$n" -ge 200 ] || fail "no $name button face before the routine ($n pixels)"
done

t0=$(now_ms)
click_at "$START_X" "$START_Y"
note "clicked Start at ($START_X,$START_Y)"
# Six positions and then some: the limit only matters when the routine never ends.
routine_watch $((t0 + POSITIONS * POSITION_MS + 3 * E2E_TIMEOUT * 1000))
[ -n "$ROUTINE_END_MS" ] || fail "the window is still mapped $(($(now_ms) - t0)) ms after Start"
elapsed=$((ROUTINE_END_MS - t0))
note "window unmapped $elapsed ms after Start"

[ -n "$ROUTINE_LAYOUT" ] || fail "no routine position was ever seen on screen"
cp "$ROUTINE_LAYOUT" "$E2E_SHOTS/$E2E_NAME-layout.png"
check_routine_layout "$ROUTINE_LAYOUT"
ok "routine layout: Start, Remind and Exit are gone"

seen=$(routine_positions)
[ "$seen" -eq "$POSITIONS" ] ||
    fail "saw $seen positions (counter values ${ROUTINE_SIGS[*]}), expected $POSITIONS"
ok "$POSITIONS positions, each with its own counter"

moving=0 report=""
for sig in "${ROUTINE_SIGS[@]}"; do
    [ -n "${ROUTINE_MOVED[$sig]:-}" ] && moving=$((moving + 1))
    report+=" ${ROUTINE_MOVED[$sig]:-still}"
done
note "pixels changed within each position:$report"
# Every video moves, but a picture may rest for a moment: two positions prove playback.
[ "$moving" -ge 2 ] || fail "a moving picture in only $moving positions (changed pixels:$report)"
ok "the panel shows a moving picture ($moving of $POSITIONS positions caught moving)"

# Earlier than six positions would mean positions were skipped or cut short; later
# is only a slow machine.
[ "$elapsed" -ge $((POSITIONS * POSITION_MS - 500)) ] ||
    fail "the routine ended after $elapsed ms, before $POSITIONS positions of $POSITION_MS ms"
ok "the window went away after the sixth position"

screenshot "$E2E_NAME-end"
kill -0 "$pid" 2>/dev/null || fail "the program ended with the routine"
[ -z "$(visible_windows "$pid")" ] || fail "a 'Pause WELL' window is still mapped: $(visible_windows "$pid")"
poll "$E2E_TIMEOUT" not_in_client_list "$WIN" || fail "window $WIN still in _NET_CLIENT_LIST after the routine"
[ "$(pixel "$SHOT" $((MAIN_X + 440)) $((MAIN_Y + 100)))" != "255 255 255" ] ||
    fail "the corner still shows the white window body; see $SHOT"
ok "hidden after the routine (unmapped, off the task bar), program still running"

kill -TERM "$pid"
wait_exit "$pid"
[ "$EXIT_RC" -eq 0 ] || fail "SIGTERM after the routine ended it with code $EXIT_RC"
ok "SIGTERM ends it with code 0"
