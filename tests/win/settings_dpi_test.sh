#!/bin/bash
# The settings dialog at 200 % (192 DPI) on a screen large enough for it:
# the form, the preview panel, the render window inside it and the buttons
# twice their designed size, and the live preview running.
. "$(dirname "${BASH_SOURCE[0]}")/harness.sh"
HARNESS_SCREEN_SIZE=1600x1200
harness_init
unmanaged_windows

TITLE="Glimmora 3D Screen Saver"
reg_set 'HKCU\Control Panel\Desktop' LogPixels REG_DWORD 192
fps_shown() {
  for _ in $(seq 1 300); do
    xdotool search --onlyvisible --name "^$TITLE FPS: [1-9]" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}
win_start Glimmora3D.scr /c
check "at 192 DPI the dialog" wait_window "$TITLE" 90
check "with the live preview" fps_shown
probe "$TITLE" >"$HARNESS_TMP/dialog192.txt"
check "client area 1022 x 726" test "$(client_of "$HARNESS_TMP/dialog192.txt")" = 1022x726
check "preview panel 640 x 480" test "$(size_of "$HARNESS_TMP/dialog192.txt" GlimmoraPreviewPanel)" = 640x480
check "the render window inside it 632 x 472" test "$(size_of "$HARNESS_TMP/dialog192.txt" GlimmoraChildForm)" = 632x472
check "buttons 150 x 50" test "$(size_of "$HARNESS_TMP/dialog192.txt" 'Button|OK|')" = 150x50
check "track bars 290 x 42" test "$(size_of "$HARNESS_TMP/dialog192.txt" msctls_trackbar32)" = 290x42
send_keys Escape
check "Escape ends it" wait_exit 15
finish
