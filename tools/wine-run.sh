#!/bin/bash
# Runs a Windows program of one of the Windows builds under Wine, in a Wine
# prefix of the build tree's own (created once, under a lock, so parallel
# tests share it).
#
#   wine-run.sh [win64|wow64|win32] PROGRAM [ARGS...]
#
# win64 (the default): a 64-bit program on 64-bit Windows (wine64);
# wow64: a 32-bit program on 64-bit Windows (the 32-bit loader in the same
# 64-bit prefix, which holds SysWOW64); win32: a 32-bit program on 32-bit
# Windows (a prefix made with WINEARCH=win32).
set -euo pipefail
KIND=win64
case ${1:-} in win64 | wow64 | win32) KIND=$1; shift ;; esac
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
case $KIND in
  win64) LOADER=/usr/lib/wine/wine64 BOOT=/usr/lib/wine/wine64 ARCH=win64 ;;
  wow64) LOADER=/usr/lib/wine/wine BOOT=/usr/lib/wine/wine64 ARCH=win64 ;;
  win32) LOADER=/usr/lib/wine/wine BOOT=/usr/lib/wine/wine ARCH=win32 ;;
esac
if ! "$LOADER" --version >/dev/null 2>&1; then
  echo "wine-run: $LOADER does not run on this machine (32-bit Windows programs need a kernel that runs 32-bit code and wine32:i386)" >&2
  exit 1
fi
DEFAULT_PREFIX=$HERE/build/wineprefix
[ "$ARCH" = win32 ] && DEFAULT_PREFIX=$HERE/build/wineprefix-win32
export WINEPREFIX=${WINEPREFIX:-$DEFAULT_PREFIX}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    WINEARCH=$ARCH "$BOOT" wineboot --init >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -w || true
  fi
) 9>"$WINEPREFIX.lock"
exec "$LOADER" "$@"
