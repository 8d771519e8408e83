#!/usr/bin/env bash
# Start-up time, memory and idle cost of pausewell on a private headless display.
#
#   bench/startup.sh [--quick] [path/to/pausewell]
#
# Per run: time from exec to the window being mapped; RSS and PSS 5 s after the
# window shows and 5 s after Remind hid it; CPU time and context switches over
# 60 s while hidden. Prints each run and the medians. --quick: 3 runs, 2 s settle,
# 10 s hidden, for trying it out.
set -uo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
runs=10 settle=5 hidden=60
if [ "${1:-}" = --quick ]; then
    runs=3 settle=2 hidden=10
    shift
fi
bin=$(readlink -f "${1:-$repo/build/bin/pausewell}")
[ -x "$bin" ] || {
    echo "startup.sh: no program at ${1:-$repo/build/bin/pausewell}" >&2
    exit 1
}
[ -s "$(dirname "$bin")/Stretch/tada.wav" ] || {
    echo "startup.sh: $(dirname "$bin")/Stretch/tada.wav is missing (build the media first)" >&2
    exit 1
}

# Our own display and sound server, so nothing else on the machine is measured with it.
# shellcheck source=scripts/headless-session.sh
source "$repo/scripts/headless-session.sh"
start_headless_session || exit 1

pid=
finish() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill -TERM "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    fi
    stop_headless_session
}
trap finish EXIT
trap 'exit 130' INT TERM

hz=$(getconf CLK_TCK)
now_ns() { date +%s%N; }

visible() { xdotool search --onlyvisible --pid "$1" --name '^Pause WELL$' 2>/dev/null | head -n 1; }

# "RSS PSS" in kB.
memory() { awk '/^Rss:/ {r=$2} /^Pss:/ {p=$2} END {print r, p}' "/proc/$1/smaps_rollup"; }

# utime+stime of all threads, in clock ticks (the fields after the command name).
cpu_ticks() { sed 's/^.*) //' "/proc/$1/stat" | awk '{print $12 + $13}'; }

# Voluntary + involuntary context switches: the main thread (/proc/PID/status) and
# all threads alive now (task/*/status).
switches_main() { awk '/ctxt_switches:/ {n += $2} END {print n}' "/proc/$1/status"; }
switches_all() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '/ctxt_switches:/ {n += $2} END {print n}'; }

median() { sort -n | awk '{v[NR] = $1} END {if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

fail_run() {
    echo "startup.sh: run $1: $2" >&2
    exit 1
}

results="$HEADLESS_DIR/results"
: >"$results"
echo "pausewell: $bin"
echo "runs: $runs, settle: ${settle}s, hidden period: ${hidden}s, display $DISPLAY"
printf '%-4s %9s %9s %9s %9s %9s %8s %9s %9s\n' run map_ms rss_kB pss_kB \
    rss_hid pss_hid cpu_ms ctx_main ctx_all
for run in $(seq 1 "$runs"); do
    # A fresh runtime folder: no lock or socket left from the previous run.
    export XDG_RUNTIME_DIR="$HEADLESS_DIR/run$run"
    mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

    t0=$(now_ns)
    "$bin" >"$HEADLESS_DIR/run$run.log" 2>&1 &
    pid=$!
    win=
    deadline=$((t0 + 60000000000))
    while [ -z "$win" ]; do
        win=$(visible "$pid")
        [ -n "$win" ] && break
        kill -0 "$pid" 2>/dev/null || fail_run "$run" "the program ended: $(cat "$HEADLESS_DIR/run$run.log")"
        [ "$(now_ns)" -lt "$deadline" ] || fail_run "$run" "no window after 60 s"
        sleep 0.005
    done
    map_ms=$((($(now_ns) - t0) / 1000000))

    sleep "$settle"
    read -r rss pss <<<"$(memory "$pid")"

    # Remind, clicked at the middle of the button, as a user would.
    read -r wx wy <<<"$(xwininfo -id "$win" | awk '/Absolute upper-left X:/ {x=$NF} /Absolute upper-left Y:/ {y=$NF} END {print x, y}')"
    xdotool mousemove --sync $((wx + 105)) $((wy + 222)) click 1
    deadline=$(($(now_ns) + 30000000000))
    until [ "$(xwininfo -id "$win" 2>/dev/null | awk '/Map State:/ {print $NF}')" = IsUnMapped ]; do
        [ "$(now_ns)" -lt "$deadline" ] || fail_run "$run" "Remind did not hide the window"
        sleep 0.05
    done

    sleep "$settle"
    read -r rss_hidden pss_hidden <<<"$(memory "$pid")"

    cpu0=$(cpu_ticks "$pid") main0=$(switches_main "$pid") all0=$(switches_all "$pid")
    sleep "$hidden"
    cpu1=$(cpu_ticks "$pid") main1=$(switches_main "$pid") all1=$(switches_all "$pid")
    cpu_ms=$(((cpu1 - cpu0) * 1000 / hz))
    ctx_main=$((main1 - main0)) ctx_all=$((all1 - all0))

    kill -TERM "$pid"
    wait "$pid"
    rc=$?
    pid=
    [ "$rc" -eq 0 ] || fail_run "$run" "SIGTERM ended it with code $rc"

    printf '%-4s %9s %9s %9s %9s %9s %8s %9s %9s\n' "$run" "$map_ms" "$rss" "$pss" \
        "$rss_hidden" "$pss_hidden" "$cpu_ms" "$ctx_main" "$ctx_all"
    echo "$map_ms $rss $pss $rss_hidden $pss_hidden $cpu_ms $ctx_main $ctx_all" >>"$results"
done

col() { awk -v c="$1" '{print $c}' "$results" | median; }
# median  value  target (empty: none)  unit
report() {
    local verdict=""
    if [ -n "$3" ]; then
        verdict=$(awk -v v="$2" -v t="$3" 'BEGIN {print (v < t ? "ok" : "OVER")}')
        verdict="(target < $3${4:+ $4}: $verdict)"
    fi
    printf '  %-40s %10s %-3s %s\n' "$1" "$2" "$4" "$verdict"
}
scale=$(awk -v h="$hidden" 'BEGIN {print 60 / h}')
per60() { awk -v v="$1" -v s="$scale" 'BEGIN {printf "%.0f", v * s}'; }
echo
echo "medians over $runs runs:"
report "exec to window mapped" "$(col 1)" 300 ms
mb() { awk -v k="$1" 'BEGIN {printf "%.1f", k / 1024}'; }
report "RSS, shown (${settle}s after mapping)" "$(mb "$(col 2)")" "" MB
report "PSS, shown" "$(mb "$(col 3)")" "" MB
report "RSS, hidden (${settle}s after Remind)" "$(mb "$(col 4)")" "" MB
report "PSS, hidden" "$(mb "$(col 5)")" 60 MB
report "CPU while hidden, per 60 s" "$(per60 "$(col 6)")" 20 ms
report "context switches hidden, main thread/60s" "$(per60 "$(col 7)")" 100 ""
report "context switches hidden, all threads/60s" "$(per60 "$(col 8)")" 100 ""
[ "$hidden" -eq 60 ] || echo "  (the hidden period was ${hidden}s; its figures are scaled to 60 s)"
