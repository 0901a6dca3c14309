#!/bin/bash
# Builds libjpeg-turbo for the fuzz targets from Debian's own source package
# (fetched by 10-libjpeg-mingw.sh into build/deps/src/), with clang and the
# fuzzing flags, as a static library in build/deps/libjpeg-fuzz/. The `fuzz`
# preset links the JPEG decoder against it, so the fuzzer sees the
# branches inside libjpeg and the sanitizers check its memory.
# Does nothing when the build is already there or clang is missing.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
DEPS=$ROOT/build/deps
PREFIX=$DEPS/libjpeg-fuzz
[ -f "$PREFIX/lib/libjpeg.a" ] && exit 0
command -v clang >/dev/null || { echo "libjpeg-fuzz: clang is missing, skipped"; exit 0; }

SRC=$(find -L "$DEPS/src" -maxdepth 1 -type d -name 'libjpeg-turbo-*' 2>/dev/null | sort | head -n 1)
[ -n "$SRC" ] && [ -f "$SRC/CMakeLists.txt" ] ||
  { echo "libjpeg-fuzz: no source package under $DEPS/src (10-libjpeg-mingw.sh fetches it)" >&2; exit 1; }

echo "libjpeg: building for the fuzz targets"
FLAGS="-O1 -g -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined"
WORK=$DEPS/libjpeg-build-fuzz
rm -rf "$WORK" "$PREFIX"
mkdir -p "$WORK"
# No SIMD: the assembly kernels are invisible to the instrumentation.
cmake -S "$SRC" -B "$WORK" -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_COMPILER=clang \
  -DCMAKE_C_FLAGS="$FLAGS" -DCMAKE_C_FLAGS_RELEASE="" -DCMAKE_INSTALL_PREFIX="$PREFIX" \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF -DREQUIRE_SIMD=OFF \
  >"$WORK/configure.log" 2>&1 || { tail -n 30 "$WORK/configure.log" >&2; exit 1; }
cmake --build "$WORK" -j2 --target jpeg-static >"$WORK/build.log" 2>&1 ||
  { tail -n 30 "$WORK/build.log" >&2; exit 1; }
mkdir -p "$PREFIX/lib" "$PREFIX/include"
cp "$WORK/libjpeg.a" "$PREFIX/lib/libjpeg.a.tmp"
cp "$SRC/jpeglib.h" "$SRC/jmorecfg.h" "$SRC/jerror.h" "$WORK/jconfig.h" "$PREFIX/include/"
mv "$PREFIX/lib/libjpeg.a.tmp" "$PREFIX/lib/libjpeg.a"
rm -rf "$WORK"
echo "libjpeg: ready for the fuzz targets"
