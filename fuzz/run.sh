#!/usr/bin/env bash
# Builds the fuzzers with clang's libFuzzer straight from the core sources and runs each for a
# fixed time (seconds, default 60). Not part of CI. Usage: fuzz/run.sh [seconds] [ini|dbf ...]
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_EACH=${1:-60}
shift || true
TARGETS=("$@")
[ ${#TARGETS[@]} -eq 0 ] && TARGETS=(ini dbf)
OUT=build/fuzz
mkdir -p "$OUT"
CORE=$(ls src/core/*.cpp)
for t in "${TARGETS[@]}"; do
  clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -Isrc $CORE "fuzz/fuzz_$t.cpp" -o "$OUT/fuzz_$t"
  mkdir -p "$OUT/corpus_$t"
  cp -n fuzz/seeds/$t/* "$OUT/corpus_$t/" 2>/dev/null || true
  echo "== fuzz_$t for ${SECONDS_EACH}s"
  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "$OUT/fuzz_$t" -max_total_time="$SECONDS_EACH" -max_len=4096 -artifact_prefix="$OUT/crash_$t-" \
    "$OUT/corpus_$t"
done
