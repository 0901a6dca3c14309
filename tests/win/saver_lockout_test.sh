#!/bin/bash
# Nothing in the registry locks the user out. Run As EXE on without an
# .exe beside the .scr: /s draws the scene and /c opens the dialog in the
# .scr's own process, and the log says why. A value of the wrong type
# (Dollars as text): /s runs with the default, the log names the value, /c
# opens, and OK stores a number. Counts the dialog cannot show (1000000,
# -5) are shown, and stored by OK, as the saver uses them (100, 0).
. "$(dirname "${BASH_SOURCE[0]}")/harness.sh"
harness_init
unmanaged_windows

install_saver "$HARNESS_TMP/saver"
DIR=$SAVER_DIR
LOG="$DIR/Glimmora3D.log"
printf '[System]\r\nLog=1\r\n' >"$DIR/Glimmora3D.ini"
TITLE="Glimmora 3D Screen Saver"

logged() { grep -aq "$1" "$LOG"; }
value_type() { "$WINE" reg query "$KEY" /v "$1" 2>/dev/null | tr -d '\r' | awk -v v="$1" '$1 == v { print $2 }'; }
dword() { local V; V=$(reg_query "$KEY" "$1"); [ -n "$V" ] && echo $((V)); }
saver_runs() {
  win_start "$SCR" /s
  wait_frame 90 || return 1
  send_keys space
  wait_exit 10 && [ "$EXIT_CODE" = 0 ]
}

# --- Run As EXE without the twin ---------------------------------------------------
reg_set "$KEY" RunAsProgram REG_DWORD 1
check "Run As EXE, no twin: /s draws the scene here and ends with a key" saver_runs
check "the log says the twin could not be started" logged 'Run As EXE: cannot start ".*Glimmora3D.exe" /s; running in this process'
win_start "$SCR" /c
check "Run As EXE, no twin: /c opens the dialog" wait_window "$TITLE" 90
sleep 1
send_keys Escape
check "and Escape ends it" wait_exit 15
check "the log says so for /c too" logged 'Run As EXE: cannot start ".*Glimmora3D.exe" /c; running in this process'
"$WINE" reg delete "$KEY" /v RunAsProgram /f >/dev/null 2>&1

# --- a value of the wrong type ------------------------------------------------------
rm -f "$LOG"
reg_set "$KEY" Dollars REG_SZ 20
check "Dollars as text: /s runs" saver_runs
check "the log names the value ignored" logged "Invalid data type for 'Dollars': the value is ignored"
win_start "$SCR" /c
check "Dollars as text: /c opens the dialog" wait_window "$TITLE" 90
probe "$TITLE" >"$HARNESS_TMP/typed.txt"
check "it shows the default count" grep -q '^msctls_trackbar32|.*value 60$' "$HARNESS_TMP/typed.txt"
send_keys Return
check "OK ends the dialog" wait_exit 15
check "OK stored Dollars as a number" test "$(value_type Dollars)" = REG_DWORD
check "of the count shown" test "$(dword Dollars)" = 60

# --- counts the dialog cannot show ------------------------------------------------
reg_set "$KEY" Dollars REG_DWORD 1000000
reg_set "$KEY" Bubbles REG_DWORD 4294967291
win_start "$SCR" /c
check "counts out of range: the dialog opens" wait_window "$TITLE" 90
probe "$TITLE" >"$HARNESS_TMP/counts.txt"
check "no label shows 1000000" bash -c "! grep -q '^Static|1000000|' '$HARNESS_TMP/counts.txt'"
check "no label shows -5" bash -c "! grep -q '^Static|-5|' '$HARNESS_TMP/counts.txt'"
check "a bar at 100" grep -q '^msctls_trackbar32|.*value 100$' "$HARNESS_TMP/counts.txt"
check "a bar at 0" grep -q '^msctls_trackbar32|.*value 0$' "$HARNESS_TMP/counts.txt"
send_keys Return
check "OK ends the dialog" wait_exit 15
check "OK stored the dollars shown, 100" test "$(dword Dollars)" = 100
check "and the bubbles shown, 0" test "$(dword Bubbles)" = 0
finish
