#!/usr/bin/env bash
# On start the window comes up borderless and on top in the bottom-right corner,
# looks like the design (frame, white body, title strip) and the chime is heard.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
require_chime

# A stretch of silence first: the null sink's own floor, to compare the chime against.
record_start startup
wait_recorded $((REC_BYTES_PER_S / 2))
quiet_bytes=$(($(recorded_bytes) / 4 * 4))
read -r quiet_rms quiet_max < <(sound_stats 0 "$quiet_bytes")
note "silence before start: RMS $quiet_rms, max $quiet_max"

t0=$(now_ms)
start_program "$E2E_BIN"
pid=$PROGRAM_PID
wait_for_main_window "$pid"
note "window $WIN mapped $(($(now_ms) - t0)) ms after launch"

geometry=$(window_geometry "$WIN")
[ "$geometry" = "$MAIN_X $MAIN_Y $MAIN_W $MAIN_H" ] ||
    fail "window at x y w h = '$geometry', expected '$MAIN_X $MAIN_Y $MAIN_W $MAIN_H'"
ok "mapped at ($MAIN_X,$MAIN_Y), ${MAIN_W}x$MAIN_H"

title=$(window_title "$WIN")
[ "$title" = "Pause WELL" ] || fail "title is '$title'"
ok "title 'Pause WELL'"

extents=$(xprop -id "$WIN" _NET_FRAME_EXTENTS 2>/dev/null)
motif=$(xprop -id "$WIN" _MOTIF_WM_HINTS 2>/dev/null)
# Motif hints: flags bit 1 (0x2) says the decorations field counts; 0 there means none.
if [[ "$extents" == *"= 0, 0, 0, 0" ]]; then
    ok "no decorations: $extents"
elif [[ "$motif" =~ =\ 0x([0-9a-f]+),\ 0x[0-9a-f]+,\ 0x0, ]] && ((0x${BASH_REMATCH[1]} & 2)); then
    ok "no decorations: $motif"
else
    fail "window has decorations: '$extents' / '$motif'"
fi

state=$(xprop -id "$WIN" _NET_WM_STATE 2>/dev/null)
[[ "$state" == *_NET_WM_STATE_ABOVE* ]] || fail "not kept above others: '$state'"
ok "stays on top: $state"

_listed() { in_client_list "$WIN"; }
poll "$E2E_TIMEOUT" _listed || fail "window $WIN not in _NET_CLIENT_LIST: $(xprop -root _NET_CLIENT_LIST)"
ok "in _NET_CLIENT_LIST (has a task-bar entry)"

# The first frames may still be unpainted: wait for the white body, then look closer.
win_png="$E2E_DIR/window.png"
_painted() {
    screenshot startup
    crop "$SHOT" "$MAIN_X" "$MAIN_Y" "$MAIN_W" "$MAIN_H" "$win_png"
    [ "$(pixel "$win_png" 440 100)" = "255 255 255" ]
}
poll "$E2E_TIMEOUT" _painted || fail "the window body never turned white (pixel: $(pixel "$win_png" 440 100)); see $SHOT"
note "screenshot $SHOT"

# name  x  y  expected: exact "R G B", or "light" for the title strip (pale, a bit
# bluish, not white). The frame's top side is covered by the strip, so it is not
# sampled between the corners.
pixel_cases=(
    "frame-top-left     1   1   104 104 104"
    "frame-top-right    447 1   104 104 104"
    "frame-left         1   125 104 104 104"
    "frame-right        447 125 104 104 104"
    "frame-bottom       224 248 104 104 104"
    "frame-bottom-right 447 248 104 104 104"
    "body-right         440 60  255 255 255"
    "body-middle-right  440 180 255 255 255"
    "body-left          10  190 255 255 255"
    "body-bottom        300 240 255 255 255"
    "between-buttons    80  222 255 255 255"
    "strip-top          224 3   light"
    "strip-middle       300 12  light"
    "strip-right        440 18  light"
)
for case in "${pixel_cases[@]}"; do
    read -r name x y expected <<<"$case"
    got=$(pixel "$win_png" "$x" "$y")
    if [ "$expected" = light ]; then
        read -r r _ b <<<"$got"
        ((r >= 150 && r < 250 && b >= r && b - r < 40)) || fail "$name ($x,$y) is '$got', expected the light title strip; see $SHOT"
    else
        [ "$got" = "$expected" ] || fail "$name ($x,$y) is '$got', expected '$expected'; see $SHOT"
    fi
done
ok "${#pixel_cases[@]} sampled pixels: grey frame, white body, light title strip"

# Regions that must hold something: name  x y w h  minimum  condition on r,g,b.
region_cases=(
    "heading-text       18  35  140 22  30  r<80 && g<80 && b<80"
    "grey-introduction  15  60  400 115 300 r>60 && r<200 && r-g<10 && g-r<10 && g-b<10 && b-g<10"
    "blue-web-address   150 212 150 22  30  b>150 && r<120 && g<120"
    "start-button-face  22  214 54  18  300 r==g && g==b && r>=225 && r<=250"
    "remind-button-face 84  214 44  18  200 r==g && g==b && r>=225 && r<=250"
    "exit-button-face   374 214 54  18  300 r==g && g==b && r>=225 && r<=250"
)
for case in "${region_cases[@]}"; do
    read -r name x y w h min cond <<<"$case"
    n=$(count_pixels "$win_png" "$x" "$y" "$w" "$h" "$cond")
    [ "$n" -ge "$min" ] || fail "$name: only $n pixels in ${w}x$h+$x+$y match '$cond' (want >= $min); see $SHOT"
done
ok "${#region_cases[@]} regions: dark heading, grey introduction, blue web address, three button faces"

# The chime: louder than the silence by far, and not just a click.
min_max=$(awk -v q="$quiet_max" 'BEGIN {v = q * 20; print (v > 0.02 ? v : 0.02)}')
min_rms=$(awk -v q="$quiet_rms" 'BEGIN {v = q * 20; print (v > 0.002 ? v : 0.002)}')
_chimed() {
    read -r rms max < <(sound_stats "$quiet_bytes")
    fcmp "$max >= $min_max && $rms >= $min_rms"
}
poll "$E2E_TIMEOUT" _chimed ||
    fail "no chime on nullsink.monitor: RMS $rms, max $max (want >= $min_rms, >= $min_max)"
# Let the rest of the chime in, so the figures describe the whole of it.
wait_recorded $((quiet_bytes + 2 * REC_BYTES_PER_S))
record_stop
read -r rms max < <(sound_stats "$quiet_bytes")
ok "chime heard: RMS $rms, max $max (silence: RMS $quiet_rms, max $quiet_max)"

kill -0 "$pid" 2>/dev/null || fail "the program ended by itself"
kill -TERM "$pid"
wait_exit "$pid"
[ "$EXIT_RC" -eq 0 ] || fail "SIGTERM ended it with code $EXIT_RC"
ok "SIGTERM ends it with code 0"
