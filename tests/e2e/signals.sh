#!/usr/bin/env bash
# Each termination signal the desktop or a shell sends ends the program cleanly
# with code 0 (not by the signal's default action, which a shell reports as 128+n).
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
require_chime

for sig in TERM INT HUP; do
    start_program "$E2E_BIN" "sig$sig"
    pid=$PROGRAM_PID
    wait_for_main_window "$pid"
    kill -"$sig" "$pid"
    wait_exit "$pid"
    [ "$EXIT_RC" -eq 0 ] || fail "SIG$sig ended it with code $EXIT_RC"
    ok "SIG$sig while shown: exit code 0"
done
