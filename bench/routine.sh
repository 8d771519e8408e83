#!/usr/bin/env bash
# The routine's cost, measured from outside on a private headless display:
#
#   bench/routine.sh [--quick] [path/to/pausewell-fast]
#
# Per run, two launches of the fast build (4 s positions):
#   1. Remind at once; RSS/PSS once hidden (the figure before any routine).
#   2. Start: time from the click to the first video frame in the panel (ffmpeg
#      grabs the panel region at 50 frames/s, stamped with the wall clock); CPU
#      (utime+stime) over 3 s inside the second position and over the whole
#      routine; RSS/PSS once the routine has ended and the window is hidden.
# Prints each run and the medians. --quick: 2 runs, 2 s settle.
set -uo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
runs=5 settle=5
if [ "${1:-}" = --quick ]; then
    runs=2 settle=2
    shift
fi
bin=$(readlink -f "${1:-$repo/build/bin/pausewell-fast}")
[ -x "$bin" ] || {
    echo "routine.sh: no program at ${1:-$repo/build/bin/pausewell-fast}" >&2
    exit 1
}
[ -s "$(dirname "$bin")/Stretch/tada.wav" ] || {
    echo "routine.sh: the media is missing beside $bin (build the media first)" >&2
    exit 1
}

# shellcheck source=scripts/headless-session.sh
source "$repo/scripts/headless-session.sh"
start_headless_session || exit 1

pid= grabber=
finish() {
    local p
    for p in "$grabber" "$pid"; do
        [ -n "$p" ] && kill -0 "$p" 2>/dev/null && kill -TERM "$p" 2>/dev/null && wait "$p" 2>/dev/null
    done
    stop_headless_session
}
trap finish EXIT
trap 'exit 130' INT TERM

POSITION_MS=4000 POSITIONS=6
# The window's corner on the 1024x768 screen, the panel inside it, the buttons.
wx=555 wy=478
panel_x=$((wx + 221)) panel_y=$((wy + 41)) panel_w=201 panel_h=193
start_x=$((wx + 48)) start_y=$((wy + 222)) remind_x=$((wx + 105)) remind_y=$((wy + 222))

