#!/bin/bash
# Glimmora3D.scr started as Windows starts a screen saver (/s), from a
# folder of its own with a blank in its name (64-bit Windows) or from the
# system folder that keeps savers (SysWOW64, System32): the scene fills the screen in
# its theme's colours and moves, a key ends it at once; a tuning file with
# a bad colour ends in the error box, which Enter closes.
. "$(dirname "${BASH_SOURCE[0]}")/harness.sh"
harness_init
unmanaged_windows

install_saver "$HARNESS_TMP/Glimmora Saver"
DIR=$SAVER_DIR

not_black() { [ "$(pixel "$1" "$2" "$3")" != "0,0,0" ]; }


# "R G B" mean of a band of rows of a screenshot, 0..255.
band_mean() {
  convert "$1" -crop "${W}x$3+0+$2" +repage -scale 1x1! -format "%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]" info:
}

blue_over_red() { set -- $(band_mean "$@"); [ "$3" -gt $(($1 + 50)) ]; }
# The bottom band's red minus blue exceeds the top band's by 50 and more.
warmer_below() {
  local TOP BOTTOM
  TOP=$(band_mean "$1" 0 $((H / 8)) | awk '{ print $1 - $3 }')
  BOTTOM=$(band_mean "$1" $((H * 7 / 8)) $((H / 8)) | awk '{ print $1 - $3 }')
  [ "$BOTTOM" -gt $((TOP + 50)) ]
}
colours_at_least() { [ "$(convert "$1" -format %k info:)" -ge "$2" ]; }
differ_by_at_least() {
  local N
  N=$(compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1)
  [ "${N%%.*}" -ge "$3" ]
}

# --- a saver run ------------------------------------------------------------
win_start "$SCR" /s
check "the first frame appears" wait_frame 90
sleep 1
screenshot "$HARNESS_TMP/a.png"
sleep 1
screenshot "$HARNESS_TMP/b.png"
for P in "2 2" "$((W - 3)) 2" "2 $((H - 3))" "$((W - 3)) $((H - 3))"; do
  check "the scene covers the screen's corner $P" not_black "$HARNESS_TMP/a.png" $P
done
check "the picture is a scene, not one colour" colours_at_least "$HARNESS_TMP/a.png" 2000
check "blue water above" blue_over_red "$HARNESS_TMP/a.png" 0 $((H / 8))
check "sand below, warmer than the water" warmer_below "$HARNESS_TMP/a.png"
check "the scene moves (two screenshots a second apart differ)" \
  differ_by_at_least "$HARNESS_TMP/a.png" "$HARNESS_TMP/b.png" 5000
send_keys space
check "a key ends the run within 2 s" wait_exit 2
check "with exit code 0" test "$EXIT_CODE" = 0
screenshot "$HARNESS_TMP/after.png"
check "and its window is gone" test "$(pixel "$HARNESS_TMP/after.png" $((W / 2)) $((H / 2)))" = "0,0,0"

# --- a tuning file with a bad colour -----------------------------------------
printf '[Fishes]\r\nFogColor=0,blue,0\r\n' >"$DIR/Glimmora3D.ini"
win_start "$SCR" /s
check "a bad colour in the tuning file shows the error box" wait_window "Glimmora Screen Saver Error!" 90
on_screen() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool search --name "$1" getwindowgeometry --shell | head -n 5)"
  [ "$X" -ge 0 ] && [ "$Y" -ge 0 ] && [ $((X + WIDTH)) -le "$W" ] && [ $((Y + HEIGHT)) -le "$H" ]
}
check "on the screen, though its owner lies off it" on_screen "Glimmora Screen Saver Error!"
probe "Glimmora Screen Saver Error!" >"$HARNESS_TMP/box.txt"
check "its message names the tuning file by its full path" grep -qiF "\"$(win_path "$DIR/Glimmora3D.ini")\"" "$HARNESS_TMP/box.txt"
send_keys Return
check "Enter closes it and the program ends" wait_exit 10
check "with exit code 0" test "$EXIT_CODE" = 0

# The system's idle timer may start a saver by its short 8.3 name; the
# tuning file still goes by the long one.
SHORT=$("$WINE" winepath -s "$(win_path "$SCR")" 2>/dev/null | tr -d '\r')
check "the short name is not the long one" test -n "${SHORT##*\\}" -a "${SHORT##*\\}" != Glimmora3D.scr
win_start "$SHORT" /s
check "started by its short name ($SHORT) it reads Glimmora3D.ini" wait_window "Glimmora Screen Saver Error!" 90
send_keys Return
check "and ends after the box" wait_exit 10
rm -f "$DIR/Glimmora3D.ini"
finish
