#!/bin/bash
# The headless program as a user runs it: pictures, repeatability, errors.
# Usage: glimmora3d_test.sh PATH/TO/glimmora3d
set -uo pipefail
PROG=$1
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
PASSED=0
FAILED=0
check() {
  local WHAT=$1
  shift
  if "$@"; then PASSED=$((PASSED + 1)); echo "ok: $WHAT"; else FAILED=$((FAILED + 1)); echo "FAILED: $WHAT"; fi
}
# Runs the program expecting failure; the message must name the problem.
fails_with() {
  local TEXT=$1
  shift
  local OUT
  OUT=$("$PROG" "$@" 2>&1)
  local CODE=$?
  [ $CODE -ne 0 ] && [ $CODE -lt 128 ] && grep -qF -- "$TEXT" <<<"$OUT" || { echo "  got ($CODE): $OUT"; return 1; }
}
png_size() { /usr/bin/python3 -c "import struct,sys; d=open(sys.argv[1],'rb').read(24); print('%dx%d' % struct.unpack('>II', d[16:24]))" "$1"; }

"$PROG" --snapshot "$TMP/a.png" --theme 1 --size 200x150 --seed 9 --time 2 >/dev/null
check "a snapshot is a PNG of the asked size" test "$(png_size "$TMP/a.png")" = "200x150"
"$PROG" --snapshot "$TMP/b.png" --theme 1 --size 200x150 --seed 9 --time 2 >/dev/null
check "the same seed gives the same picture" cmp -s "$TMP/a.png" "$TMP/b.png"
"$PROG" --snapshot "$TMP/c.png" --theme 1 --size 200x150 --seed 10 --time 2 >/dev/null
check "another seed gives another picture" bash -c "! cmp -s '$TMP/a.png' '$TMP/c.png'"
# A 5-6-5 surface would give at most 32 levels of red and blue and 64 of
# green; 8 bits a channel gives many more over the scene's gradients.
channel_levels() { /usr/bin/python3 -c "import sys; from PIL import Image; im = Image.open(sys.argv[1]).convert('RGB'); print(min(len(set(im.getchannel(c).getdata())) for c in range(3)))" "$1"; }
check "a snapshot has 8 bits a channel (more than 64 levels in each)" test "$(channel_levels "$TMP/a.png")" -gt 64
# Stored (uncompressed) blocks would take more than the raw 360000 bytes.
"$PROG" --snapshot "$TMP/big.png" --theme 1 --size 400x300 --seed 9 --time 2 >/dev/null
check "a snapshot is compressed (under two thirds of its raw bytes)" test "$(stat -c %s "$TMP/big.png")" -lt 240000
"$PROG" --snapshot "$TMP/sub/dir/d.png" --size 64x48 >/dev/null
check "missing folders of the output are made" test -s "$TMP/sub/dir/d.png"

printf '[Fishes]\nFogColor=0,blue,0\n' >"$TMP/badcolour.ini"
check "a colour that is not a number ends the run with its message" \
  fails_with "'blue' is not a valid number" --snapshot "$TMP/x.png" --ini "$TMP/badcolour.ini"
printf '[Bills]\nModel=Missing00f.3dm\n' >"$TMP/badmodel.ini"
check "an asset name that names no resource ends the run" \
  fails_with "Missing00f_3dm not found" --snapshot "$TMP/x.png" --ini "$TMP/badmodel.ini"
printf '[Planes]\nPlaneModel=dollar.jpg\n' >"$TMP/badasset.ini"
check "an asset that is not a model ends the run" fails_with "The model \"dollar.jpg\" holds no object" --snapshot "$TMP/x.png" --ini "$TMP/badasset.ini"
check "a missing tuning file named on the command line is an error" \
  fails_with "does not exist" --snapshot "$TMP/x.png" --ini "$TMP/none.ini"
mkdir "$TMP/folder.ini"
check "a folder named by --ini is an error" fails_with "folder.ini\" is a folder" --snapshot "$TMP/x.png" --ini "$TMP/folder.ini"
mkfifo "$TMP/fifo.ini"
check "a FIFO named by --ini is an error, without waiting for a writer" \
  timeout 20 bash -c "$(declare -f fails_with); PROG='$PROG'; fails_with 'fifo.ini\" is not a regular file' --snapshot '$TMP/x.png' --ini '$TMP/fifo.ini'"
check "a device named by --ini is an error" fails_with "\"/dev/null\" is not a regular file" --snapshot "$TMP/x.png" --ini /dev/null
printf '[Fishes]\n' >"$TMP/locked.ini"
chmod 000 "$TMP/locked.ini"
if [ "$(id -u)" -ne 0 ]; then
  check "an unreadable tuning file is an error with the reason" \
    fails_with "locked.ini\" cannot be read: Permission denied" --snapshot "$TMP/x.png" --ini "$TMP/locked.ini"
fi
mkdir "$TMP/taken.png"
check "a snapshot over a folder fails with the system's reason" \
  fails_with "Cannot write the snapshot \"$TMP/taken.png\": Is a directory" --snapshot "$TMP/taken.png" --size 64x48
if [ "$(id -u)" -ne 0 ]; then
  mkdir "$TMP/locked"
  chmod 555 "$TMP/locked"
  check "a snapshot in a read-only folder fails with the system's reason" \
    fails_with "Permission denied" --snapshot "$TMP/locked/x.png" --size 64x48
fi
check "a bad argument is named" fails_with 'Bad value "7" for --theme' --snapshot "$TMP/x.png" --theme 7
check "nothing is written on failure" test ! -e "$TMP/x.png"
check "without a display a window run says what still works" \
  env -u DISPLAY -u WAYLAND_DISPLAY bash -c "$(declare -f fails_with); PROG='$PROG'; fails_with 'without one, --snapshot and --bench still work'"
OUT=$("$PROG" --bench --size 64x48 --frames 5)
check "the benchmark reports frames per second" grep -q "frames/second" <<<"$OUT"
check "the benchmark names the renderer that ran" grep -qE "^renderer +[^ ].*, OpenGL [0-9]" <<<"$OUT"

echo "$PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
