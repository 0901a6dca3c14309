#!/bin/bash
# Builds everything and runs every test: the native tests, the same unit
# tests and the window-level tests of the 64-bit Windows build under wine64,
# and the 32-bit Windows build (which cannot run here, so it must link).
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash tools/install-deps.sh || exit 1

FAILED=()
step() {
  local NAME=$1
  shift
  echo "=== $NAME"
  if ! "$@"; then FAILED+=("$NAME"); fi
}
build() { cmake --preset "$1" >/dev/null && cmake --build --preset "$1"; }

step "linux build" build linux
step "linux tests" ctest --preset linux
step "win64 build" build win64
step "win64 tests (wine64)" ctest --preset win64
step "win32 build" build win32

echo
if [ ${#FAILED[@]} -gt 0 ]; then
  echo "FAILED: ${FAILED[*]}"
  exit 1
fi
echo "all builds and tests passed"
