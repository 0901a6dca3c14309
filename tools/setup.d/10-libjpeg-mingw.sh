#!/bin/bash
# Cross-compiles libjpeg-turbo for the two Windows targets from Debian's own
# source package, as static libraries, into build/deps/libjpeg-<triple>/.
# cmake/Libjpeg.cmake links the Windows programs against them, so they need
# no DLL.
# Does nothing when both builds are already there.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
DEPS=$ROOT/build/deps
TRIPLES=(x86_64-w64-mingw32 i686-w64-mingw32)

NEEDED=()
for T in "${TRIPLES[@]}"; do
  [ -f "$DEPS/libjpeg-$T/lib/libjpeg.a" ] || NEEDED+=("$T")
done
[ ${#NEEDED[@]} -eq 0 ] && exit 0

SUDO=; [ "$(id -u)" -ne 0 ] && SUDO=sudo

# apt-get source needs a deb-src entry; Debian 12 keeps its sources in
# deb822 form, older set-ups in sources.list.
have_deb_src() {
  grep -Eqs '^\s*Types:.*deb-src' /etc/apt/sources.list.d/*.sources ||
    grep -Eqs '^\s*deb-src\s' /etc/apt/sources.list /etc/apt/sources.list.d/*.list
}
if ! have_deb_src; then
  echo "libjpeg: enabling deb-src in the apt sources"
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    $SUDO sed -i -E 's/^Types:\s*deb\s*$/Types: deb deb-src/' /etc/apt/sources.list.d/debian.sources
  elif [ -f /etc/apt/sources.list ]; then
    $SUDO sed -i -E 's/^(\s*)deb(\s+)(.*)$/&\n\1deb-src\2\3/' /etc/apt/sources.list
  fi
  $SUDO apt-get update -qq
fi
if ! command -v dpkg-source >/dev/null; then
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends dpkg-dev >/dev/null
fi

SRC_PARENT=$DEPS/src
mkdir -p "$SRC_PARENT"
SRC=$(find "$SRC_PARENT" -maxdepth 1 -type d -name 'libjpeg-turbo-*' | sort | head -n 1)
if [ -z "$SRC" ] || [ ! -f "$SRC/CMakeLists.txt" ]; then
  echo "libjpeg: fetching Debian's source package"
  (cd "$SRC_PARENT" && apt-get source -qq libjpeg-turbo >/dev/null)
  SRC=$(find "$SRC_PARENT" -maxdepth 1 -type d -name 'libjpeg-turbo-*' | sort | head -n 1)
fi
[ -n "$SRC" ] && [ -f "$SRC/CMakeLists.txt" ] || { echo "libjpeg: source package not found" >&2; exit 1; }

for T in "${NEEDED[@]}"; do
  echo "libjpeg: building for $T"
  case $T in
    x86_64-*) PROC=AMD64 ;;
    *) PROC=X86 ;;
  esac
  WORK=$DEPS/libjpeg-build-$T
  PREFIX=$DEPS/libjpeg-$T
  rm -rf "$WORK" "$PREFIX"
  mkdir -p "$WORK"
  cat >"$WORK/toolchain.cmake" <<TC
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR $PROC)
set(CMAKE_C_COMPILER $T-gcc-posix)
set(CMAKE_CXX_COMPILER $T-g++-posix)
set(CMAKE_RC_COMPILER $T-windres)
set(CMAKE_FIND_ROOT_PATH /usr/$T)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
TC
  cmake -S "$SRC" -B "$WORK" -DCMAKE_TOOLCHAIN_FILE="$WORK/toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF \
    -DREQUIRE_SIMD=OFF >"$WORK/configure.log" 2>&1 ||
    { tail -n 30 "$WORK/configure.log" >&2; exit 1; }
  cmake --build "$WORK" -j2 --target jpeg-static >"$WORK/build.log" 2>&1 ||
    { tail -n 30 "$WORK/build.log" >&2; exit 1; }
  # Install only what the program links: the library and its four headers.
  mkdir -p "$PREFIX/lib" "$PREFIX/include"
  cp "$WORK/libjpeg.a" "$PREFIX/lib/libjpeg.a.tmp"
  cp "$SRC/jpeglib.h" "$SRC/jmorecfg.h" "$SRC/jerror.h" "$WORK/jconfig.h" "$PREFIX/include/"
  mv "$PREFIX/lib/libjpeg.a.tmp" "$PREFIX/lib/libjpeg.a"
  rm -rf "$WORK"
done
echo "libjpeg: ready for ${TRIPLES[*]}"
