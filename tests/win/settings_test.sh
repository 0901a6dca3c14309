#!/bin/bash
# The settings dialog as Windows starts it (Glimmora3D.scr /c) and as the
# .exe twin shows it with no argument: the controls, the frame rate in the
# caption within 2 s, Escape (nothing written), a track bar moved by keys
# then OK (every value written), the next start showing what was stored,
# "Preview..." full screen and back to the live preview, "Help..." without
# a help file (our own help), "About..." (the version), Cancel; and the
# dialog 1.5 times as large at 144 DPI.
. "$(dirname "${BASH_SOURCE[0]}")/harness.sh"
harness_init
unmanaged_windows

install_saver "$HARNESS_TMP/saver" exe
DIR=$SAVER_DIR
TITLE="Glimmora 3D Screen Saver"
BACKGROUND="91,203,223"

caption() { xdotool search --onlyvisible --name "^$TITLE" getwindowname 2>/dev/null | head -n 1; }
# Waits for the frame rate in the caption; prints how long it took, in
# tenths of a second.
wait_fps_caption() {
  local SECS=${1:-30} N=0
  while [ $N -lt $((SECS * 10)) ]; do
    if [[ "$(caption)" =~ FPS:\ [1-9][0-9]*$ ]]; then
      echo "$N"
      return 0
    fi
    sleep 0.1
    N=$((N + 1))
  done
  return 1
}
# No value under the options key (the key itself may exist: every start
# reads its program options through it).
no_values() { ! "$WINE" reg query "$KEY" 2>/dev/null | grep -q 'REG_'; }
fps_shown() { wait_fps_caption "$@" >/dev/null; }
dword() { local V; V=$(reg_query "$KEY" "$1"); [ -n "$V" ] && echo $((V)); }
# The scene fills the screen: neither black nor the dialog's colour in the
# middle, and more than a handful of colours.
scene_fills_screen() {
  local SHOT=$HARNESS_TMP/full.png
  for _ in $(seq 1 120); do
    screenshot "$SHOT"
    local P
    P=$(pixel "$SHOT" $((W / 2)) $((H / 2)))
    if [ "$P" != "0,0,0" ] && [ "$P" != "$BACKGROUND" ] &&
      [ "$(convert "$SHOT" -format %k info:)" -gt 50 ]; then
      return 0
    fi
    sleep 0.25
  done
  return 1
}
wait_probe() {
  local TITLE=$1 OUT=$2
  for _ in $(seq 1 100); do
    probe "$TITLE" >"$OUT" && [ -s "$OUT" ] && return 0
    sleep 0.2
  done
  return 1
}

# --- /c: the dialog, its frame rate, Escape writes nothing --------------------
win_start "$SCR" /c
check "/c shows the settings dialog" wait_window "$TITLE" 90
TENTHS=$(wait_fps_caption 30)
echo "frame rate in the caption after ${TENTHS:-?} tenths of a second: $(caption)"
check "the caption shows the frame rate within 2 s" test "${TENTHS:-99}" -le 20
probe "$TITLE" >"$HARNESS_TMP/dialog.txt"
screenshot "$HARNESS_TMP/dialog.png"
for C in 'Button|Preview...|' 'Button|About...|' 'Button|Help...|' 'Button|OK|' 'Button|Cancel|' \
  'Button|Default|' 'Button|Desktop Only|' 'Button|Run As EXE|' 'Button|Enable Sound|.*value 1$' \
  'Button|Video Modes|' 'Button|Dollar Count|' 'Button|Bubble Count|' 'Button|Themes|' 'Button|Sound|' \
  'ComboBox|32 bits|' 'ComboBox|1024x768|' 'ComboBox|Immersion|.*value 1/4$' \
  'msctls_trackbar32|.*value 60$' 'msctls_trackbar32|.*value 100$' 'Static|60|' \
  'GlimmoraPreviewPanel|' 'GlimmoraChildForm|.*enabled 0|visible 1'; do
  check "the dialog has $C" grep -q "^$C" "$HARNESS_TMP/dialog.txt"
done
P=($(rect_of "$HARNESS_TMP/dialog.txt" GlimmoraPreviewPanel))
check "the dialog's colour beside the preview" \
  test "$(pixel "$HARNESS_TMP/dialog.png" $((P[0] - 4)) $((P[1] + 100)))" = "$BACKGROUND"
check "the render window fills the panel but its border" \
  test "$(size_of "$HARNESS_TMP/dialog.txt" GlimmoraChildForm)" = 316x236
send_keys Escape
check "Escape ends the dialog" wait_exit 15
check "with exit code 0" test "$EXIT_CODE" = 0
"$WINE" reg query "$KEY" 2>/dev/null | tr -d '\r'
check "and writes nothing to the registry" no_values

