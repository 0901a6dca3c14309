#!/usr/bin/env bash
# Builds the libFuzzer targets with the `fuzz` preset (clang, address and
# undefined-behaviour sanitizers; cmake/Fuzz.cmake lists the targets), then
# runs one of them.
#
#   tools/fuzz.sh                      build every target
#   tools/fuzz.sh TARGET [SECONDS] [libFuzzer options...]
#                                      build, then fuzz TARGET (default 60 s)
#   e.g. tools/fuzz.sh File3DMFuzz 600
#
# Seeds come from tests/fuzz/corpus/NAME/ (NAME: the target without "Fuzz"),
# tokens from tests/fuzz/NAME.dict when it exists. Everything the run makes
# stays under build/fuzz/: the binaries, the grown corpus (corpus/TARGET/)
# and crashing inputs (artifacts/TARGET/), so the committed seeds stay small.
# `ctest --preset fuzz` replays every target over its committed seeds.
# Uses one core.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=$ROOT/build/fuzz
TARGET=${1:-}
SECONDS_TO_RUN=${2:-60}
shift $(( $# > 2 ? 2 : $# ))

cd "$ROOT"
cmake --preset fuzz >/dev/null
if [ -n "$TARGET" ]; then
    cmake --build --preset fuzz --target "$TARGET"
else
    cmake --build --preset fuzz
    exit 0
fi

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
