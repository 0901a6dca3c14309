#!/bin/bash
# One saver at a time: a second Glimmora3D.scr /s while one runs ends at
# once without a window, the .exe twin with /s runs beside it. With
# RunAsEXE = 1 the .scr (in a folder with a blank in its name) starts its
# twin with /s (with /c: the settings dialog) and waits for it. /p with a handle that is no number shows
# the conversion error.
. "$(dirname "${BASH_SOURCE[0]}")/harness.sh"
harness_init
unmanaged_windows

install_saver "$HARNESS_TMP/Glimmora Saver" exe
DIR=$SAVER_DIR
EXE="$DIR/Glimmora3D.exe"
render_windows() { xdotool search --onlyvisible --name '^Glimmora 3D$' 2>/dev/null | wc -l; }
wait_render_windows() {
  for _ in $(seq 1 $((${2:-60} * 10))); do
    [ "$(render_windows)" -ge "$1" ] && return 0
    sleep 0.1
  done
  return 1
}
alive() { kill -0 "$1" 2>/dev/null; }
gone_within() { wait_gone "$1" "$2"; }
exe_processes() { pgrep -fc 'Glimmora3D\.exe' || true; }
# A process that has ended for Windows may take a moment to leave Linux.
no_twin_within() {
  for _ in $(seq 1 $(($1 * 10))); do
    [ "$(exe_processes)" = 0 ] && return 0
    sleep 0.1
  done
  return 1
}

# --- a second instance ----------------------------------------------------------
win_start "$SCR" /s
check "the first .scr shows its window" wait_render_windows 1 90
win_spawn SECOND "$SCR" /s
check "a second .scr /s ends at once" gone_within "$SECOND" 20
check "without a window of its own" test "$(render_windows)" = 1
check "the first one still runs" alive "$WIN_PID"
win_spawn TWIN "$EXE" /s
check "the .exe /s runs beside it, with its own window" wait_render_windows 2 90
check "both run" eval 'alive "$WIN_PID" && alive "$TWIN"'
kill "$TWIN" 2>/dev/null
wait_gone "$TWIN" 10
send_keys space
wait_exit 10
# The window of a killed process may linger until the server notices.
WINEPREFIX=$WINEPREFIX /usr/lib/wine/wineserver -k 2>/dev/null
sleep 1

# --- run as program -----------------------------------------------------------
reg_set "$KEY" RunAsProgram REG_DWORD 1
win_start "$SCR" /s
check "RunAsEXE = 1: the twin's window appears" wait_render_windows 1 90
check "the .exe twin runs" test "$(exe_processes)" -ge 1
check "the .scr waits for it" alive "$WIN_PID"
send_keys space
check "when the twin ends, the .scr ends too" wait_exit 10
check "with exit code 0" test "$EXIT_CODE" = 0
check "no twin is left" no_twin_within 5
# The settings switch hands over the same way: the .exe /c shows the dialog.
win_start "$SCR" /c
check "RunAsEXE = 1, /c: the dialog appears" wait_window '^Glimmora 3D Screen Saver' 90
check "shown by the .exe twin" test "$(exe_processes)" -ge 1
check "while the .scr waits for it" alive "$WIN_PID"
send_keys Escape
check "Escape in the dialog ends the twin and the .scr" wait_exit 10
check "with exit code 0" test "$EXIT_CODE" = 0
check "no twin is left" no_twin_within 5
reg_set "$KEY" RunAsProgram REG_DWORD 0

# --- a handle that is no number -------------------------------------------------
win_start "$SCR" /p abc
check "/p abc shows the conversion error" wait_window '^Glimmora 3D$' 60
send_keys Return
check "Enter closes it and the program ends" wait_exit 10
check "with exit code 1" test "$EXIT_CODE" = 1
finish
