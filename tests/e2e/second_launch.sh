#!/usr/bin/env bash
# One copy per user: a second launch hands over to the running copy and ends at
# once with code 0, showing nothing; the first window stays as it was.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
require_chime

start_program "$E2E_BIN" first
first=$PROGRAM_PID
wait_for_main_window "$first"
first_win=$WIN
before=$(window_geometry "$first_win")
note "first copy (pid $first) shows window $first_win at '$before'"

# Both launches see the same lock and socket only because they share XDG_RUNTIME_DIR.
[ -S "$XDG_RUNTIME_DIR/pausewell.activation" ] || fail "no activation socket in $XDG_RUNTIME_DIR"
[ -e "$XDG_RUNTIME_DIR/PauseWELL.lock" ] || fail "no instance lock in $XDG_RUNTIME_DIR"

# Watch the root for windows being created or mapped while the second copy runs;
# a marker property set on the root brackets the interval in the log.
xev_log="$E2E_DIR/xev.log"
stdbuf -oL xev -root -event substructure -event property >"$xev_log" 2>&1 &
E2E_PIDS+=($!)
xev_pid=$!
# Set again on every try: xev may not be listening yet the first time.
_marked() {
    grep -q "_PAUSEWELL_E2E_$1" "$xev_log" && return 0
    xprop -root -f "_PAUSEWELL_E2E_$1" 8s -set "_PAUSEWELL_E2E_$1" 1
    return 1
}
mark() { poll "$E2E_TIMEOUT" _marked "$1" || fail "xev did not see the marker $1"; }
mark BEFORE

t0=$(now_ms)
start_program "$E2E_BIN" second
second=$PROGRAM_PID
# A generous limit: the point is that it ends by itself, not how fast.
limit=$((E2E_TIMEOUT < 10 ? 10 : E2E_TIMEOUT))
poll "$limit" process_ended "$second" || fail "second launch still running after ${limit}s"
elapsed=$(($(now_ms) - t0))
wait "$second"
rc=$?
[ "$rc" -eq 0 ] || fail "second launch exited with code $rc: $(cat "$E2E_DIR/second.log")"
ok "second launch exited with code 0 after $elapsed ms"

mark AFTER
kill "$xev_pid" 2>/dev/null
created=$(sed -n '/_PAUSEWELL_E2E_BEFORE/,/_PAUSEWELL_E2E_AFTER/p' "$xev_log" |
    grep -cE '^(CreateNotify|MapNotify|MapRequest) event')
[ "$created" -eq 0 ] || fail "windows were created or mapped during the second launch: $(cat "$xev_log")"
ok "no window was created or mapped while the second copy ran (xev on the root)"

# Nothing new on screen: the only mapped "Pause WELL" window is still the first one.
visible=$(all_visible_windows | tr '\n' ' ')
[ "$visible" = "$first_win " ] || fail "mapped 'Pause WELL' windows: '$visible', expected only $first_win"
ok "no new window was mapped"

kill -0 "$first" 2>/dev/null || fail "the first copy ended"
is_mapped "$first_win" || fail "the first window is no longer mapped ($(map_state "$first_win"))"
after=$(window_geometry "$first_win")
[ "$after" = "$before" ] || fail "the first window moved or changed size: '$before' -> '$after'"
ok "first copy still running, its window mapped and unchanged at '$after'"

kill -TERM "$first"
wait_exit "$first"
[ "$EXIT_RC" -eq 0 ] || fail "SIGTERM ended the first copy with code $EXIT_RC"
ok "first copy ends with code 0 on SIGTERM"
