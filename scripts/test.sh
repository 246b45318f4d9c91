#!/bin/bash
# Builds everything and runs every test: a format check, the Release build (the one the package
# holds) with every test, the package itself, the core tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer in a Debug build, and each fuzz target for a bounded run (clang,
# RelWithDebInfo). Warnings are errors in all of them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
sh scripts/deps.sh
jobs=$(nproc)

echo "== format check"
files=$(git ls-files '*.cpp' '*.h' 2>/dev/null || find src tests fuzz bench sim -name '*.cpp' -o -name '*.h')
clang-format --dry-run --Werror $files

echo "== build and test (Release)"
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRIN_BENCH=ON -DTAVRIN_WERROR=ON
cmake --build build/test -j "$jobs"
ctest --test-dir build/test --output-on-failure -j "$jobs"

echo "== package, then installed and run in a fresh Debian 12 root"
bash scripts/package.sh build/test
bash scripts/package-test.sh build/test/tavrin_*_amd64.deb

echo "== core tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVRIN_GUI=OFF \
  -DTAVRIN_SANITIZE=address,undefined -DTAVRIN_WERROR=ON
cmake --build build/asan -j "$jobs"
ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir build/asan --output-on-failure -j "$jobs" -L core

echo "== fuzz targets"
bash scripts/fuzz.sh 20000
