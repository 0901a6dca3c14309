#!/bin/bash
# glimmora3d on a screen, under a private Xvfb: GROUP is one of window,
# fullscreen, foreign, sound, options.
# Usage: screen_test.sh GROUP PATH/TO/glimmora3d PATH/TO/test_x_window
set -uo pipefail
GROUP=$1
PROG=$(realpath "$2")
XWIN=$(realpath "$3")
TMP=$(mktemp -d)
export XDG_CONFIG_HOME=$TMP/config HOME=$TMP
OPTIONS=$XDG_CONFIG_HOME/glimmora3d/glimmora3d.ini
PASSED=0
FAILED=0
PIDS=()
cleanup() {
  for P in "${PIDS[@]}"; do kill -9 "$P" 2>/dev/null; done
  [ -n "${XVFB:-}" ] && kill "$XVFB" 2>/dev/null
  rm -rf "$TMP"
}
trap cleanup EXIT
check() {
  local WHAT=$1
  shift
  if "$@"; then PASSED=$((PASSED + 1)); echo "ok: $WHAT"; else FAILED=$((FAILED + 1)); echo "FAILED: $WHAT"; fi
}

# A private X server on a free display.
Xvfb -displayfd 4 -screen 0 640x480x24 -nolisten tcp 4>"$TMP/display" >/dev/null 2>&1 &
XVFB=$!
for _ in $(seq 50); do [ -s "$TMP/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -1 "$TMP/display")
xdpyinfo >/dev/null 2>&1 || xdotool getmouselocation >/dev/null || { echo "no X server"; exit 1; }

# Starts the program in the background; its pid is in RUN, its output in $TMP/run.out.
start() {
  "$PROG" "$@" >"$TMP/run.out" 2>&1 &
  RUN=$!
  PIDS+=("$RUN")
}
# The exit code of RUN, waiting at most $1 seconds (124 when it is still running).
ends_within() {
  local LIMIT=$1 I
  for I in $(seq $((LIMIT * 20))); do
    kill -0 "$RUN" 2>/dev/null || { wait "$RUN"; return $?; }
    sleep 0.05
  done
  return 124
}
alive() { kill -0 "$RUN" 2>/dev/null; }
window_of_run() { xdotool search --sync --onlyvisible --name "Glimmora 3D Screen Saver" | head -1; }
colours() { convert "$1" -format "%k" info:; }
# A picture of a window; never interactive (import with no window would
# wait for a click) and never longer than 20 s.
shot() { [ -n "$1" ] && timeout 20 import -window "$1" "$2" 2>/dev/null; }
many_colours() { [ "$(colours "$1")" -gt 200 ]; }
# Pixels of the frame-rate text's colour in the bottom-left corner of a picture.
yellow_pixels() { convert "$1" -gravity SouthWest -crop 80x30+0+0 +repage txt:- | grep -c '#FFFF00'; }
pictures_differ() { [ "$(compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1)" != 0 ]; }

group_window() {
  start --no-sound --seed 3
  local W
  W=$(timeout 20 bash -c "$(declare -f window_of_run); window_of_run")
  check "a window opens" test -n "$W"
  sleep 2
  shot "$W" "$TMP/a.png"
  sleep 1
  shot "$W" "$TMP/b.png"
  check "the window shows the scene (not one colour)" many_colours "$TMP/a.png"
  check "the scene moves (two screenshots differ)" pictures_differ "$TMP/a.png" "$TMP/b.png"
  check "the title carries the frames per second" bash -c "xdotool getwindowname $W | grep -qE '^Glimmora 3D Screen Saver FPS: [1-9][0-9]*$'"
  xdotool mousemove 5 5 click 1 mousemove 300 300
  sleep 0.5
  check "mouse input does not end a window run" alive
  xdotool windowfocus --sync "$W" key Escape
  ends_within 5
  check "Escape ends it with exit code 0" test $? -eq 0

  # Another client destroys the window (a window manager's kill, a
  # script): the run ends as if the window was closed.
  for MODE in window --fullscreen; do
    start --no-sound --size 200x150 $([ $MODE = window ] || echo $MODE)
    W=$(timeout 20 bash -c "$(declare -f window_of_run); window_of_run")
    sleep 1
    "$XWIN" destroy "$W"
    ends_within 5
    check "$MODE: its window destroyed by another client ends the run with 0" test $? -eq 0
    check "$MODE: ... without an error" bash -c "! grep -qi 'error' '$TMP/run.out'"
  done
}

group_fullscreen() {
  start --fullscreen --no-sound
  local W
  W=$(timeout 20 bash -c "$(declare -f window_of_run); window_of_run")
  sleep 2
  check "the window covers the display" bash -c "xwininfo -id $W | grep -q 'Width: 640' && xwininfo -id $W | grep -q 'Height: 480'"
  for I in 1 2 3 4 5; do xdotool mousemove $((100 + I)) $((100 + I)); sleep 0.2; done
  check "five small moves are ignored" alive
  xdotool mousemove 115 105; sleep 0.5
  check "a 10-pixel move along one axis is ignored" alive
  xdotool mousemove 118 108
  ends_within 5
  check "a 3 x 3 move after that ends the run with 0" test $? -eq 0

  start --fullscreen --no-sound
  W=$(timeout 20 bash -c "$(declare -f window_of_run); window_of_run")
  sleep 1
  xdotool key x
  ends_within 5
  check "a key ends the run with 0" test $? -eq 0

  start --fullscreen --no-sound
  W=$(timeout 20 bash -c "$(declare -f window_of_run); window_of_run")
  sleep 1
  xdotool click 3
  ends_within 5
  check "a mouse button ends the run with 0" test $? -eq 0

  start --mode 640x480x24 --no-sound
  W=$(timeout 20 bash -c "$(declare -f window_of_run); window_of_run")
  sleep 1
  check "--mode with a mode the display offers runs full screen" \
    bash -c "xwininfo -id $W | grep -q 'Width: 640' && xwininfo -id $W | grep -q 'Height: 480'"
  xdotool key x
  ends_within 5
  check "... and a key ends it with 0" test $? -eq 0
  "$PROG" --mode 1000x700x24 --no-sound >"$TMP/mode.out" 2>&1
  check "a mode the display lacks is an error that names it" \
    bash -c "test $? -eq 1 && grep -q 'glimmora3d: The display offers no mode 1000x700x24' '$TMP/mode.out'"
  check "... and the display keeps its mode" bash -c "xdpyinfo | grep -q 'dimensions: *640x480 pixels'"

  start --fullscreen --no-sound
  W=$(timeout 20 bash -c "$(declare -f window_of_run); window_of_run")
  sleep 1
  kill -TERM "$RUN"
  ends_within 2
  check "SIGTERM ends a full-screen run with 0" test $? -eq 0
}

# Starts a test window (test_x_window's arguments) kept until the test
# ends, waits up to 30 s for it and sets XWIN_ID to its id ("" when none
# came up).
test_window() {
  local FILE
  FILE=$(mktemp -p "$TMP" xwin.XXXXXX)
  "$XWIN" "$@" >"$FILE" &
  PIDS+=($!)
  disown
  for _ in $(seq 300); do [ -s "$FILE" ] && break; sleep 0.1; done
  XWIN_ID=$(head -1 "$FILE")
}

group_foreign() {
  test_window 200 150
  local ID=$XWIN_ID
  check "the test window is up" test -n "$ID"
  [ -n "$ID" ] || return
  mkdir -p "$TMP/cwd"
  (cd "$TMP/cwd" && ulimit -c unlimited && exec "$PROG" --window-id "$ID") >"$TMP/run.out" 2>&1 &
  RUN=$!
  PIDS+=("$RUN")
  sleep 3
  shot "$ID" "$TMP/small.png"
  check "the scene appears in the given window" many_colours "$TMP/small.png"
  xdotool windowsize "$ID" 400 300
  sleep 2
  shot "$ID" "$TMP/large.png"
  convert "$TMP/large.png" -crop 200x150+200+150 +repage "$TMP/corner.png"
  check "the scene follows the window when it grows" many_colours "$TMP/corner.png"
  xdotool mousemove 50 50 click 1 key a
  sleep 0.5
  check "input in the window does not end the run" alive
  local T0 T1
  T0=$(date +%s%N)
  kill -TERM "$RUN"
  ends_within 1
  local CODE=$?
  T1=$(date +%s%N)
  check "SIGTERM ends it within 1 s with exit code 0 ($(((T1 - T0) / 1000000)) ms)" test $CODE -eq 0
  check "no core file" bash -c "! ls '$TMP/cwd' | grep -q core"

  local HEX
  HEX=$(printf '0x%x' "$ID")
  start -window-id "$HEX" -fps -delay 20000
  sleep 3
  shot "$ID" "$TMP/hex.png"
  check "-window-id with a hexadecimal id draws there" many_colours "$TMP/hex.png"
  check "-fps draws the frame rate in a corner" test "$(yellow_pixels "$TMP/hex.png")" -gt 50
  kill -INT "$RUN"
  ends_within 1
  check "SIGINT ends it with 0" test $? -eq 0

  xdotool windowsize "$ID" 160 120
  shot root "$TMP/root-before.png"
  XSCREENSAVER_WINDOW=$HEX start -root
  sleep 3
  shot "$ID" "$TMP/env.png"
  check "XSCREENSAVER_WINDOW names the window (also with -root, as the daemon starts hacks)" \
    many_colours "$TMP/env.png"
  shot root "$TMP/root-after.png"
  convert "$TMP/root-before.png" -crop 200x200+400+200 +repage "$TMP/rb.png"
  convert "$TMP/root-after.png" -crop 200x200+400+200 +repage "$TMP/ra.png"
  check "... and the rest of the root window is left alone" \
    test "$(compare -metric AE "$TMP/rb.png" "$TMP/ra.png" null: 2>&1 | cut -d' ' -f1)" = 0
  check "without -fps there is no frame rate" test "$(yellow_pixels "$TMP/env.png")" -eq 0
  check "no window of its own is opened" bash -c "! xdotool search --name 'Glimmora 3D Screen Saver' >/dev/null"
  kill -TERM "$RUN"
  ends_within 1
  check "SIGTERM ends the environment's run with 0" test $? -eq 0

  # Another client destroys the window: the run ends cleanly.
  start --window-id "$ID"
  sleep 3
  "$XWIN" destroy "$ID"
  ends_within 5
  check "the window destroyed by another client ends the run with 0" test $? -eq 0
  check "... without an X error" bash -c "! grep -qi 'error' '$TMP/run.out'"

  start -root
  sleep 3
  shot root "$TMP/root.png"
  check "-root draws on the root window" many_colours "$TMP/root.png"
  kill -TERM "$RUN"
  ends_within 1
  check "SIGTERM ends the -root run with 0" test $? -eq 0

  # A 32-bit ARGB window, as compositing desktops hand out: drawn as well.
  test_window 200 150 argb
  local ARGB=$XWIN_ID
  check "the ARGB test window is up" test -n "$ARGB"
  [ -n "$ARGB" ] || return
  start --window-id "$ARGB"
  sleep 3
  check "the run in an ARGB window goes on" alive
  shot "$ARGB" "$TMP/argb.png"
  check "the scene appears in an ARGB window" many_colours "$TMP/argb.png"
  kill -TERM "$RUN"
  ends_within 1
  check "SIGTERM ends the ARGB window's run with 0" test $? -eq 0
}

# Samples the disk audio driver wrote: not silent, and repeating.
sound_loops() {
  /usr/bin/python3 - "$1" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read()
samples = struct.unpack('<%dh' % (len(data) // 2), data[:len(data) // 2 * 2])
loud = max(abs(s) for s in samples) if samples else 0
probe = data[8192:8192 + 8192]
again = data.find(probe, 8192 + 4)
print('bytes', len(data), 'peak', loud, 'repeats after', again - 8192 if again > 0 else None)
sys.exit(0 if loud > 1000 and again > 0 else 1)
PY
}

group_sound() {
  export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$TMP/sound.raw
  start --sound --size 160x120
  sleep 12
  kill -TERM "$RUN"
  ends_within 2
  check "a run with sound ends with 0" test $? -eq 0
  check "the sound reaches the output, is not silent and loops" sound_loops "$TMP/sound.raw"

  rm -f "$TMP/sound.raw"
  start --no-sound --size 160x120
  sleep 3
  kill -TERM "$RUN"
  ends_within 2
  check "with sound off nothing is written" bash -c "! test -s '$TMP/sound.raw'"

  mkdir -p "$(dirname "$OPTIONS")"
  printf '[Glimmora 3D]\nSound=0\n' >"$OPTIONS"
  start --size 160x120
  sleep 3
  kill -TERM "$RUN"
  ends_within 2
  check "the options file switches the sound off" bash -c "! test -s '$TMP/sound.raw'"
  rm -f "$OPTIONS"

  SDL_AUDIODRIVER=none-such start --sound --size 160x120
  sleep 3
  check "no audio device: the run goes on" alive
  kill -TERM "$RUN"
  ends_within 2
  check "... and ends with 0" test $? -eq 0
  check "... and says so in one line" test "$(grep -c 'no sound' "$TMP/run.out")" -eq 1
}

theme_of() { grep -E '^Theme=' "$OPTIONS" | cut -d= -f2; }
# One short run on its own window, ended by SIGTERM.
short_run() {
  start --no-sound --size 160x120 "$@"
  sleep 2
  kill -TERM "$RUN"
  ends_within 3
}

group_options() {
  mkdir -p "$(dirname "$OPTIONS")"
  printf '; my saver\n[Glimmora 3D]\nBubbles=20\nDollars=30\nTheme=-1\nSound=0\n' >"$OPTIONS"
  short_run
  check "Auto: after a run the file holds the next theme" test "$(theme_of)" = "-2"
  check "the other lines and the comment stay as they were" \
    diff <(grep -v '^Theme=' "$OPTIONS") <(printf '; my saver\n[Glimmora 3D]\nBubbles=20\nDollars=30\nSound=0\n')
  short_run
  short_run
  check "Auto over three runs rotates back to the first theme" test "$(theme_of)" = "-1"
  short_run --theme 2
  check "a theme on the command line holds for one run only" test "$(theme_of)" = "-1"
  # Auto picked in xscreensaver-settings: the hack gets --theme auto.
  printf '[Glimmora 3D]\nTheme=1\nSound=0\n' >"$OPTIONS"
  short_run --theme auto
  check "--theme auto: the run after a fixed theme stores the next one as Auto" test "$(theme_of)" = "-3"
  short_run --theme auto
  check "--theme auto again: the theme after that" test "$(theme_of)" = "-1"
  check "--theme auto: no message" test ! -s "$TMP/run.out"

  cp "$OPTIONS" "$TMP/good.ini"
  for I in $(seq 20); do
    start --no-sound --size 160x120
    sleep 1
    kill -TERM "$RUN"
    sleep "0.0$((I % 10))"
    kill -KILL "$RUN" 2>/dev/null
    wait "$RUN" 2>/dev/null
  done
  check "killed while it writes, the file is whole" \
    bash -c "grep -qE '^Theme=-[123]$' '$OPTIONS' && diff <(grep -v '^Theme=' '$OPTIONS') <(grep -v '^Theme=' '$TMP/good.ini')"

  printf 'Theme=-1\nthis is not an option\n' >"$OPTIONS"
  short_run
  check "a malformed file: the run goes on and ends with 0" test $? -eq 0
  check "a malformed file gives one clear message" \
    bash -c "test \$(grep -c 'glimmora3d: the options file .* cannot be used (line 2' '$TMP/run.out') -eq 1"
  check "a malformed file is left alone" test "$(cat "$OPTIONS")" = "$(printf 'Theme=-1\nthis is not an option')"

  printf 'Bubbles=lots\n' >"$OPTIONS"
  short_run
  check "a value that is not a number gives the message" grep -q "cannot be used (Invalid data type for 'Bubbles')" "$TMP/run.out"

  rm -f "$OPTIONS"
  mkdir "$OPTIONS"
  short_run
  check "an unreadable file: the run goes on and ends with 0" test $? -eq 0
  check "an unreadable file gives the message" grep -q 'cannot be used (.*is not a regular file' "$TMP/run.out"
  rmdir "$OPTIONS"

  # The file keeps its mode, and a symbolic link stays a link.
  printf '[Glimmora 3D]\nTheme=-1\n' >"$OPTIONS"
  chmod 600 "$OPTIONS"
  short_run
  check "a save keeps the file's mode" test "$(stat -c %a "$OPTIONS")" = 600
  check "... and stores the theme" test "$(theme_of)" = "-2"
  mkdir -p "$TMP/dotfiles"
  printf '[Glimmora 3D]\nTheme=-1\n' >"$TMP/dotfiles/saver.ini"
  rm -f "$OPTIONS"
  ln -s "$TMP/dotfiles/saver.ini" "$OPTIONS"
  short_run
  check "a symbolic link stays a link" test -L "$OPTIONS"
  check "... and the file it names gets the theme" grep -qx 'Theme=-2' "$TMP/dotfiles/saver.ini"
  rm -f "$OPTIONS"

  # A FIFO is refused, not opened (that would wait for a writer).
  mkfifo "$OPTIONS"
  short_run
  check "a FIFO as the options file: the run ends with 0" test $? -eq 0
  check "... says it is not a regular file" grep -q 'cannot be used (.*is not a regular file' "$TMP/run.out"
  check "... and stays a FIFO" test -p "$OPTIONS"
  rm -f "$OPTIONS"

  # Temporary files of a killed save go at the next save.
  printf '[Glimmora 3D]\nTheme=-1\n' >"$OPTIONS"
  printf 'Theme=' >"$(dirname "$OPTIONS")/.glimmora3d.ini.k1LL3d"
  touch -d '1 hour ago' "$(dirname "$OPTIONS")/.glimmora3d.ini.k1LL3d"
  short_run
  check "a save removes the temporary file a killed save left" test ! -e "$(dirname "$OPTIONS")/.glimmora3d.ini.k1LL3d"

  # A save on a full disk (a small tmpfs in a mount namespace of the run's
  # own) says the system's reason.
  rm -f "$OPTIONS"
  local DIR
  DIR=$(dirname "$OPTIONS")
  if unshare -m true 2>/dev/null; then
    unshare -m bash -c "mount -t tmpfs -o size=16k none '$DIR' && printf '[Glimmora 3D]\nTheme=-1\n' >'$OPTIONS' &&
      { head -c 1M /dev/zero >'$DIR/filler' 2>/dev/null; true; } && exec '$PROG' --no-sound --size 160x120" >"$TMP/run.out" 2>&1 &
    RUN=$!
    PIDS+=("$RUN")
    sleep 3
    kill -TERM "$RUN"
    ends_within 3
    check "a full disk: the run ends with 0" test $? -eq 0
    check "... and the message gives the system's reason" \
      grep -q "the theme was not stored in $OPTIONS (cannot write .*: No space left on device)" "$TMP/run.out"
  else
    echo "skipped: no mount namespace here for the full-disk save"
  fi

  # Encodings and line ends as editors write them: the options are read
  # (Sound=0 would otherwise be lost) and the theme is stored.
  for ENC in bom cr utf16; do
    case $ENC in
      bom) printf '\xef\xbb\xbf[Glimmora 3D]\r\nTheme=-1\r\nSound=0\r\n' >"$OPTIONS" ;;
      cr) printf '[Glimmora 3D]\rTheme=-1\rSound=0\r' >"$OPTIONS" ;;
      utf16) { printf '\xff\xfe'; printf '[Glimmora 3D]\r\nTheme=-1\r\nSound=0\r\n' | iconv -f UTF-8 -t UTF-16LE; } >"$OPTIONS" ;;
    esac
    short_run
    check "$ENC: the file is read and the theme stored" test "$(theme_of)" = "-2"
    check "$ENC: the other options stay" grep -qx 'Sound=0' "$OPTIONS"
    check "$ENC: no message" test ! -s "$TMP/run.out"
  done
}

"group_$GROUP"
echo "$PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
