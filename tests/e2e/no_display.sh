#!/usr/bin/env bash
# With nowhere to show the window the program says so on stderr and exits 1,
# without crashing (a signal would give a code above 128, and maybe a core file).
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

# name  environment changes (env arguments)
cases=(
    "no-display-set       -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM"
    "display-unreachable  -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:987"
)
for case in "${cases[@]}"; do
    read -r name changes <<<"$case"
    # Each case its own folder: the program runs there, so a core file would land there.
    dir="$E2E_DIR/$name"
    mkdir -p "$dir"
    # shellcheck disable=SC2086 # the changes are separate env arguments
    (cd "$dir" && exec timeout -s KILL "$E2E_TIMEOUT" env $changes "$E2E_BIN" >"$dir/out" 2>"$dir/err")
    rc=$?
    [ "$rc" -ne 137 ] || fail "$name: still running after ${E2E_TIMEOUT}s"
    [ "$rc" -le 128 ] || fail "$name: killed by signal $((rc - 128)); stderr: $(cat "$dir/err")"
    [ "$rc" -eq 1 ] || fail "$name: exit code $rc, expected 1; stderr: $(cat "$dir/err")"
    # Qt may warn first (an unreachable display); our own line must be there.
    message=$(grep -m 1 '^pausewell: cannot start' "$dir/err")
    [ -n "$message" ] || fail "$name: no 'pausewell: cannot start' line on stderr: $(cat "$dir/err")"
    ! compgen -G "$dir/core*" >/dev/null || fail "$name: left a core file"
    ok "$name: exit code 1, stderr '$message'"
done
