#!/bin/bash
# Builds the program, seeds the data folder, and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
sh scripts/deps.sh
cmake -S . -B build/run -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVRIN_TESTS=OFF
cmake --build build/run -j "$(nproc)"
sh scripts/seed-data-folder.sh src/resources
build/run/src/tavrin-cli dump examples/school.BIN
