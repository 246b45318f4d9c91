#!/bin/bash
# All of CI, as root on Debian 12: a format check; the test command (scripts/test.sh); the
# package, installed and used in a fresh Debian 12 root; the test command again in another fresh
# root, from a copy of the source tree, so a missing install step fails here and not on a new
# contributor's machine; the core tests under AddressSanitizer and UndefinedBehaviorSanitizer;
# each fuzz target for a bounded run. Warnings are errors in every build. Prints how long each
# step took.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
sh scripts/deps.sh
jobs=$(nproc)
timings=()
step() {  # name, command...
  local name=$1 started=$SECONDS
  shift
  echo "== $name"
  "$@"
  timings+=("$(printf '%6d s  %s' $((SECONDS - started)) "$name")")
}

format_check() {
  local files
  files=$(git ls-files '*.cpp' '*.h' 2>/dev/null ||
    find src tests fuzz bench sim -name '*.cpp' -o -name '*.h')
  # shellcheck disable=SC2086  # one argument per file
  clang-format --dry-run --Werror $files
}
package_and_test() {
  bash scripts/package.sh build/test
  bash scripts/package-test.sh build/test/tavrin_*_amd64.deb
}
sanitizers() {
  cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVRIN_GUI=OFF \
    -DTAVRIN_SANITIZE=address,undefined -DTAVRIN_WERROR=ON
  cmake --build build/asan -j "$jobs"
  ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ctest --test-dir build/asan --output-on-failure -j "$jobs" -L core
}

started=$SECONDS
step "format check" format_check
step "build and every test (scripts/test.sh)" bash scripts/test.sh
step "package, installed and used in a fresh Debian 12 root" package_and_test
step "scripts/test.sh in a fresh Debian 12 root" bash scripts/fresh-root-test.sh
step "core tests under AddressSanitizer and UndefinedBehaviorSanitizer" sanitizers
step "fuzz targets" bash scripts/fuzz.sh 20000
echo "== CI passed"
printf '%s\n' "${timings[@]}"
printf '%6d s  all\n' $((SECONDS - started))
