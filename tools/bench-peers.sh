#!/bin/bash
# CPU cost of a frame on software OpenGL (Mesa's llvmpipe), in a window under
# a private Xvfb, at 640x480, 1024x768 and 1920x1080: the multitexture path
# against the OpenGL 1.1 passes (GLIMMORA_GL11=1), interleaved round by round
# so that both see the same load. A benchmark, not a test.
#
# Usage: tools/bench-peers.sh [PATH/TO/glimmora3d] [ROUNDS] [SECONDS]
#   ROUNDS   measurements of each path at each size (default 3)
#   SECONDS  measured seconds of each run, after 3 s of warm-up (default 6)
#
# Frames come from the window's title ("... FPS: N", the frames of the last
# whole second), read every second; CPU time is the process's own (user +
# system, all its threads) over the same seconds. The time to the first
# frame is the headless bench's (exec to the first finished frame).
#
# The peer columns are reference figures: XScreenSaver's atlantis and
# bubble3d measured earlier in windows of these sizes on a machine of this
# kind (two cores, llvmpipe, load average about 1). They are not run here.
set -euo pipefail
PROG=$(realpath "${1:-build/linux/glimmora3d}")
ROUNDS=${2:-3}
SECONDS_MEASURED=${3:-6}
SIZES=(640x480 1024x768 1920x1080)
TMP=$(mktemp -d)
RUN=
cleanup() {
  [ -n "$RUN" ] && kill "$RUN" 2>/dev/null
  [ -n "${XVFB:-}" ] && kill "$XVFB" 2>/dev/null
  rm -rf "$TMP"
}
trap cleanup EXIT
export XDG_CONFIG_HOME=$TMP/config HOME=$TMP LIBGL_ALWAYS_SOFTWARE=1

Xvfb -displayfd 4 -screen 0 1920x1200x24 -nolisten tcp 4>"$TMP/display" >/dev/null 2>&1 &
XVFB=$!
for _ in $(seq 50); do [ -s "$TMP/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -1 "$TMP/display")
xdotool getmouselocation >/dev/null 2>&1 || { echo "no X server" >&2; exit 1; }

TICK=$(getconf CLK_TCK)
# user + system ticks of a process and its threads
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# One run: PATH (mt or gl11) SIZE -> "ms_per_frame frames"
measure() {
  local Path=$1 Size=$2 Env=()
  [ "$Path" = gl11 ] && Env=(GLIMMORA_GL11=1)
  env "${Env[@]}" "$PROG" --size "$Size" --theme 0 --seed 3 --max-fps 0 --no-sound >"$TMP/run.out" 2>&1 &
  RUN=$!
  local Win=
  for _ in $(seq 300); do
    Win=$(xdotool search --pid "$RUN" --name "FPS" 2>/dev/null | head -1 || true)
    [ -n "$Win" ] && break
    sleep 0.1
  done
  if [ -z "$Win" ]; then
    echo "no window in 30 s; this run is left out:" >&2
    cat "$TMP/run.out" >&2
    kill "$RUN" 2>/dev/null
    wait "$RUN" 2>/dev/null || true
    RUN=
    return 0
  fi
  sleep 3
  local C0 Frames=0 C1 Title
  C0=$(cpu_ticks "$RUN")
  for _ in $(seq "$SECONDS_MEASURED"); do
    sleep 1
    Title=$(xdotool getwindowname "$Win")
    Frames=$((Frames + ${Title##*: }))
  done
  C1=$(cpu_ticks "$RUN")
  kill "$RUN" 2>/dev/null
  wait "$RUN" 2>/dev/null || true
  RUN=
  awk -v c=$((C1 - C0)) -v t="$TICK" -v f="$Frames" 'BEGIN { printf "%.2f %d\n", f ? 1000 * c / t / f : 0, f }'
}

# Headless: exec to the first finished frame, in ms.
startup() {
  local Env=()
  [ "$1" = gl11 ] && Env=(GLIMMORA_GL11=1)
  env "${Env[@]}" "$PROG" --bench --size 1024x768 --frames 1 2>/dev/null | awk '/^start-up/ {print $2}'
}

declare -A RESULT
for R in $(seq "$ROUNDS"); do
  for S in "${SIZES[@]}"; do
    for P in mt gl11; do
      Ms= Frames=
      read -r Ms Frames < <(measure "$P" "$S") || true
      [ -n "$Ms" ] || continue
      RESULT[$P,$S]+="$Ms "
      echo "round $R  $S  $P: $Ms ms of CPU a frame ($Frames frames in $SECONDS_MEASURED s)" >&2
    done
  done
done
STARTS_MT= STARTS_GL11=
for R in $(seq "$ROUNDS"); do
  STARTS_MT+="$(startup mt) "
  STARTS_GL11+="$(startup gl11) "
done

median() { tr ' ' '\n' | grep -v '^$' | sort -g | awk '{ v[NR] = $1 } END { print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
declare -A ATLANTIS=([640x480]="4.4 to 5.2" [1024x768]="10.6 to 13.4" [1920x1080]="29.3")
declare -A BUBBLE3D=([640x480]="6.2 to 7.1" [1024x768]="7.7 to 8.9" [1920x1080]="14.5")
declare -A ATLANTIS_MID=([640x480]=4.8 [1024x768]=12.0 [1920x1080]=29.3)
declare -A BUBBLE3D_MID=([640x480]=6.65 [1024x768]=8.3 [1920x1080]=14.5)

echo
echo "CPU ms per frame in a window (llvmpipe, median of up to $ROUNDS runs of $SECONDS_MEASURED s each; load average now $(cut -d' ' -f1 /proc/loadavg))"
echo
echo "| window | multitexture | OpenGL 1.1 passes | ratio | atlantis (reference) | bubble3d (reference) | ours / atlantis | ours / bubble3d |"
echo "|---|---|---|---|---|---|---|---|"
for S in "${SIZES[@]}"; do
  MT=$(echo "${RESULT[mt,$S]}" | median)
  GL=$(echo "${RESULT[gl11,$S]}" | median)
  awk -v s="${S/x/ x }" -v mt="$MT" -v gl="$GL" -v a="${ATLANTIS[$S]}" -v b="${BUBBLE3D[$S]}" \
      -v am="${ATLANTIS_MID[$S]}" -v bm="${BUBBLE3D_MID[$S]}" \
      'BEGIN { printf "| %s | %.1f | %.1f | %.2f | %s | %s | %.2f | %.2f |\n", s, mt, gl, gl ? mt / gl : 0, a, b, mt / am, mt / bm }'
done
echo
echo "exec to first frame (headless, 1024 x 768, median): multitexture $(echo "$STARTS_MT" | median) ms," \
     "OpenGL 1.1 passes $(echo "$STARTS_GL11" | median) ms; reference in a window: atlantis 86 ms, bubble3d 54 to 58 ms"
