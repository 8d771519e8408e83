#!/usr/bin/env bash
# The buttons, clicked with the mouse like a user would: Remind hides the window
# (no task-bar entry) and the program keeps running; Exit ends it with code 0.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
require_chime

# Button centres on the screen (window corner + panel offset + the button's middle).
REMIND_X=$((MAIN_X + 105)) REMIND_Y=$((MAIN_Y + 222))
EXIT_X=$((MAIN_X + 400)) EXIT_Y=$((MAIN_Y + 222))

# -- Remind
start_program "$E2E_BIN" remind
pid=$PROGRAM_PID
wait_for_main_window "$pid"
poll "$E2E_TIMEOUT" in_client_list "$WIN" || fail "window $WIN never reached _NET_CLIENT_LIST"
click_at "$REMIND_X" "$REMIND_Y"
note "clicked Remind at ($REMIND_X,$REMIND_Y)"
poll "$E2E_TIMEOUT" is_unmapped "$WIN" || fail "window still '$(map_state "$WIN")' after Remind"
ok "Remind unmaps the window"
poll "$E2E_TIMEOUT" not_in_client_list "$WIN" || fail "window $WIN still in _NET_CLIENT_LIST after Remind"
ok "Remind removes it from _NET_CLIENT_LIST"
[ -z "$(visible_windows "$pid")" ] || fail "a 'Pause WELL' window is still mapped: $(visible_windows "$pid")"

# Hidden, the program must stay: give a wrongly quitting event loop a moment to
# show itself (nothing is awaited here, so this cannot make the test flaky).
sleep 1
kill -0 "$pid" 2>/dev/null || fail "the program ended after Remind"
[ -n "$(map_state "$WIN")" ] || fail "window $WIN was destroyed after Remind"
ok "still running while hidden (window kept, unmapped)"

kill -TERM "$pid"
wait_exit "$pid"
[ "$EXIT_RC" -eq 0 ] || fail "SIGTERM while hidden ended it with code $EXIT_RC"
ok "SIGTERM while hidden ends it with code 0"

# -- Exit
start_program "$E2E_BIN" exit
pid=$PROGRAM_PID
wait_for_main_window "$pid"
click_at "$EXIT_X" "$EXIT_Y"
note "clicked Exit at ($EXIT_X,$EXIT_Y)"
wait_exit "$pid"
[ "$EXIT_RC" -eq 0 ] || fail "Exit ended it with code $EXIT_RC"
ok "Exit ends the program with code 0"
