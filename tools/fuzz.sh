#!/usr/bin/env bash
# Builds every fuzz target tests/fuzz/*Fuzz.cpp with clang's libFuzzer and
# the address and undefined-behaviour sanitizers, then runs one of them.
#
#   tools/fuzz.sh                      build every target
#   tools/fuzz.sh TARGET [SECONDS] [libFuzzer options...]
#                                      build, then fuzz TARGET (default 60 s)
#   e.g. tools/fuzz.sh File3DMFuzz 600
#
# A target names the src/ files it needs, and any libraries (-lNAME), in a
# comment line near its top (the first such line counts):
#   // fuzz-sources: src/model/File3DM.cpp src/gl/DArrays.cpp -ljpeg
# Seeds come from tests/fuzz/corpus/NAME/ (NAME: the target without "Fuzz"),
# tokens from tests/fuzz/NAME.dict when it exists. Everything the run makes
# stays under build/fuzz/: the binaries, the grown corpus (corpus/TARGET/)
# and crashing inputs (artifacts/TARGET/), so the committed seeds stay small.
# Uses one core.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=$ROOT/build/fuzz
CXX=${CXX_FUZZ:-clang++}
FLAGS=(-std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
       -I"$ROOT/src" -I"$ROOT/tests")
TARGET=${1:-}
SECONDS_TO_RUN=${2:-60}
shift $(( $# > 2 ? 2 : $# ))

mkdir -p "$OUT"
cd "$ROOT"

build() {   # build NAME FILE; non-zero when it does not compile
    local name=$1 file=$2 sources
    sources=$(sed -n 's|^// fuzz-sources:||p' "$file" | head -n 1)
    echo "fuzz.sh: building $name from $file $sources"
    # shellcheck disable=SC2086  # the source list is meant to split
    "$CXX" "${FLAGS[@]}" "$file" $sources -o "$OUT/$name"
}

found=0
for file in tests/fuzz/*Fuzz.cpp; do
    [ -e "$file" ] || continue
    found=1
    name=$(basename "$file" .cpp)
    if ! build "$name" "$file"; then
        if [ "$name" = "$TARGET" ]; then
            echo "fuzz.sh: $name does not build" >&2
            exit 1
        fi
        echo "fuzz.sh: warning: $name does not build; skipped" >&2
    fi
done
[ "$found" = 1 ] || { echo "fuzz.sh: no tests/fuzz/*Fuzz.cpp" >&2; exit 1; }
[ -n "$TARGET" ] || exit 0
[ -x "$OUT/$TARGET" ] || { echo "fuzz.sh: unknown target $TARGET" >&2; exit 1; }

base=${TARGET%Fuzz}
corpus=$OUT/corpus/$TARGET
artifacts=$OUT/artifacts/$TARGET
mkdir -p "$corpus" "$artifacts"
args=(-max_total_time="$SECONDS_TO_RUN" -artifact_prefix="$artifacts/" -print_final_stats=1 -timeout=10)
[ -f "tests/fuzz/$base.dict" ] && args+=(-dict="tests/fuzz/$base.dict")
seeds=()
[ -d "tests/fuzz/corpus/$base" ] && seeds+=("tests/fuzz/corpus/$base")
echo "fuzz.sh: running $TARGET for $SECONDS_TO_RUN s; findings go to $artifacts/"
exec "$OUT/$TARGET" "${args[@]}" "$@" "$corpus" "${seeds[@]}"
