#!/bin/bash
# The headless program as a user runs it: pictures, repeatability, errors.
# Usage: glimmora3d_test.sh PATH/TO/glimmora3d
set -uo pipefail
PROG=$(realpath "$1")
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
check "a missing folder of the output is an error that names it" \
  fails_with "Cannot write the snapshot \"$TMP/sub/dir/d.png\": the folder \"$TMP/sub/dir\" does not exist" \
  --snapshot "$TMP/sub/dir/d.png" --size 64x48
check "... and no folder is made" test ! -e "$TMP/sub"
# A symbolic link to a picture stays a link, the picture behind it is
# replaced; a link to nothing is refused and nothing is made at its target.
cp "$TMP/a.png" "$TMP/target.png"
ln -s target.png "$TMP/link.png"
"$PROG" --snapshot "$TMP/link.png" --size 64x48 >/dev/null
check "a snapshot through a symbolic link keeps the link" test -L "$TMP/link.png"
check "... and writes the picture it names" test "$(png_size "$TMP/target.png")" = "64x48"
ln -s nowhere.png "$TMP/dangling.png"
check "a symbolic link to nothing is refused" \
  fails_with "it is a symbolic link to a file that does not exist" --snapshot "$TMP/dangling.png" --size 64x48
check "... and no file is made at its target" test ! -e "$TMP/nowhere.png"
check "... and the link stays" test -L "$TMP/dangling.png"
mkfifo "$TMP/fifo.png"
check "a FIFO as the output is refused, without waiting for a reader" \
  timeout 20 bash -c "$(declare -f fails_with); PROG='$PROG'; fails_with 'it is not a regular file' --snapshot '$TMP/fifo.png' --size 64x48"

