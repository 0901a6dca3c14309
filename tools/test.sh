#!/bin/bash
# Builds everything and runs every test: the native tests, the same unit
# tests and the window-level tests of both Windows builds under Wine (the
# 64-bit build with wine64; the 32-bit build as 64-bit Windows runs it,
# from SysWOW64, and its saver test also on 32-bit Windows), the native
# unit and GL tests again under the address and undefined-behaviour
# sanitizers (the asan preset; any report fails the test), and the fuzz
# targets over their seeds. Each step reports how long it took. The
# packages of the Linux build come first, and that build runs while the
# rest is installed.
#
#   bash tools/test.sh [STEP...]   STEP: linux, windows, asan, fuzz (default
#                                  all of them, as CI runs it)
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
STEPS=("$@")
[ ${#STEPS[@]} -eq 0 ] && STEPS=(linux windows asan fuzz)
for S in "${STEPS[@]}"; do
  case $S in linux | windows | asan | fuzz) ;; *) echo "test.sh: unknown step '$S' (linux, windows, asan, fuzz)" >&2; exit 2 ;; esac
done
wanted() { [[ " ${STEPS[*]} " == *" $1 "* ]]; }

FAILED=()
TOTAL_PASSED=0
TOTAL_FAILED=0
# Runs one CTest preset and adds its counts to the totals.
run_ctest() {
  local LOG
  LOG=$(mktemp)
  ctest --preset "$1" 2>&1 | tee "$LOG"
  local CODE=${PIPESTATUS[0]}
  local LINE
  LINE=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$LOG" | tail -n 1)
  rm -f "$LOG"
  if [ -n "$LINE" ]; then
    local FAIL ALL
    FAIL=$(sed -E 's/.*passed, ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$LINE")
    ALL=$(sed -E 's/.*passed, ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$LINE")
    TOTAL_PASSED=$((TOTAL_PASSED + ALL - FAIL))
    TOTAL_FAILED=$((TOTAL_FAILED + FAIL))
  fi
  return "$CODE"
}
# Builds every libFuzzer target (the fuzz preset) and replays its committed
# seeds, so the targets keep building; long runs are tools/fuzz.sh TARGET
# SECONDS.
fuzz_smoke() { build fuzz && run_ctest fuzz; }
# The native unit and GL tests built with -fsanitize=address,undefined;
# a sanitizer report ends the test process with a failure.
sanitizers() { build_now asan && run_ctest asan; }
step() {
  local NAME=$1
  shift
  echo "=== $NAME"
  local START=$SECONDS
  if ! "$@"; then FAILED+=("$NAME"); fi
  echo "=== $NAME: $((SECONDS - START)) s"
}
build() { cmake --preset "$1" >/dev/null && cmake --build --preset "$1"; }
# The window-level tests spend most of their time waiting on windows and
# screenshots, so the next build runs beside them, in the background and at
# a lower priority; its output is shown when it is waited for.
BG_PID=
BG_PRESET=
start_build() {
  mkdir -p build
  BG_PRESET=$1
  (nice -n "${2:-10}" bash -c 'cmake --preset "$1" >/dev/null && cmake --build --preset "$1"' _ "$1") \
    >"build/$1.build.log" 2>&1 &
  BG_PID=$!
}
# Builds a preset, or waits for its build when it runs in the background.
build_now() {
  [ "$BG_PRESET" = "$1" ] || { build "$1"; return; }
  wait "$BG_PID"
  local CODE=$?
  cat "build/$1.build.log"
  BG_PID=
  BG_PRESET=
  return "$CODE"
}

# What the Linux build needs comes first; the Linux build then runs while
# the rest (the Windows toolchains, Wine, the test tools, the libraries
# cross-built for Windows) is installed.
step "install-deps (the Linux build's packages)" bash tools/install-deps.sh run
[ ${#FAILED[@]} -eq 0 ] || { echo "FAILED: ${FAILED[*]}"; exit 1; }
wanted linux && start_build linux 0
step "install-deps (the rest)" bash tools/install-deps.sh
if [ ${#FAILED[@]} -gt 0 ]; then
  [ -n "$BG_PID" ] && wait "$BG_PID"
  echo "FAILED: ${FAILED[*]}"
  exit 1
fi
wanted linux && step "linux build" build_now linux
wanted windows && start_build win64
wanted linux && step "linux tests" run_ctest linux
if wanted windows; then
  step "win64 build" build_now win64
  start_build win32
  step "win64 tests (wine64)" run_ctest win64
  step "win32 build" build_now win32
  wanted asan && start_build asan
  step "win32 tests (wine32: WoW64 and 32-bit Windows)" run_ctest win32
  # The zip files a Windows user downloads, made from the two builds and checked.
  step "windows packages" bash tools/package-windows.sh
fi
wanted asan && step "sanitizers (asan build, unit and GL tests)" sanitizers
wanted fuzz && step "fuzz targets (build, replay the seeds)" fuzz_smoke

echo
if [ ${#FAILED[@]} -gt 0 ]; then
  echo "FAILED: ${FAILED[*]}"
  echo "$TOTAL_PASSED passed, $TOTAL_FAILED failed"
  exit 1
fi
echo "all builds and tests passed"
echo "$TOTAL_PASSED passed, $TOTAL_FAILED failed"
