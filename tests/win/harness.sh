# Window-level Windows tests: start a program of a Windows build under Wine
# inside a private Xvfb display, look at the screen, type, read the
# registry and collect the exit code. Source this file from a *_test.sh;
# everything started here is stopped on exit, whatever happens.
#
# The build and the Windows it runs on come from the environment:
#
#   GLIMMORA_BUILD               the build folder (default build/win64)
#   GLIMMORA_WINDOWS             which Windows runs it (default from the build):
#                                  win64  64-bit Windows, a 64-bit program
#                                  wow64  64-bit Windows, a 32-bit program (WoW64;
#                                         savers installed in SysWOW64)
#                                  win32  32-bit Windows (WINEARCH=win32 prefix)
#
#   harness_init                 Xvfb up (HARNESS_SCREEN_SIZE, default
#                                1024x768; HARNESS_SCREEN_DEPTH bits, default
#                                24), Wine prefix ready, cleanup trap set
#   unmanaged_windows            tell Wine no window manager runs (Xvfb has
#                                none), so hiding a window does not wait 2 s
#                                for one to acknowledge it
#   install_saver DIR [exe]      copy Glimmora3D.scr (and its .exe twin) to
#                                where the test runs it: DIR on 64-bit Windows,
#                                the system folder Windows keeps savers in
#                                otherwise (SysWOW64, System32); sets
#                                SAVER_DIR (Linux path) and SCR
#   win_path PATH                the Windows path of a Linux path (C: inside
#                                the prefix, Z: elsewhere)
#   win_start PROG [ARGS...]     start PROG (path in the build, or an absolute
#                                Linux or Windows path) in background
#   win_spawn VAR PROG [ARGS...] start one more program; its pid goes to $VAR
#   wait_window TITLE [SECS]     wait until a window of that title is mapped
#   wait_frame [SECS]            wait until the middle of the screen is not black
#   screenshot FILE              PNG of the whole screen
#   pixel FILE X Y               "R,G,B" of a pixel of a screenshot
#   send_keys KEY...             xdotool key names (e.g. q Escape Return)
#   move_mouse X Y               move the pointer
#   HARNESS_VERSION              the project's version, MAJOR.MINOR
#   reg_query KEY VALUE          print the data of a registry value
#   reg_set KEY VALUE TYPE DATA  write a registry value (TYPE: REG_DWORD, ...)
#   wait_exit [SECS]             wait for the program, set EXIT_CODE
#   wait_gone PID [SECS]         wait until a process has ended
#   cpu_ticks PID                CPU time (user + system) a process used so
#                                far, in clock ticks (getconf CLK_TCK a second)
#   probe TITLE                 the controls of the window whose title starts
#                                with TITLE (tests/win/programs/WindowProbe.cpp)
#   rect_of LIST PATTERN         "L T R B" on the screen of the first line of
#                                a probe's list starting with PATTERN
#   size_of LIST PATTERN         its "WxH"; client_of LIST: the window's client
#   click_on LIST PATTERN        a left click in the middle of that control
#   check DESCRIPTION CMD...     run CMD, count a pass or a failure
#   finish                       print "N passed, N failed", exit non-zero on failure
#
# After harness_init: WINE is the loader to start programs with, SYSTEM_DIR
# the Linux path of the folder the program sees as its system folder, KEY
# the saver's options key, W and H the screen size.

set -uo pipefail
HARNESS_SOURCE=${GLIMMORA_SOURCE:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
HARNESS_BUILD=${GLIMMORA_BUILD:-$HARNESS_SOURCE/build/win64}
# The project's version, MAJOR.MINOR, as CMakeLists.txt names it.
HARNESS_VERSION=$(sed -nE 's/^project\(Glimmora3D VERSION ([0-9]+\.[0-9]+).*/\1/p' "$HARNESS_SOURCE/CMakeLists.txt")
# A 64-bit build runs on 64-bit Windows; a 32-bit one by default as 64-bit
# Windows runs it (WoW64).
if [ -z "${GLIMMORA_WINDOWS:-}" ]; then
  if od -An -tx1 -j "$(($(od -An -tu4 -j 60 -N 4 "$HARNESS_BUILD/Glimmora3D.scr" 2>/dev/null || echo 0) + 4))" -N 2 \
       "$HARNESS_BUILD/Glimmora3D.scr" 2>/dev/null | grep -q '4c 01'; then
    GLIMMORA_WINDOWS=wow64
  else
    GLIMMORA_WINDOWS=win64
  fi
fi
case $GLIMMORA_WINDOWS in
  win64) WINE=/usr/lib/wine/wine64 PREFIX_ARCH=win64 SYSTEM_SUBDIR=system32 ;;
  wow64) WINE=/usr/lib/wine/wine PREFIX_ARCH=win64 SYSTEM_SUBDIR=syswow64 ;;
  win32) WINE=/usr/lib/wine/wine PREFIX_ARCH=win32 SYSTEM_SUBDIR=system32 ;;
  *) echo "harness: GLIMMORA_WINDOWS must be win64, wow64 or win32" >&2; exit 1 ;;
