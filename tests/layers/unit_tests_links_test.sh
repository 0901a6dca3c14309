#!/bin/bash
# The unit tests run on the system's core backends alone: neither their
# link command nor the libraries they load name SDL, X11, EGL or libpng
# (the program's window, foreign-window and headless backends).
#
#   unit_tests_links_test.sh UNIT_TESTS LINK_COMMAND_FILE
set -u
BIN=$1
LINK=$2
BACKENDS='SDL|X11|xcb|EGL|png'
FAILED=0
NEEDED=$(readelf -d "$BIN") || exit 1
if ! grep -q 'NEEDED.*libc[.]so' <<<"$NEEDED"; then
  echo "FAIL: no NEEDED entries read from $BIN"
  exit 1
fi
if grep -E "NEEDED.*($BACKENDS)" <<<"$NEEDED"; then
  echo "FAIL: $BIN loads a backend's library"
  FAILED=1
fi
if ! grep -q 'glimmora_platform_core' "$LINK"; then
  echo "FAIL: $LINK is not the unit tests' link command"
  exit 1
fi
if tr ' ' '\n' <"$LINK" | grep -E "($BACKENDS)"; then
  echo "FAIL: the unit tests link a backend's library"
  FAILED=1
fi
exit $FAILED
