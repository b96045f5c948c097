#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Set CORVAN_QUICK=1 to
# skip the sanitizer and fuzzing passes while iterating.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh

werror=OFF
[ "${CI:-}" = "true" ] && werror=ON

# Tests never touch the user's own settings or program folder.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export CORVANRIP_HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config"
export QT_QPA_PLATFORM=offscreen

scripts/build.sh build -DCORVAN_WERROR=$werror
ctest --test-dir build --output-on-failure -j"$(nproc)" --timeout 600

if [ "${CORVAN_QUICK:-0}" != "1" ]; then
  echo "== sanitizer pass (ASan + UBSan) =="
  scripts/build.sh build-asan -DCORVAN_SANITIZE=ON -DCORVAN_BENCH=OFF -DCORVAN_WERROR=$werror
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure -j"$(nproc)" --timeout 900
  scripts/fuzz.sh "${CORVAN_FUZZ_SECONDS:-20}"
fi