# --- a track bar moved by keys, then OK ---------------------------------------
win_start "$SCR" /c
check "the dialog again" wait_window "$TITLE" 90
fps_shown 30
# The focus starts on OK; eight Tabs reach the dollar track bar.
send_keys Tab Tab Tab Tab Tab Tab Tab Tab Left Left Left
sleep 0.5
probe "$TITLE" >"$HARNESS_TMP/moved.txt"
check "three Lefts put the dollar bar at 57" grep -q '^msctls_trackbar32|.*value 57$' "$HARNESS_TMP/moved.txt"
check "and its label says 57" grep -q '^Static|57|' "$HARNESS_TMP/moved.txt"
check "a click on OK" click_on "$HARNESS_TMP/moved.txt" 'Button|OK|'
check "OK ends the dialog" wait_exit 15
check "with exit code 0" test "$EXIT_CODE" = 0
check "the dollar count reached the registry" test "$(dword Dollars)" = 57
for V in Bubbles:100 Theme:0 ColorDepth:32 ScreenWidth:1024 ScreenHeight:768 Sound:1 DesktopOnly:0 RunAsProgram:0; do
  check "OK wrote ${V%%:*} = ${V#*:}" test "$(dword "${V%%:*}")" = "${V#*:}"
done

# --- the stored values, Preview..., Help..., About..., Cancel -----------------
win_start "$SCR" /c
check "the dialog a third time" wait_window "$TITLE" 90
fps_shown 30
probe "$TITLE" >"$HARNESS_TMP/stored.txt"
check "it shows the stored dollar count" grep -q '^msctls_trackbar32|.*value 57$' "$HARNESS_TMP/stored.txt"

check "a click on Preview..." click_on "$HARNESS_TMP/stored.txt" 'Button|Preview...|'
check "Preview... fills the screen with the scene" scene_fills_screen
screenshot "$HARNESS_TMP/preview-full.png"
send_keys space
check "a key brings the dialog back" wait_window "$TITLE" 20
check "with the live preview running" fps_shown 30
probe "$TITLE" >"$HARNESS_TMP/back.txt"
check "a render window in the panel again" grep -q '^GlimmoraChildForm|.*visible 1' "$HARNESS_TMP/back.txt"
check "the process goes on" kill -0 "$WIN_PID"

check "a click on Help..." click_on "$HARNESS_TMP/back.txt" 'Button|Help...|'
check "without a help file, our own help" wait_window "Glimmora 3D Help" 20
probe "Glimmora 3D Help" >"$HARNESS_TMP/help.txt"
check "it explains Run As EXE" grep -q 'Run As EXE' "$HARNESS_TMP/help.txt"
check "and hardware acceleration" grep -qi 'acceleration' "$HARNESS_TMP/help.txt"
send_keys Escape
sleep 0.5
check "Escape closes the help" test -z "$(xdotool search --onlyvisible --name '^Glimmora 3D Help' 2>/dev/null)"

check "a click on About..." click_on "$HARNESS_TMP/back.txt" 'Button|About...|'
check "the about box" wait_probe "About Glimmora 3D Screen Saver" "$HARNESS_TMP/about.txt"
screenshot "$HARNESS_TMP/about.png"
check "it shows the version" grep -qF "Static|Version $HARNESS_VERSION|" "$HARNESS_TMP/about.txt"
check "and the OpenGL summary" grep -q '^Static|Vendor: ' "$HARNESS_TMP/about.txt"
O=($(rect_of "$HARNESS_TMP/about.txt" 'Button|OK|'))
check "its OK button is drawn, not covered by the text above it" \
  test "$(pixel "$HARNESS_TMP/about.png" $(((O[0] + O[2]) / 2 - 20)) $(((O[1] + O[3]) / 2)))" != "$BACKGROUND"
send_keys Return
sleep 0.5
check "Enter closes it" test -z "$(xdotool search --onlyvisible --name '^About Glimmora' 2>/dev/null)"

check "a click on Cancel" click_on "$HARNESS_TMP/back.txt" 'Button|Cancel|'
check "Cancel ends the dialog" wait_exit 15
check "the stored dollar count is left alone" test "$(dword Dollars)" = 57

# --- the .exe with no argument --------------------------------------------------
win_start "$DIR/Glimmora3D.exe"
check "the .exe with no argument shows the dialog" wait_window "$TITLE" 90
check "with the live preview" fps_shown 30
probe "$TITLE" >"$HARNESS_TMP/exe.txt"
check "the same controls" grep -q '^Button|Preview...|' "$HARNESS_TMP/exe.txt"
send_keys Escape
check "Escape ends it" wait_exit 15

# --- 150 % ------------------------------------------------------------------------
reg_set 'HKCU\Control Panel\Desktop' LogPixels REG_DWORD 144
win_start "$SCR" /c
check "at 144 DPI the dialog" wait_window "$TITLE" 90
check "with the live preview" fps_shown 30
probe "$TITLE" >"$HARNESS_TMP/dialog144.txt"
screenshot "$HARNESS_TMP/dialog144.png"
check "client area 767 x 545" test "$(client_of "$HARNESS_TMP/dialog144.txt")" = 767x545
check "preview panel 480 x 360" test "$(size_of "$HARNESS_TMP/dialog144.txt" GlimmoraPreviewPanel)" = 480x360
check "the render window inside it 474 x 354" test "$(size_of "$HARNESS_TMP/dialog144.txt" GlimmoraChildForm)" = 474x354
check "buttons 113 x 38" test "$(size_of "$HARNESS_TMP/dialog144.txt" 'Button|OK|')" = 113x38
send_keys Escape
check "Escape ends it" wait_exit 15

[ -n "${GLIMMORA_SHOTS:-}" ] && cp "$HARNESS_TMP"/*.png "$GLIMMORA_SHOTS/"
finish
