#!/bin/bash
# Builds everything and runs every test: the normal build, a format check, the core tests again
# under AddressSanitizer and UndefinedBehaviorSanitizer, and each fuzz target for a bounded run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
sh scripts/deps.sh
jobs=$(nproc)

echo "== format check"
files=$(git ls-files '*.cpp' '*.h' 2>/dev/null || find src tests fuzz bench sim -name '*.cpp' -o -name '*.h')
clang-format --dry-run --Werror $files

echo "== build and test"
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVRIN_BENCH=ON
cmake --build build/test -j "$jobs"
ctest --test-dir build/test --output-on-failure -j "$jobs"

echo "== core tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVRIN_GUI=OFF \
  -DTAVRIN_SANITIZE=address,undefined
cmake --build build/asan -j "$jobs"
ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir build/asan --output-on-failure -j "$jobs" -L core

echo "== fuzz targets"
bash scripts/fuzz.sh 20000
