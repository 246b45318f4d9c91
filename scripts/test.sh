#!/bin/bash
# The test command: installs what building and testing need, builds everything (Release, the build
# the package holds, with the benchmarks; warnings are errors) and runs every test. scripts/ci.sh
# runs this and the rest of CI.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
sh scripts/deps.sh
jobs=$(nproc)
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRIN_BENCH=ON -DTAVRIN_WERROR=ON
cmake --build build/test -j "$jobs"
ctest --test-dir build/test --output-on-failure -j "$jobs"