esac
KEY='HKCU\Software\Tarnwick Software\Glimmora 3D'
PASSED=0
FAILED=0
WIN_PID=
XVFB_PID=
EXIT_CODE=

HARNESS_PIDS=()

harness_cleanup() {
  [ -n "$WIN_PID" ] && kill "$WIN_PID" 2>/dev/null
  for P in "${HARNESS_PIDS[@]}"; do kill "$P" 2>/dev/null; done
  WINEPREFIX=$WINEPREFIX /usr/lib/wine/wineserver -k 2>/dev/null
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  [ -n "${HARNESS_TMP:-}" ] && rm -rf "$HARNESS_TMP"
  return 0
}

harness_init() {
  trap harness_cleanup EXIT
  HARNESS_TMP=$(mktemp -d)
  if ! "$WINE" --version >/dev/null 2>&1; then
    echo "harness: $WINE does not run here (is this kernel able to run 32-bit programs, and wine32:i386 installed?)" >&2
    exit 1
  fi
  # Each run of a test gets a prefix of its own, copied from a template
  # prefix that is made once per build and Windows (making one takes about
  # 10 s). A 64-bit prefix comes from wine64 and holds SysWOW64.
  local TEMPLATE=$HARNESS_BUILD/wineprefix-$PREFIX_ARCH
  (
    flock 9
    if [ ! -f "$TEMPLATE/system.reg" ]; then
      rm -rf "$TEMPLATE"
      local BOOT=/usr/lib/wine/wine64
      [ "$PREFIX_ARCH" = win32 ] && BOOT=/usr/lib/wine/wine
      WINEARCH=$PREFIX_ARCH WINEPREFIX=$TEMPLATE WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= \
        "$BOOT" wineboot --init >/dev/null 2>&1
      WINEPREFIX=$TEMPLATE /usr/lib/wine/wineserver -w
    fi
  ) 9>"$TEMPLATE.lock"
  export WINEPREFIX=$HARNESS_TMP/prefix
  cp -a "$TEMPLATE" "$WINEPREFIX"
  export WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
  SYSTEM_DIR=$WINEPREFIX/drive_c/windows/$SYSTEM_SUBDIR
  local N=$((90 + RANDOM % 400))
  while [ -e /tmp/.X$N-lock ]; do N=$((N + 1)); done
  Xvfb :$N -screen 0 ${HARNESS_SCREEN_SIZE:-1024x768}x${HARNESS_SCREEN_DEPTH:-24} -nolisten tcp >"$HARNESS_TMP/xvfb.log" 2>&1 &
  XVFB_PID=$!
  export DISPLAY=:$N
  for _ in $(seq 1 100); do
    if xdotool getdisplaygeometry >/dev/null 2>&1; then
      read -r W H <<<"$(xdotool getdisplaygeometry)"
      return 0
    fi
    sleep 0.1
  done
  echo "harness: Xvfb did not start" >&2
  exit 1
}

unmanaged_windows() {
  reg_set 'HKCU\Software\Wine\X11 Driver' Managed REG_SZ N
}

