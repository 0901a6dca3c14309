#!/bin/bash
# The built Glimmora3D.scr as a file: a GUI program that needs no MinGW
# DLL, its .exe twin of the same bytes, and its resources (the name the
# system lists, the version, the manifest, the icon, every asset once).
# Runs no program; works on either build:
#
#   GLIMMORA_BUILD=build/win32 bash tests/win/resources_test.sh
. "$(dirname "${BASH_SOURCE[0]}")/harness.sh"

SCR=$HARNESS_BUILD/Glimmora3D.scr
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
if x86_64-w64-mingw32-objdump -f "$SCR" | grep -q 'file format pei-x86-64'; then
  TRIPLE=x86_64-w64-mingw32
else
  TRIPLE=i686-w64-mingw32
fi
"$TRIPLE-objdump" -p "$SCR" >"$TMP/headers.txt"
"$TRIPLE-windres" -i "$SCR" -O rc -o "$TMP/res.rc"
has() { grep -qF -- "$1" "$2"; }
lacks() { ! grep -qiE -- "$1" "$2"; }

check "the .exe twin has the same bytes" cmp -s "$SCR" "$HARNESS_BUILD/Glimmora3D.exe"
check "a GUI program" has "(Windows GUI)" "$TMP/headers.txt"
check "that needs no MinGW DLL" lacks "DLL Name: (libgcc|libstdc|libwinpthread|libjpeg)" "$TMP/headers.txt"
check "string 1 is the name in the saver list" has '1, "Glimmora 3D"' "$TMP/res.rc"
check "version $HARNESS_VERSION.0" has "FILEVERSION ${HARNESS_VERSION%.*}, ${HARNESS_VERSION#*.}, 0, 0" "$TMP/res.rc"
check "by Tarnwick Software" has 'VALUE "CompanyName", "Tarnwick Software"' "$TMP/res.rc"
check "product Glimmora 3D" has 'VALUE "ProductName", "Glimmora 3D"' "$TMP/res.rc"
check "described as Glimmora 3D" has 'VALUE "FileDescription", "Glimmora 3D"' "$TMP/res.rc"
check "a manifest" has '1 24 /* RT_MANIFEST */' "$TMP/res.rc"
check "per-monitor DPI aware (version 2)" has 'PerMonitorV2, PerMonitor</dpiAwareness>' "$TMP/res.rc"
check "with the older per-monitor fallback" has 'true/pm</dpiAware>' "$TMP/res.rc"
check "run as the invoker" has 'level=""asInvoker""' "$TMP/res.rc"
check "common controls 6" has 'name=""Microsoft.Windows.Common-Controls"" version=""6.0.0.0""' "$TMP/res.rc"
check "an icon" has '"MAINICON" 14 /* RT_GROUP_ICON */' "$TMP/res.rc"
MISSING=
for F in "$HARNESS_SOURCE"/resources/*; do
  [ -f "$F" ] || continue
  N=$(basename "$F")
  NAME=$(echo "${N/./_}" | tr '[:lower:]' '[:upper:]')
  [ "$(grep -c "^\"$NAME\" " "$TMP/res.rc")" = 1 ] || MISSING="$MISSING $NAME"
done
check "every asset embedded once${MISSING:+ (not:$MISSING)}" test -z "$MISSING"
check "and the icon not among them" lacks '^"GLIMMORA3D_ICO"' "$TMP/res.rc"
finish
