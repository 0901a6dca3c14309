#!/bin/bash
# The settings dialog's windows, through SettingsWindowDemo (which prints
# every event the window reports): the window's colour, its black preview
# panel and the places of its controls; the keyboard (Tab through the
# controls in their order, the arrows and Page Down on a track bar, a list,
# Space on a check box, Enter for OK, Escape for Cancel); the close box; a
# live OpenGL preview inside the panel that keeps moving while the about
# box is open; the help text window; and all of it 1.5 times as large at
# 144 DPI.
. "$(dirname "${BASH_SOURCE[0]}")/harness.sh"
harness_init
unmanaged_windows

TITLE="Glimmora 3D Screen Saver"
LOG=$HARNESS_TMP/program.log
BACKGROUND="91,203,223"

# The program's lines, without the CR its console output adds.
log_lines() { tr -d '\r' <"$LOG"; }
has_line() { log_lines | grep -qx "$1"; }
wait_line() {
  for _ in $(seq 1 100); do
    has_line "$1" && return 0
    sleep 0.1
  done
  return 1
}
wait_line_re() {
  for _ in $(seq 1 100); do
    log_lines | grep -qE "$1" && return 0
    sleep 0.1
  done
  return 1
}
red_pixels() { convert "$1" -crop "$2" +repage -format %c histogram:info: | grep -ci '#FF0000'; }
# The tab stops in the window's order, by their texts.
tab_stops() {
  awk -F'|' '$1 == "Button" && $2 !~ /^(Video Modes|Dollar Count|Bubble Count|Themes|Sound)$/ { print $2 }
             $1 == "ComboBox" { print "list" } $1 == "msctls_trackbar32" { print "track" }' "$1" | paste -sd' '
}

# --- at 96 DPI: look, places, the keyboard -------------------------------------
win_start SettingsWindowDemo.exe
check "the settings window appears" wait_window "$TITLE" 60
check "and says so" wait_line "shown 511,363 preview 2,2,316,236"
probe "$TITLE" >"$HARNESS_TMP/probe96.txt"
screenshot "$HARNESS_TMP/settings96.png"
check "client area 511 x 363" test "$(client_of "$HARNESS_TMP/probe96.txt")" = 511x363
check "preview panel 320 x 240" test "$(size_of "$HARNESS_TMP/probe96.txt" 'GlimmoraPreviewPanel')" = 320x240
check "track bar 145 x 21" test "$(size_of "$HARNESS_TMP/probe96.txt" 'msctls_trackbar32')" = 145x21
check "buttons 75 x 25" test "$(size_of "$HARNESS_TMP/probe96.txt" 'Button|OK|')" = 75x25
check "the Default button 60 x 20" test "$(size_of "$HARNESS_TMP/probe96.txt" 'Button|Default|')" = 60x20
check "the closed lists are 21 high" test "$(size_of "$HARNESS_TMP/probe96.txt" 'ComboBox|Auto|')" = 145x21
check "the themes list holds Auto and three themes" grep -q '^ComboBox|Auto|.*value 0/4$' "$HARNESS_TMP/probe96.txt"
STOPS="OK Cancel About... list list Desktop Only Default Run As EXE track track list Enable Sound Help... Preview..."
check "tab stops in order: $(tab_stops "$HARNESS_TMP/probe96.txt")" test "$(tab_stops "$HARNESS_TMP/probe96.txt")" = "$STOPS"
P=($(rect_of "$HARNESS_TMP/probe96.txt" GlimmoraPreviewPanel))
check "the form's colour left of the panel" test "$(pixel "$HARNESS_TMP/settings96.png" $((P[0] - 4)) $((P[1] + 100)))" = "$BACKGROUND"
check "the form's colour below the panel" test "$(pixel "$HARNESS_TMP/settings96.png" $((P[0] + 100)) $((P[1] + 244)))" = "$BACKGROUND"
check "the panel is black inside" test "$(pixel "$HARNESS_TMP/settings96.png" $((P[0] + 20)) $((P[1] + 20)))" = "0,0,0"
check "with its red caption in the middle" test "$(red_pixels "$HARNESS_TMP/settings96.png" 120x30+$((P[0] + 100))+$((P[1] + 105)))" -gt 0