win_path() {
  local P=$1
  case $P in
    "$WINEPREFIX"/drive_c/*) P="C:/${P#"$WINEPREFIX"/drive_c/}" ;;
    /*) P="Z:$P" ;;
  esac
  echo "${P//\//\\}"
}

install_saver() {
  local DEST=$1
  [ "$GLIMMORA_WINDOWS" = win64 ] || DEST=$SYSTEM_DIR
  mkdir -p "$DEST"
  cp "$HARNESS_BUILD/Glimmora3D.scr" "$DEST/"
  [ "${2:-}" = exe ] && cp "$HARNESS_BUILD/Glimmora3D.exe" "$DEST/"
  SAVER_DIR=$DEST
  SCR=$DEST/Glimmora3D.scr
}

# A program of the build, or a Linux path, as Windows names it.
program_path() {
  case $1 in
    [A-Za-z]:*) echo "$1" ;;
    /*) win_path "$1" ;;
    *) win_path "$HARNESS_BUILD/$1" ;;
  esac
}

win_start() {
  local PROG
  PROG=$(program_path "$1")
  shift
  "$WINE" "$PROG" "$@" >"$HARNESS_TMP/program.log" 2>&1 &
  WIN_PID=$!
}

win_spawn() {
  local VAR=$1 PROG
  PROG=$(program_path "$2")
  shift 2
  "$WINE" "$PROG" "$@" >"$HARNESS_TMP/$VAR.log" 2>&1 &
  HARNESS_PIDS+=($!)
  printf -v "$VAR" '%s' "$!"
}

wait_gone() {
  local PID=$1 SECS=${2:-30}
  for _ in $(seq 1 $((SECS * 10))); do
    kill -0 "$PID" 2>/dev/null || return 0
    sleep 0.1
  done
  return 1
}

# Fields 14 and 15 of /proc/PID/stat, counted after the command name's
# closing parenthesis (the name may hold blanks).
cpu_ticks() {
  sed 's/^.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'
}

wait_window() {
  local TITLE=$1 SECS=${2:-30}
  for _ in $(seq 1 $((SECS * 10))); do
    if xdotool search --onlyvisible --name "$TITLE" >/dev/null 2>&1; then
      sleep 0.5   # let it paint
      return 0
    fi
    sleep 0.1
  done
  return 1
}

screenshot() { import -window root "$1"; }

wait_frame() {
  local SECS=${1:-60} SHOT=$HARNESS_TMP/wait.png
  for _ in $(seq 1 $((SECS * 4))); do
    screenshot "$SHOT"
    [ "$(pixel "$SHOT" $((W / 2)) $((H / 2)))" != "0,0,0" ] && return 0
    sleep 0.25
  done
  return 1
}

probe() { "$WINE" "$(program_path WindowProbe.exe)" "$1" 2>/dev/null | tr -d '\r'; }
rect_of() { grep -m1 "^$2" "$1" | sed 's/.*|screen \([-0-9,]*\)|.*/\1/' | tr ',' ' '; }
size_of() { local R; R=($(rect_of "$1" "$2")); echo "$((R[2] - R[0]))x$((R[3] - R[1]))"; }
client_of() { grep -m1 '^top|' "$1" | sed 's/.*|client \([0-9]*\),\([0-9]*\)|.*/\1x\2/'; }
click_on() {
  local R
  R=($(rect_of "$1" "$2"))
  [ ${#R[@]} -eq 4 ] || return 1
  xdotool mousemove $(((R[0] + R[2]) / 2)) $(((R[1] + R[3]) / 2)) click 1
}

pixel() {
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

send_keys() { xdotool key --delay 50 "$@"; }
move_mouse() { xdotool mousemove "$1" "$2"; }

reg_query() {
  "$WINE" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v v="$2" '$1 == v { print $NF }'
}

reg_set() { "$WINE" reg add "$1" /v "$2" /t "$3" /d "$4" /f >/dev/null 2>&1; }

wait_exit() {
  local SECS=${1:-30}
  for _ in $(seq 1 $((SECS * 10))); do
    if ! kill -0 "$WIN_PID" 2>/dev/null; then
      wait "$WIN_PID"
      EXIT_CODE=$?
      WIN_PID=
      return 0
    fi
    sleep 0.1
  done
  EXIT_CODE=timeout
  return 1
}

check() {
  local WHAT=$1
  shift
  if "$@"; then
    PASSED=$((PASSED + 1))
    echo "ok: $WHAT"
  else
    FAILED=$((FAILED + 1))
    echo "FAILED: $WHAT"
  fi
}

finish() {
  echo "$PASSED passed, $FAILED failed"
  [ "$FAILED" -eq 0 ]
  exit $?
}
