#!/bin/bash
# Libraries planted beside the saver under the names of system libraries
# (GLU32.DLL, OPENGL32.dll, WINMM.dll, each leaving NAME.loaded beside
# itself when loaded) are never loaded: the saver's folder is also the
# current one, /s draws the scene with the system's libraries and /c opens
# the dialog, and no marker appears.
. "$(dirname "${BASH_SOURCE[0]}")/harness.sh"
harness_init
unmanaged_windows
# The saver lies in a folder of the user's (a download), in either build,
# not where the system keeps savers.
# Windows looks in the program's folder first for any library that is not
# one of its known system libraries; Wine prefers its own copies of these
# three unless told otherwise, so it is told to take a library found in
# the program's folder as Windows would.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;glu32,opengl32,winmm=n,b"

DIR="$HARNESS_TMP/Downloads"
mkdir -p "$DIR"
cp "$HARNESS_BUILD/Glimmora3D.scr" "$DIR/"
for N in GLU32.DLL OPENGL32.dll WINMM.dll; do
  cp "$HARNESS_BUILD/planted/$N" "$DIR/$N"
done
SCR="$DIR/Glimmora3D.scr"

no_marker() { [ ! -e "$DIR/$1.loaded" ]; }
markers() { ls "$DIR" | grep '\.loaded$' | tr '\n' ' '; }

cd "$DIR" || exit 1
win_start "$SCR" /s
check "/s: the first frame appears" wait_frame 90
sleep 1
screenshot "$HARNESS_TMP/scene.png"
check "/s: the picture is a scene, not one colour" test "$(convert "$HARNESS_TMP/scene.png" -format %k info:)" -ge 2000
send_keys space
check "/s: a key ends the run" wait_exit 10
check "/s: with exit code 0" test "$EXIT_CODE" = 0
for N in GLU32.DLL OPENGL32.dll WINMM.dll; do
  check "/s: the planted $N was not loaded" no_marker "$N"
done

win_start "$SCR" /c
check "/c: the settings dialog opens" wait_window "Glimmora 3D Screen Saver" 90
sleep 2
send_keys Escape
check "/c: Escape ends it" wait_exit 15
for N in GLU32.DLL OPENGL32.dll WINMM.dll; do
  check "/c: the planted $N was not loaded" no_marker "$N"
done
echo "  markers: $(markers)"
finish
