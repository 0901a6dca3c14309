#!/bin/bash
# A desktop of 8 bits per pixel: Glimmora3D.scr /s shows the colour-depth
# warning in the error box and ends when it is closed.
HARNESS_SCREEN_DEPTH=8
. "$(dirname "${BASH_SOURCE[0]}")/harness.sh"
harness_init
unmanaged_windows

install_saver "$HARNESS_TMP/saver"
check "the display has 8 bits per pixel" eval 'xdpyinfo | grep -q "depth of root window: *8 planes"'
win_start "$SCR" /s
check "the colour-depth warning shows in the error box" wait_window "Glimmora Screen Saver Error!" 90
send_keys Return
check "Enter closes it and the program ends" wait_exit 10
check "with exit code 0" test "$EXIT_CODE" = 0
finish