hz=$(getconf CLK_TCK)
now_ms() { echo $(($(date +%s%N) / 1000000)); }
die() {
    echo "routine.sh: run $run: $*" >&2
    exit 1
}
visible() { xdotool search --onlyvisible --pid "$1" --name '^Pause WELL$' 2>/dev/null | head -n 1; }
map_state() { xwininfo -id "$1" 2>/dev/null | awk '/Map State:/ {print $NF}'; }
memory() { awk '/^Rss:/ {r=$2} /^Pss:/ {p=$2} END {print r, p}' "/proc/$1/smaps_rollup"; }
cpu_ticks() { sed 's/^.*) //' "/proc/$1/stat" | awk '{print $12 + $13}'; }
median() { sort -n | awk '{v[NR] = $1} END {if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

# wait_until SECONDS COMMAND...: polls every 20 ms.
wait_until() {
    local deadline=$(($(now_ms) + $1 * 1000))
    shift
    until "$@"; do
        [ "$(now_ms)" -lt "$deadline" ] || return 1
        sleep 0.02
    done
}
unmapped() { [ "$(map_state "$win")" = IsUnMapped ]; }
found() {
    win=$(visible "$pid")
    [ -n "$win" ]
}

launch() {
    export XDG_RUNTIME_DIR="$HEADLESS_DIR/run$run-$1"
    mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
    "$bin" >"$HEADLESS_DIR/run$run-$1.log" 2>&1 &
    pid=$!
    wait_until 60 found || die "no window ($1): $(cat "$HEADLESS_DIR/run$run-$1.log")"
    sleep "$settle"
}

stop() {
    kill -TERM "$pid"
    wait "$pid"
    local rc=$?
    pid=
    [ "$rc" -eq 0 ] || die "SIGTERM ended it with code $rc"
}

results="$HEADLESS_DIR/results"
: >"$results"
echo "pausewell: $bin"
echo "runs: $runs, settle: ${settle}s, display $DISPLAY, $(nproc) cores"
printf '%-4s %9s %8s %9s %8s %9s %9s %9s %9s\n' run frame_ms grab_ms cpu_pos% cpu_all% \
    rss_hid pss_hid rss_aft pss_aft
for run in $(seq 1 "$runs"); do
    # 1. Hidden before any routine.
    launch remind
    xdotool mousemove --sync "$remind_x" "$remind_y" click 1
    wait_until 30 unmapped || die "Remind did not hide the window"
    sleep "$settle"
    read -r rss_before pss_before <<<"$(memory "$pid")"
    stop

    # 2. A routine.
    launch routine
    frames="$HEADLESS_DIR/run$run-frames.log"
    ffmpeg -hide_banner -nostats -loglevel info -f x11grab -framerate 50 \
        -video_size "${panel_w}x$panel_h" -i "$DISPLAY+$panel_x,$panel_y" -copyts \
        -vf showinfo -f null - >"$frames" 2>&1 &
    grabber=$!
    # Grabbing before the click: the last frame before it is the idle picture.
    wait_until 10 grep -q 'pts_time' "$frames" || die "ffmpeg grabbed nothing: $(tail -3 "$frames")"
    sleep 0.3
    xdotool mousemove --sync "$start_x" "$start_y"
    cpu_start=$(cpu_ticks "$pid")
    t0_us=$(($(date +%s%N) / 1000))
    xdotool click 1
    # Position 2 runs from 4 s to 8 s after the click: 3 s from its middle on.
    sleep 1.5
    kill -TERM "$grabber"
    wait "$grabber" 2>/dev/null
    grabber=
    now=$(now_ms)
    sleep "$(awk -v w=$((t0_us / 1000 + POSITION_MS + 500 - now)) 'BEGIN {print (w > 0 ? w / 1000 : 0)}')"
    c0=$(cpu_ticks "$pid")
    sleep 3
    c1=$(cpu_ticks "$pid")
    cpu_pos=$(awk -v t=$((c1 - c0)) -v hz="$hz" 'BEGIN {printf "%.1f", t * 100 / hz / 3}')
    wait_until 120 unmapped || die "the routine did not end"
    t_end_us=$(($(date +%s%N) / 1000))
    cpu_all=$(awk -v t=$(($(cpu_ticks "$pid") - cpu_start)) -v hz="$hz" -v us=$((t_end_us - t0_us)) \
        'BEGIN {printf "%.1f", t / hz * 100 / (us / 1e6)}')
    sleep "$settle"
    read -r rss_after pss_after <<<"$(memory "$pid")"
    stop

    # The first frame: after the click the panel turns plain white (stdev 0, the
    # routine's layout, no picture yet); the first grab after that with any detail
    # is the video. Without a white grab in between, the first change from idle.
    read -r frame_ms grab_ms < <(awk -v t0="$t0_us" '
        /pts_time/ {
            match($0, / pts:[0-9]+/); pts = substr($0, RSTART + 5, RLENGTH - 5) + 0
            match($0, /checksum:[0-9A-F]+/); sum = substr($0, RSTART + 9, RLENGTH - 9)
            match($0, /stdev:\[[0-9.]+/); sd = substr($0, RSTART + 7, RLENGTH - 7) + 0
            if (prev) { gaps += pts - prev; ngaps++ }
            prev = pts
            if (pts < t0) { idle = sum; next }
            if (sd == 0) { white = 1; next }
            if (!found && (white || sum != idle)) { found = pts }
        }
        END { printf "%d %d\n", found ? (found - t0) / 1000 : -1, ngaps ? gaps / ngaps / 1000 : -1 }' "$frames")
    [ "$frame_ms" -ge 0 ] || die "no video frame seen in the panel within 1.5 s of the click"

    printf '%-4s %9s %8s %9s %8s %9s %9s %9s %9s\n' "$run" "$frame_ms" "$grab_ms" "$cpu_pos" \
        "$cpu_all" "$rss_before" "$pss_before" "$rss_after" "$pss_after"
    echo "$frame_ms $cpu_pos $cpu_all $rss_before $pss_before $rss_after $pss_after" >>"$results"
done

col() { awk -v c="$1" '{print $c}' "$results" | median; }
mb() { awk -v k="$1" 'BEGIN {printf "%.1f", k / 1024}'; }
verdict() { awk -v v="$1" -v t="$2" 'BEGIN {print (v <= t ? "ok" : "OVER")}'; }
rss_b=$(col 4) rss_a=$(col 6)
echo
echo "medians over $runs runs:"
printf '  %-44s %8s ms  (target < 150: %s)\n' "click on Start to first video frame" "$(col 1)" "$(verdict "$(col 1)" 150)"
printf '  %-44s %8s %%   (target < 10: %s)\n' "CPU while a video plays (3 s, position 2)" "$(col 2)" "$(verdict "$(col 2)" 10)"
printf '  %-44s %8s %%\n' "CPU over the whole routine" "$(col 3)"
printf '  %-44s %8s MB\n' "RSS hidden, before any routine" "$(mb "$rss_b")"
printf '  %-44s %8s MB\n' "PSS hidden, before any routine" "$(mb "$(col 5)")"
printf '  %-44s %8s MB  (target <= before + 10: %s)\n' "RSS hidden, after a routine" "$(mb "$rss_a")" \
    "$(verdict "$rss_a" $((${rss_b%.*} + 10240)))"
printf '  %-44s %8s MB\n' "PSS hidden, after a routine" "$(mb "$(col 7)")"
echo "  (first frame: the click to the first panel grab with a picture; grabs come every grab_ms)"