# Any aspect, from a portrait monitor to three monitors side by side: the
# sea floor and the water surface reach both edges. Where they ended, the
# edge columns held a flat run of one colour many times longer than the
# middle column's; with nothing but the environment drawn, the runs match.
flat_runs() { /usr/bin/python3 -c "
import sys
from PIL import Image
im = Image.open(sys.argv[1]).convert('RGB'); W, H = im.size; px = im.load()
def longest(x):
    best = run = 1
    for y in range(1, H):
        run = run + 1 if px[x, y] == px[x, y - 1] else 1
        best = max(best, run)
    return best
print(longest(0), longest(W // 2), longest(W - 1))" "$1"; }
for SIZE in 120x360 640x360 860x360 1280x360 640x180 960x160; do
  for THEME in 0 2; do
    "$PROG" --snapshot "$TMP/aspect.png" --size $SIZE --theme $THEME --dollars 0 --bubbles 0 --time 0 >/dev/null
    read -r LEFT MIDDLE RIGHT < <(flat_runs "$TMP/aspect.png")
    check "$SIZE, theme $THEME: the planes reach both edges (flat runs $LEFT $MIDDLE $RIGHT)" \
      test "$LEFT" -le $((MIDDLE + 2)) -a "$RIGHT" -le $((MIDDLE + 2))
  done
done

printf '[Fishes]\nFogColor=0,blue,0\n' >"$TMP/badcolour.ini"
check "a colour that is not a number ends the run with its message" \
  fails_with "'blue' is not a valid number" --snapshot "$TMP/x.png" --ini "$TMP/badcolour.ini"
# The file is named by its full path, whatever folder the run started in.
OUT=$(cd "$TMP" && "$PROG" --snapshot x.png --ini ./badcolour.ini 2>&1)
check "a tuning-file error names the file by its full path" \
  grep -qF "in the tuning file entry Fishes.FogColor of \"$TMP/badcolour.ini\"" <<<"$OUT"
# Encodings and line ends: the same bad colour is found in each.
printf '[Fishes]\rFogColor=0,blue,0\r' >"$TMP/cr.ini"
check "a tuning file with CR line ends is read" fails_with "'blue' is not a valid number" --snapshot "$TMP/x.png" --ini "$TMP/cr.ini"
printf '\xff\xfe' >"$TMP/utf16.ini"
printf '[Fishes]\r\nFogColor=0,blue,0\r\n' | iconv -f UTF-8 -t UTF-16LE >>"$TMP/utf16.ini"
check "a UTF-16 tuning file is read" fails_with "'blue' is not a valid number" --snapshot "$TMP/x.png" --ini "$TMP/utf16.ini"
printf '[Fishes]\r\nFogColor=0,blue,0\r\n' | iconv -f UTF-8 -t UTF-16LE >"$TMP/utf16bare.ini"
check "a UTF-16 tuning file without its mark is refused with a message" \
  fails_with "utf16bare.ini\" holds NUL bytes" --snapshot "$TMP/x.png" --ini "$TMP/utf16bare.ini"
# Values that make the projection degenerate are not used; the message
# names the entry and the run draws the scene.
many_colours() { /usr/bin/python3 -c "import sys; from PIL import Image; print(len(set(Image.open(sys.argv[1]).convert('RGB').getdata())))" "$1"; }
for ENTRY in NearDistance=1e-45 FieldOfView=1e-45 NearDistance=0.001; do
  printf '[View]\n%s\n' "$ENTRY" >"$TMP/view.ini"
  rm -f "$TMP/view.png"
  OUT=$("$PROG" --snapshot "$TMP/view.png" --size 160x120 --ini "$TMP/view.ini" 2>&1)
  check "$ENTRY: the run draws the scene" test "$(many_colours "$TMP/view.png" 2>/dev/null || echo 0)" -gt 200
  check "$ENTRY: a message names the entry" grep -qF "The tuning file entry [View] $ENTRY of \"$TMP/view.ini\" gives a projection that cannot be drawn" <<<"$OUT"
done
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
# A run on a screen checks --ini as the headless runs do, before it opens
# a window (so no display is needed to see it).
for CASE in "folder.ini:is a folder" "fifo.ini:is not a regular file" "none.ini:does not exist"; do
  check "a window run refuses --ini ${CASE%%:*} (${CASE#*:}), without waiting" \
    env -u DISPLAY -u WAYLAND_DISPLAY XDG_CONFIG_HOME="$TMP/cfg-ini" timeout 20 bash -c \
    "$(declare -f fails_with); PROG='$PROG'; fails_with '${CASE%%:*}\" ${CASE#*:}' --no-sound --ini '$TMP/${CASE%%:*}'"
done
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

# An unreachable display: said, a failed run, and the Auto theme is not
# moved on (an invisible off-screen window would run until killed).
mkdir -p "$TMP/cfg/glimmora3d"
printf '[Glimmora 3D]\nTheme=-1\n' >"$TMP/cfg/glimmora3d/glimmora3d.ini"
for D in :1987 garbage; do
  OUT=$(env -u WAYLAND_DISPLAY DISPLAY=$D XDG_CONFIG_HOME="$TMP/cfg" timeout 30 "$PROG" --no-sound 2>&1)
  CODE=$?
  check "DISPLAY=$D: the run fails at once ($CODE)" test $CODE -ne 0 -a $CODE -ne 124
  check "DISPLAY=$D: it says the display cannot be opened" grep -qF "Cannot open the display \"$D\"" <<<"$OUT"
done
check "... and the Auto theme is not moved on" grep -qx 'Theme=-1' "$TMP/cfg/glimmora3d/glimmora3d.ini"

# Output that cannot be written fails the run.
OUT=$("$PROG" --bench --size 64x48 --frames 5 2>&1 >/dev/full)
check "--bench with a full standard output fails" test $? -ne 0
check "... and says why" grep -qF "Cannot write the standard output: No space left on device" <<<"$OUT"
"$PROG" --snapshot "$TMP/full.png" --size 64x48 --time 0 >/dev/full 2>/dev/null
check "--snapshot with a full standard output fails" test $? -ne 0

# A log that cannot be written (a full disk: /dev/full) is given up with
# one line; the run goes on.
mkdir "$TMP/prog"
cp "$PROG" "$TMP/prog/glimmora3d"
printf '[System]\nLog=1\n' >"$TMP/prog/glimmora3d.ini"
ln -s /dev/full "$TMP/prog/glimmora3d.log"
OUT=$("$TMP/prog/glimmora3d" --snapshot "$TMP/logged.png" --size 64x48 --time 0 2>&1)
check "a log on a full disk: the run goes on" test -s "$TMP/logged.png"
check "... and says so in one line" test "$(grep -c 'Cannot write the log file' <<<"$OUT")" -eq 1

# The priority the user gave with nice holds, whatever the tuning file asks.
for P in 1 2; do
  printf '[System]\nPriority=%s\n' "$P" >"$TMP/priority.ini"
  nice -n 10 "$PROG" --bench --size 64x48 --frames 1000000 --ini "$TMP/priority.ini" >/dev/null 2>&1 &
  BENCH=$!
  sleep 4
  NI=$(ps -o ni= -p $BENCH | tr -d ' ')
  kill $BENCH 2>/dev/null
  wait $BENCH 2>/dev/null
  check "Priority=$P: nice 10 stays nice 10 (${NI:-gone})" test "$NI" = 10
done

echo "$PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
