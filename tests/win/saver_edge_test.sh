#!/bin/bash
# A deliberate mouse move with the pointer against the screen's edge ends a
# saver run (there every move changes one axis only); jitter of a few
# pixels along the edge does not.
. "$(dirname "${BASH_SOURCE[0]}")/harness.sh"
harness_init
unmanaged_windows

install_saver "$HARNESS_TMP/saver"
DIR=$SAVER_DIR

still_running_after() { sleep "$1"; kill -0 "$WIN_PID" 2>/dev/null; }
moves() {
  for P in "$@"; do
    move_mouse ${P/,/ }
    sleep 0.2
  done
}

for EDGE in left bottom; do
  case $EDGE in
    left) AT() { echo "0,$((H / 2 + $1))"; } ;;
    bottom) AT() { echo "$((W / 2 + $1)),$((H - 1))"; } ;;
  esac
  move_mouse $(AT 0 | tr ',' ' ')
  win_start "$SCR" /s
  check "$EDGE edge: the first frame appears" wait_frame 90
  sleep 1
  # The ignored first moves, the reference point, then jitter along the edge.
  moves $(AT 2) $(AT 0) $(AT 2) $(AT 0) $(AT 2) $(AT 0) $(AT 3) $(AT -3) $(AT 2) $(AT -2) $(AT 0)
  check "$EDGE edge: jitter of 3 pixels along it does not end the run" still_running_after 1.5
  moves $(AT 40) $(AT 80) $(AT 120)
  check "$EDGE edge: a move of 120 pixels along it ends the run within 2 s" wait_exit 2
  check "$EDGE edge: with exit code 0" test "$EXIT_CODE" = 0
  [ -n "$WIN_PID" ] && kill "$WIN_PID" 2>/dev/null && wait "$WIN_PID" 2>/dev/null
  WIN_PID=
done
finish
