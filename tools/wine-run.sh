#!/bin/bash
# Runs a Windows program of the 64-bit build under wine64, in a Wine prefix
# of the build's own (created once, under a lock, so parallel tests share it).
set -euo pipefail
WINE64=/usr/lib/wine/wine64
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$HERE/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$WINE64" wineboot --init >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -w || true
  fi
) 9>"$WINEPREFIX.lock"
exec "$WINE64" "$@"
