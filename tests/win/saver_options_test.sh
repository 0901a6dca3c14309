#!/bin/bash
# Options from the registry reach the scene: no dollar bills with a count of
# 0 (the picture has fewer colours than with bills); Auto over three runs
# stores -1, -2, -3 in the theme value; a fixed theme leaves it alone.
. "$(dirname "${BASH_SOURCE[0]}")/harness.sh"
harness_init
unmanaged_windows

install_saver "$HARNESS_TMP/saver"
DIR=$SAVER_DIR
set_value() { reg_set "$KEY" "$1" REG_DWORD "$2"; }
# reg prints a DWORD as 0x...; as a signed 32-bit number.
theme_value() {
  local V
  V=$(reg_query "$KEY" Theme)
  [ -n "$V" ] || return 0
  V=$((V))
  [ "$V" -ge 2147483648 ] && V=$((V - 4294967296))
  echo "$V"
}

# One run: start, wait for the scene, optionally a screenshot, a key, wait.
one_run() {
  win_start "$SCR" /s
  wait_frame 90 || return 1
  sleep 2
  [ -n "${1:-}" ] && screenshot "$1"
  send_keys space
  wait_exit 10
}
colours() { convert "$1" -format %k info:; }
# Per mille of the pixels where green leads: the bills' paper, not the blue
# water or the warm sand.
green_share() { convert "$1" -fx 'g > r + 0.02 && g > b + 0.02 ? 1 : 0' -format '%[fx:int(1000 * mean)]' info:; }

# --- dollar bills -------------------------------------------------------------
set_value Bubbles 0
set_value Sound 0
set_value Theme 0
set_value Dollars 100
check "a run with 100 bills" one_run "$HARNESS_TMP/bills.png"
set_value Dollars 0
check "a run with none" one_run "$HARNESS_TMP/none.png"
BILLS=$(colours "$HARNESS_TMP/bills.png")
NONE=$(colours "$HARNESS_TMP/none.png")
GREEN_BILLS=$(green_share "$HARNESS_TMP/bills.png")
GREEN_NONE=$(green_share "$HARNESS_TMP/none.png")
echo "  colours: $BILLS with bills, $NONE without; green-led pixels: $GREEN_BILLS and $GREEN_NONE per mille"
check "no bills show: far fewer colours" test "$NONE" -lt $((BILLS * 85 / 100))
check "no bills show: far fewer green-led pixels" test "$GREEN_NONE" -lt $((GREEN_BILLS * 2 / 3))

# --- automatic theme ------------------------------------------------------------
set_value Dollars 60
set_value Theme 4294967293   # -3: Auto, Fishes shown last
for EXPECTED in -1 -2 -3; do
  one_run
  check "Auto: after a run the theme value is $EXPECTED" test "$(theme_value)" = "$EXPECTED"
done

# --- fixed theme --------------------------------------------------------------
set_value Theme 1
one_run
check "a fixed theme leaves the value alone" test "$(theme_value)" = 1
finish
