#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a short time.
# Usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
CC=clang-16 CXX=clang++-16 scripts/build.sh build-fuzz -DCORVAN_FUZZ=ON -DCORVAN_BENCH=OFF
shopt -s nullglob
targets=(build-fuzz/bin/fuzz_*)
if [ ${#targets[@]} -eq 0 ]; then
  echo "no fuzz targets"
  exit 0
fi
for t in "${targets[@]}"; do
  name=$(basename "$t")
  corpus="build-fuzz/corpus/$name"
  mkdir -p "$corpus"
  seeds=()
  [ -d "fuzz/seeds/$name" ] && seeds+=("fuzz/seeds/$name")
  [ "$name" = fuzz_emf ] && [ -d ../shared/corpus/emf ] && seeds+=(../shared/corpus/emf/libemf2svg/corrupted)
  echo "== $name for ${seconds}s =="
  # Leaks inside the system's codec libraries are not ours (tests/lsan.supp).
  LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp" \
    "$t" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=0 "$corpus" "${seeds[@]}" 2>&1 | tail -3
done