# Focus starts on OK; eight Tabs reach the dollar track bar.
send_keys Tab Tab Tab Tab Tab Tab Tab Tab
send_keys Right
check "Right moves the dollar track bar by one" wait_line "changed scTrackDollars 51"
send_keys Next
check "Page Down by five" wait_line "changed scTrackDollars 56"
probe "$TITLE" >"$HARNESS_TMP/probe96b.txt"
check "the position and the label in the window" grep -q '^msctls_trackbar32|.*value 56$' "$HARNESS_TMP/probe96b.txt"
check "the dollar label shows 56" grep -q '^Static|56|' "$HARNESS_TMP/probe96b.txt"
send_keys Tab Left
check "Tab, Left: the bubble track bar" wait_line "changed scTrackBubbles 29"
send_keys Tab Down
check "Tab, Down: the themes list" wait_line "changed scComboThemes 1"
send_keys Tab space
check "Tab, Space: the sound check box" wait_line "changed scCheckSound 0"
check "no click so far" test "$(log_lines | grep -c '^clicked')" = 0
send_keys Return
check "Enter on a check box presses OK" wait_line "clicked scButtonOk"
check "and the demo ends" wait_exit 10
check "with exit code 0" test "$EXIT_CODE" = 0

# --- the live preview, the about box, the close box ----------------------------
win_start SettingsWindowDemo.exe --gl
check "with a GL preview, the window appears" wait_window "$TITLE" 60
check "a GL context runs in the panel" wait_line_re '^gl '
log_lines | grep '^gl '
check "a frame in the panel's render window reads back green" wait_line "gl size 316x236 pixel 0,255,0"
probe "$TITLE" >"$HARNESS_TMP/probegl.txt"
C=($(rect_of "$HARNESS_TMP/probegl.txt" 'Button|Cancel|'))
check "the Cancel button is where it belongs" test "${#C[@]}" = 4
# OK, Cancel, About: Enter with the focus on a button presses that button.
send_keys Tab Tab Return
check "Enter on the focused About... presses it" wait_line "clicked scButtonAbout"
check "the about box appears" wait_window "About Glimmora 3D" 20
probe "About Glimmora 3D" >"$HARNESS_TMP/about.txt"
screenshot "$HARNESS_TMP/about96.png"
check "about box: client 414 x 279" test "$(client_of "$HARNESS_TMP/about.txt")" = 414x279
check "about box: the product name" grep -q '^Static|Glimmora 3D Screen Saver|' "$HARNESS_TMP/about.txt"
check "about box: the version" grep -qF "Static|Version $HARNESS_VERSION|" "$HARNESS_TMP/about.txt"
O=($(rect_of "$HARNESS_TMP/about.txt" 'Button|OK|'))
check "about box: the form's colour" test "$(pixel "$HARNESS_TMP/about96.png" $((O[0] - 10)) $((O[1] + 5)))" = "$BACKGROUND"
# The settings window takes no input while the box is open.
xdotool mousemove $(((C[0] + C[2]) / 2)) $(((C[1] + C[3]) / 2)) click 1
sleep 0.5
check "a click on Cancel behind the box does nothing" test "$(log_lines | grep -c '^clicked scButtonCancel')" = 0
send_keys Escape
check "Escape closes the about box, frames were drawn meanwhile" wait_line_re '^about closed frames [1-9][0-9]*$'
check "and nothing else was clicked" test "$(log_lines | grep -c '^clicked')" = 1
check "the settings window goes on" kill -0 "$WIN_PID"
send_keys alt+F4
check "the close box is Cancel" wait_line "clicked scButtonCancel"
check "and the demo ends" wait_exit 10

