#!/bin/bash
# Glimmora3D.scr /p HWND as the Display Properties window starts it: a
# child window of the host's covering its client area, taking no input,
# using no CPU to speak of, and gone when the host's window goes (while the
# host process lives on). A handle that is no number shows the conversion
# error; one that names no window ends the run quietly. The still picture
# itself is looked at through the same preview run inside one process
# (Wine shows a child's drawing only when one process owns both windows).
. "$(dirname "${BASH_SOURCE[0]}")/harness.sh"
harness_init
unmanaged_windows

value() { sed -n "s/^$1: //p" "$2" | tr -d '\r'; }
wait_line() {
  local FILE=$1 PATTERN=$2
  for _ in $(seq 1 300); do
    grep -q "$PATTERN" "$FILE" 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}
has_style() { [ $((0x$1 & $2)) -ne 0 ]; }

# --- the preview in another process's window ---------------------------------
REPORT=$HARNESS_TMP/host.txt
win_spawn HOST PreviewHost.exe "Z:$REPORT"
check "the host window is up" wait_line "$REPORT" ready
HWND=$(value hwnd "$REPORT")
read -r _ _ CW CH <<<"$(value client "$REPORT")"
win_start Glimmora3D.scr /p "$HWND"
check "a child window of another process appears in the host" wait_line "$REPORT.children" " 1$"
read -r CLASS CX CY CWW CHH STYLE OTHER <<<"$(value child "$REPORT.children" | head -n 1)"
check "it is the saver's form" test "$CLASS" = GlimmoraChildForm
check "it covers the host's client area" test "$CX $CY $CWW $CHH" = "0 0 $CW $CH"
check "it is a visible child" has_style "$STYLE" $((0x50000000))
check "it takes no input (disabled)" has_style "$STYLE" $((0x08000000))
sleep 1
T0=$(cpu_ticks "$WIN_PID")
sleep 5
T1=$(cpu_ticks "$WIN_PID")
TICKS=$(getconf CLK_TCK)
echo "preview CPU time over 5 s: $((T1 - T0)) ticks of $TICKS a second"
check "the preview uses at most 2 % of a core over 5 s" test $(((T1 - T0) * 100)) -le $((TICKS * 5 * 2))
HOST_WINDOW=$(xdotool search --name "Glimmora Preview Host" | head -n 1)
xdotool windowfocus --sync "$HOST_WINDOW" 2>/dev/null
send_keys q
check "the preview ends within 2 s of its host window" wait_exit 2
check "with exit code 0" test "$EXIT_CODE" = 0
check "while the host process still runs" kill -0 "$HOST"
wait_gone "$HOST" 10

# --- handles that name nothing -----------------------------------------------
win_start Glimmora3D.scr /p abc
check "a handle that is no number shows the conversion error" wait_window "Glimmora 3D" 60
send_keys Return
check "and the program ends after it" wait_exit 10
check "with exit code 1" test "$EXIT_CODE" = 1
win_start Glimmora3D.scr /p 3735928559
check "a handle that names no window ends the run" wait_exit 20
check "quietly (exit code 0)" test "$EXIT_CODE" = 0

# --- the still picture ---------------------------------------------------------
PICTURE=$HARNESS_TMP/picture.txt
win_start PreviewPictureProbe.exe "Z:$PICTURE"
check "the picture host is up" wait_line "$PICTURE" ready
read -r PX PY PW PH <<<"$(value client "$PICTURE")"
sleep 2
screenshot "$HARNESS_TMP/picture.png"
convert "$HARNESS_TMP/picture.png" -crop "${PW}x${PH}+$PX+$PY" +repage "$HARNESS_TMP/shown.png"
convert "$GLIMMORA_SOURCE/resources/Background.bmp" -resize "${PW}x${PH}!" "$HARNESS_TMP/expected.png"
ERROR=$(compare -metric RMSE "$HARNESS_TMP/shown.png" "$HARNESS_TMP/expected.png" null: 2>&1 | sed 's/.*(\(.*\))/\1/')
echo "picture against the stretched bitmap: normalised RMSE $ERROR"
check "the host's client area shows the stretched background picture" awk -v e="$ERROR" 'BEGIN { exit !(e < 0.08) }'
check "with nothing of the host's colour left" test "$(convert "$HARNESS_TMP/shown.png" -fill black +opaque '#ff00ff' -fill white -opaque '#ff00ff' -format '%[fx:int(mean*w*h)]' info:)" = 0
send_keys q
check "the probe's preview ends with its window" wait_exit 10
check "with exit code 0" test "$EXIT_CODE" = 0
finish
