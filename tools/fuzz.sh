#!/usr/bin/env bash
# Builds the libFuzzer targets with the `fuzz` preset (clang, address and
# undefined-behaviour sanitizers; cmake/Fuzz.cmake lists the targets), then
# runs one of them or all of them.
#
#   tools/fuzz.sh                      build every target
#   tools/fuzz.sh TARGET [SECONDS] [libFuzzer options...]
#                                      build, then fuzz TARGET (default 60 s)
#   tools/fuzz.sh all [SECONDS] [libFuzzer options...]
#                                      fuzz every target in turn, SECONDS each
#   e.g. tools/fuzz.sh File3DMFuzz 600
#        tools/fuzz.sh all 0 -runs=10000000    (a long run: 10^7 inputs each)
#
# SECONDS 0 means no time limit (then give -runs=N). After each target one
# summary line goes to stdout:
#   TARGET  runs N  coverage C edges, F features  corpus K  findings M  S s
# findings counts the crashing, leaking, slow and out-of-memory inputs the
# run left in build/fuzz/artifacts/TARGET/; a target with findings makes the
# script end with status 1 (the others still run). The full output of each
# run is in build/fuzz/logs/TARGET.log.
#
# Seeds come from tests/fuzz/corpus/NAME/ (NAME: the target without "Fuzz"),
# tokens from tests/fuzz/NAME.dict when it exists. Everything the run makes
# stays under build/fuzz/: the binaries, the grown corpus (corpus/TARGET/),
# the findings (artifacts/TARGET/) and the logs, so the committed seeds stay
# small. `ctest --preset fuzz` replays every target over its committed seeds.
# Uses one core.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=$ROOT/build/fuzz
TARGET=${1:-}
SECONDS_TO_RUN=${2:-60}
shift $(( $# > 2 ? 2 : $# ))

cd "$ROOT"
cmake --preset fuzz >/dev/null
if [ -z "$TARGET" ]; then
  cmake --build --preset fuzz
  exit 0
fi
if [ "$TARGET" = all ]; then
  cmake --build --preset fuzz >/dev/null
  mapfile -t TARGETS < <(sed -nE 's/^glimmora_fuzz_target\(([A-Za-z0-9_]+Fuzz).*/\1/p' cmake/Fuzz.cmake)
else
  cmake --build --preset fuzz --target "$TARGET" >/dev/null
  TARGETS=("$TARGET")
fi

# Runs one target; prints its summary line; returns 1 when it left findings.
fuzz_one() {
  local T=$1
  shift
  local base=${T%Fuzz}
  local corpus=$OUT/corpus/$T artifacts=$OUT/artifacts/$T log=$OUT/logs/$T.log
  mkdir -p "$corpus" "$artifacts" "$OUT/logs"
  local before
  before=$(find "$artifacts" -type f | wc -l)
  local args=(-max_total_time="$SECONDS_TO_RUN" -artifact_prefix="$artifacts/" -print_final_stats=1 -timeout=10)
  [ -f "tests/fuzz/$base.dict" ] && args+=(-dict="tests/fuzz/$base.dict")
  local seeds=()
  [ -d "tests/fuzz/corpus/$base" ] && seeds+=("tests/fuzz/corpus/$base")
  local start=$SECONDS
  "$OUT/$T" "${args[@]}" "$@" "$corpus" "${seeds[@]}" >"$log" 2>&1 || true
  local runs cov ft size found
  runs=$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+).*/\1/p' "$log" | tail -n 1)
  cov=$(grep -aoE 'cov: [0-9]+ ft: [0-9]+' "$log" | tail -n 1 || true)
  size=$(find "$corpus" -type f | wc -l)
  found=$(( $(find "$artifacts" -type f | wc -l) - before ))
  printf '%-22s runs %s  coverage %s edges, %s features  corpus %s  findings %s  %s s\n' "$T" "${runs:-?}" \
    "$(awk '{print $2}' <<<"${cov:-? ? ? ?}")" "$(awk '{print $4}' <<<"${cov:-? ? ? ?}")" "$size" "$found" \
    "$((SECONDS - start))"
  [ "$found" -eq 0 ]
}

echo "fuzz.sh: ${#TARGETS[@]} target(s), ${SECONDS_TO_RUN} s each (0: no limit); findings go to $OUT/artifacts/"
STATUS=0
for T in "${TARGETS[@]}"; do
  fuzz_one "$T" "$@" || STATUS=1
done
exit $STATUS
