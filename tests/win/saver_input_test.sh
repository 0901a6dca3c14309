#!/bin/bash
# What ends a saver run, and what it leaves behind. Glimmora3D.scr /s with
# the log switched on by its tuning file: the first five mouse moves and a
# move along one axis do not end it, a 3 x 3 pixel move after them does; a
# key does; the process is gone within 2 s, the display is in its old mode,
# and the log holds the run's line, zero-padded to whole blocks. A colour
# size the display does not offer leaves the display as it was and the
# window over the whole screen.
. "$(dirname "${BASH_SOURCE[0]}")/harness.sh"
harness_init
unmanaged_windows

install_saver "$HARNESS_TMP/Glimmora Saver"
DIR=$SAVER_DIR
LOG="$DIR/Glimmora3D.log"
printf '[System]\r\nLog=1\r\n' >"$DIR/Glimmora3D.ini"
GEOMETRY_BEFORE=$(xdotool getdisplaygeometry)

not_black() { [ "$(pixel "$1" "$2" "$3")" != "0,0,0" ]; }
running() { kill -0 "$WIN_PID" 2>/dev/null; }
still_running_after() { sleep "$1"; running; }
# Lines of the log without its zero padding and line ends.
log_lines() { tr -d '\0' <"$LOG" | tr -d '\r'; }
run_line() { log_lines | grep -E '^Full Screen mode: [0-9]+X[0-9]+X[0-9]+  FPS:[0-9]+$' | tail -n 1; }
fps_above_zero() { [ "$(run_line | sed 's/.*FPS://')" -gt 0 ]; }
padded() { [ $(($(stat -c %s "$LOG") % 16384)) -eq 0 ] && [ "$(tail -c 1 "$LOG" | od -An -tx1 | tr -d ' ')" = 00 ]; }

# --- mouse moves --------------------------------------------------------------
move_mouse 500 400
win_start "$SCR" /s
check "the first frame appears" wait_frame 90
sleep 1
# Five moves of 40 pixels on both axes: each alone would end a run.
for I in 1 2 3 4 5; do
  move_mouse $((500 + 40 * I)) $((400 + 40 * I))
  sleep 0.3
done
check "the first five mouse moves do not end it" still_running_after 1.5
# Whichever of the next moves sets the reference point, none leaves it by
# more than 2 pixels on both axes: 10 pixels along one axis at a time.
LAST_X=$((500 + 40 * 5))
LAST_Y=$((400 + 40 * 5))
for P in "$((LAST_X + 10)) $LAST_Y" "$LAST_X $LAST_Y" "$LAST_X $((LAST_Y + 10))" "$LAST_X $LAST_Y"; do
  move_mouse $P
  sleep 0.3
done
check "moves of 10 pixels along one axis do not end it" still_running_after 1.5
move_mouse $((LAST_X + 3)) $((LAST_Y + 3))
check "a move of 3 x 3 pixels after them does, within 2 s" wait_exit 2
check "with exit code 0" test "$EXIT_CODE" = 0
check "the display is in its old mode" test "$(xdotool getdisplaygeometry)" = "$GEOMETRY_BEFORE"
check "the run's line is logged: $(run_line)" test -n "$(run_line)"
check "for the whole screen at 32 bits" test "$(run_line | sed 's/  FPS:.*//')" = "Full Screen mode: ${W}X${H}X32"
check "with a frame rate above 0" fps_above_zero
check "the OpenGL information is logged" grep -qa "OpenGL" "$LOG"
check "the log is zero-padded to whole blocks of 16384 bytes" padded

# --- a key --------------------------------------------------------------------
win_start "$SCR" /s
check "the next run's first frame appears" wait_frame 90
START=$(date +%s%N)
send_keys a
check "a key ends the run within 2 s" wait_exit 2
echo "  (gone after $((($(date +%s%N) - START) / 1000000)) ms)"
screenshot "$HARNESS_TMP/after.png"
check "and nothing of it is left on the screen" test "$(pixel "$HARNESS_TMP/after.png" $((W / 2)) $((H / 2)))" = "0,0,0"

# --- a mode the display does not offer ----------------------------------------
# Xvfb has one size only: 800 x 600 is not among the display's modes.
reg_set "$KEY" ColorDepth REG_DWORD 32
reg_set "$KEY" ScreenWidth REG_DWORD 800
reg_set "$KEY" ScreenHeight REG_DWORD 600
win_start "$SCR" /s
check "with 800 x 600 asked for, the first frame appears" wait_frame 90
screenshot "$HARNESS_TMP/refused.png"
check "the display keeps its mode" test "$(xdotool getdisplaygeometry)" = "$GEOMETRY_BEFORE"
for P in "2 2" "$((W - 3)) 2" "2 $((H - 3))" "$((W - 3)) $((H - 3))"; do
  check "the window still covers the screen's corner $P" not_black "$HARNESS_TMP/refused.png" $P
done
send_keys a
check "a key ends it" wait_exit 5
check "its line names the mode in force: $(run_line)" test "$(run_line | sed 's/  FPS:.*//')" = "Full Screen mode: ${W}X${H}X32"
finish
