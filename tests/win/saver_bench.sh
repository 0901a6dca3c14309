#!/bin/bash
# Benchmark (not a test): Glimmora3D.scr /s under Wine in Xvfb, RUNS times
# (default 3). For each run: time from process start until the render
# window is mapped and until the first frame shows (the middle of the
# screen is no longer black; screenshots every ~0.1 s, so the figure is
# that coarse), and the frames per second of the run's log line (a tuning
# file beside the program switches the log on).
#
#   GLIMMORA_BUILD=build/win64 bash tests/win/saver_bench.sh [RUNS]
#   GLIMMORA_BUILD=build/win32 bash tests/win/saver_bench.sh [RUNS]   (WoW64)
. "$(dirname "${BASH_SOURCE[0]}")/harness.sh"
harness_init
unmanaged_windows

RUNS=${1:-3}
install_saver "$HARNESS_TMP/saver"
DIR=$SAVER_DIR
printf '[System]\r\nLog=1\r\n' >"$DIR/Glimmora3D.ini"
ms_since() { echo $((($(date +%s%N) - $1) / 1000000)); }

echo "size of Glimmora3D.scr: $(stat -c %s "$HARNESS_BUILD/Glimmora3D.scr") bytes"
for RUN in $(seq 1 "$RUNS"); do
  START=$(date +%s%N)
  win_start "$SCR" /s
  MAPPED=
  FIRST=
  for _ in $(seq 1 600); do
    if [ -z "$MAPPED" ] && xdotool search --onlyvisible --name '^Glimmora 3D$' >/dev/null 2>&1; then
      MAPPED=$(ms_since "$START")
    fi
    screenshot "$HARNESS_TMP/shot.png"
    if [ "$(pixel "$HARNESS_TMP/shot.png" $((W / 2)) $((H / 2)))" != "0,0,0" ]; then
      FIRST=$(ms_since "$START")
      break
    fi
  done
  sleep 10
  send_keys space
  wait_exit 10
  FPS=$(tr -d '\0' <"$DIR/Glimmora3D.log" | tr -d '\r' | sed -n 's/^Full Screen mode: .*FPS://p' | tail -n 1)
  echo "run $RUN: window mapped after ${MAPPED:-?} ms, first frame after ${FIRST:-?} ms, ${FPS:-?} frames/s"
done
