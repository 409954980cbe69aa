#!/usr/bin/env bash
# Installs what is missing, builds from scratch and runs every test: the unit and scenario tests
# in a debug build, the unit tests again under address and undefined-behaviour sanitizers, a release
# build, and the browser tests. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh --browser
jobs=$(nproc)

rm -rf build/debug build/asan-ubsan build/release
cmake --preset debug
cmake --build --preset debug -j "$jobs"
ctest --preset debug -j "$jobs"

cmake --preset asan-ubsan
cmake --build --preset asan-ubsan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --preset asan-ubsan -j "$jobs" -LE browser

# The release build too: the optimiser brings warnings of its own, and the benchmarks live there.
cmake --preset release
cmake --build --preset release -j "$jobs"

if [ -x scripts/browser-test.sh ]; then
  bash scripts/browser-test.sh
fi
