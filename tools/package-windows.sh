#!/bin/bash
# Makes the packages a Windows user downloads:
#   dist/Glimmora3D-VERSION-win32.zip and dist/Glimmora3D-VERSION-win64.zip
# (VERSION: the project's, from CMakeLists.txt) each with Glimmora3D.scr,
# its twin Glimmora3D.exe and README.txt (the version filled in, CR LF line
# ends, so Notepad shows it right). Builds the win32 and win64
# presets first (nothing is rebuilt when they are up to date), then checks
# the archives with tests/win/package_check.py.
#   tools/package-windows.sh [win32|win64]...   (default: both)
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
VERSION=$(sed -nE 's/^project\(Glimmora3D VERSION ([0-9]+\.[0-9]+).*/\1/p' CMakeLists.txt)
[ -n "$VERSION" ] || { echo "package-windows: no version in CMakeLists.txt" >&2; exit 1; }
PRESETS=("$@")
[ ${#PRESETS[@]} -gt 0 ] || PRESETS=(win32 win64)
mkdir -p dist
for P in "${PRESETS[@]}"; do
  case $P in win32 | win64) ;; *) echo "package-windows: unknown preset $P" >&2; exit 2 ;; esac
  cmake --preset "$P" >/dev/null
  cmake --build --preset "$P" --target Glimmora3D
  STAGE=$(mktemp -d)
  trap 'rm -rf "$STAGE"' EXIT
  cp "build/$P/Glimmora3D.scr" "build/$P/Glimmora3D.exe" "$STAGE/"
  sed -e "s/@VERSION@/$VERSION/g" -e 's/\r*$/\r/' packaging/windows/README.txt >"$STAGE/README.txt"
  ZIP=$ROOT/dist/Glimmora3D-$VERSION-$P.zip
  rm -f "$ZIP"
  (cd "$STAGE" && cmake -E tar cf "$ZIP" --format=zip Glimmora3D.scr Glimmora3D.exe README.txt)
  rm -rf "$STAGE"
  trap - EXIT
  python3 tests/win/package_check.py "$ZIP" "$P"
done