# --- 150 %: everything 1.5 times as large; the help text window; Escape ------
reg_set 'HKCU\Control Panel\Desktop' LogPixels REG_DWORD 144
win_start SettingsWindowDemo.exe --help-file 'C:\nowhere\GLIMMORA 3D.HLP' --help-text
check "at 144 DPI, the help text window appears" wait_window "Glimmora 3D Screen Saver Help" 60
probe "Glimmora 3D Screen Saver Help" >"$HARNESS_TMP/help.txt"
screenshot "$HARNESS_TMP/help144.png"
check "help text: client 720 x 542" test "$(client_of "$HARNESS_TMP/help.txt")" = 720x542
check "help text: the text, lines ending in CR LF" grep -qi '^Edit|Glimmora 3D Screen Saver\\r\\n\\r\\nThe settings:' "$HARNESS_TMP/help.txt"
send_keys Escape
check "Escape closes it" wait_line "help closed"
check "a help file that is not there is not opened" wait_line "help file 0"
check "the settings window at 1.5 times the size" wait_line "shown 767,545 preview 3,3,474,354"
sleep 0.5
probe "$TITLE" >"$HARNESS_TMP/probe144.txt"
screenshot "$HARNESS_TMP/settings144.png"
check "client area 767 x 545" test "$(client_of "$HARNESS_TMP/probe144.txt")" = 767x545
check "preview panel 480 x 360" test "$(size_of "$HARNESS_TMP/probe144.txt" 'GlimmoraPreviewPanel')" = 480x360
check "track bar 218 x 32" test "$(size_of "$HARNESS_TMP/probe144.txt" 'msctls_trackbar32')" = 218x32
check "buttons 113 x 38" test "$(size_of "$HARNESS_TMP/probe144.txt" 'Button|OK|')" = 113x38
# The closed list is as high as the scaled font lets it be (32 designed).
LIST=$(size_of "$HARNESS_TMP/probe144.txt" 'ComboBox|Auto|')
check "the themes list $LIST: 218 wide, 32 to 34 high" test "${LIST%x*}" = 218 -a "${LIST#*x}" -ge 32 -a "${LIST#*x}" -le 34
P=($(rect_of "$HARNESS_TMP/probe144.txt" GlimmoraPreviewPanel))
check "the form's colour left of the panel" test "$(pixel "$HARNESS_TMP/settings144.png" $((P[0] - 6)) $((P[1] + 150)))" = "$BACKGROUND"
check "the panel is black inside" test "$(pixel "$HARNESS_TMP/settings144.png" $((P[0] + 30)) $((P[1] + 30)))" = "0,0,0"
send_keys Escape
check "Escape is Cancel" wait_line "clicked scButtonCancel"
check "and the demo ends" wait_exit 10
check "with exit code 0" test "$EXIT_CODE" = 0
# The same click on Cancel with no box in front of it does click it. The
# window is told first that its DPI is 96 now (as when it moves to another
# monitor): it lays itself out again, the render window in the panel too.
win_start SettingsWindowDemo.exe --gl --dpi 96
check "once more, the window appears" wait_window "$TITLE" 60
check "at 144 DPI with the render window 474 x 354" wait_line "gl size 474x354 pixel 0,255,0"
check "told 96 DPI, all of it shrinks" wait_line "rescaled 511,363 preview 2,2,316,236 render 316x236"
probe "$TITLE" >"$HARNESS_TMP/probe144b.txt"
check "the panel 320 x 240 again" test "$(size_of "$HARNESS_TMP/probe144b.txt" 'GlimmoraPreviewPanel')" = 320x240
check "the buttons 75 x 25 again" test "$(size_of "$HARNESS_TMP/probe144b.txt" 'Button|OK|')" = 75x25
C=($(rect_of "$HARNESS_TMP/probe144b.txt" 'Button|Cancel|'))
xdotool mousemove $(((C[0] + C[2]) / 2)) $(((C[1] + C[3]) / 2)) click 1
check "a click on Cancel is Cancel" wait_line "clicked scButtonCancel"
check "and the demo ends" wait_exit 10
[ -n "${SETTINGS_SHOTS:-}" ] && mkdir -p "$SETTINGS_SHOTS" && cp "$HARNESS_TMP"/*.png "$HARNESS_TMP"/*.txt "$SETTINGS_SHOTS"/
finish
