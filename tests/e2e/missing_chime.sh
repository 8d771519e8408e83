#!/usr/bin/env bash
# Without Stretch/tada.wav the user is told which file is missing, in an error box
# that comes up before the window; once it is closed the window shows as usual.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

# A copy of the program whose media folder has everything but the chime.
app="$E2E_DIR/app"
mkdir -p "$app/Stretch"
cp "$E2E_BIN" "$app/pausewell"
media="$(dirname "$E2E_BIN")/Stretch"
if [ -d "$media" ]; then
    find "$media" -mindepth 1 -maxdepth 1 ! -name tada.wav -exec cp -r {} "$app/Stretch/" \;
fi
[ ! -e "$app/Stretch/tada.wav" ] || fail "could not set up a media folder without the chime"
note "copy without the chime in $app"

start_program "$app/pausewell"
pid=$PROGRAM_PID
# Watched from the launch on: the main window must not show before the box does.
_box_first() {
    [ -z "$(main_window "$pid")" ] || fail "the main window was mapped before the error box"
    DIALOG=$(dialog_window "$pid")
}
poll "$E2E_TIMEOUT" _box_first || fail "no error box within ${E2E_TIMEOUT}s"
box=$DIALOG
[ -z "$(main_window "$pid")" ] || fail "the main window is mapped while the error box is up"
ok "error box $box is up and the main window is not mapped"

title=$(window_title "$box")
[ "$title" = "Pause WELL" ] || fail "error box title is '$title'"
read -r bx by bw bh <<<"$(window_geometry "$box")"
[ "$bw $bh" != "$MAIN_W $MAIN_H" ] || fail "the dialog has the main window's size"
ok "error box titled 'Pause WELL', ${bw}x$bh at ($bx,$by)"

# The box may take a frame or two to be painted before it is worth a picture.
_box_painted() {
    screenshot missing-chime-box
    [ "$(count_pixels "$SHOT" "$bx" "$by" "$bw" "$bh" "r<80 && g<80 && b<80")" -gt 20 ]
}
poll "$E2E_TIMEOUT" _box_painted || fail "the error box shows no text; see $SHOT"
note "screenshot $SHOT"

# The box is modal and has the focus; Return presses its one button (OK).
xdotool windowactivate --sync "$box" >/dev/null 2>&1 || true
xdotool key Return || fail "xdotool could not press Return"
_box_gone() { [ -z "$(dialog_window "$pid")" ]; }
poll "$E2E_TIMEOUT" _box_gone || fail "the error box is still up after Return"
ok "Return closes the error box"

wait_for_main_window "$pid"
geometry=$(window_geometry "$WIN")
[ "$geometry" = "$MAIN_X $MAIN_Y $MAIN_W $MAIN_H" ] ||
    fail "window at '$geometry' after the error box, expected '$MAIN_X $MAIN_Y $MAIN_W $MAIN_H'"
ok "then the main window is mapped at ($MAIN_X,$MAIN_Y), ${MAIN_W}x$MAIN_H"
screenshot missing-chime-after
note "screenshot $SHOT"

kill -TERM "$pid"
wait_exit "$pid"
[ "$EXIT_RC" -eq 0 ] || fail "SIGTERM ended it with code $EXIT_RC"
ok "SIGTERM ends it with code 0"
