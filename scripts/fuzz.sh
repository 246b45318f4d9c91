#!/bin/bash
# Builds the libFuzzer targets with clang and runs each over its seed corpus plus RUNS inputs, with
# the dictionary fuzz/NAME.dict where a target has one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-20000}
cd "$root"
CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVRIN_GUI=OFF \
  -DTAVRIN_TESTS=OFF -DTAVRIN_FUZZ=ON -DTAVRIN_WERROR=ON
cmake --build build/fuzz -j "$(nproc)"
for target in build/fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="fuzz/corpus/${name#fuzz_}"
  work=$(mktemp -d)
  [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
  options=(-runs="$runs" -max_len=16384)
  [ -f "fuzz/${name#fuzz_}.dict" ] && options+=(-dict="fuzz/${name#fuzz_}.dict")
  echo "-- $name"
  "$target" "${options[@]}" "$work" 2>&1 | tail -n 2
  rm -rf "$work"
done
