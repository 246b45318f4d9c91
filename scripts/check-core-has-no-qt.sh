#!/bin/sh
# Fails when a core source (anything outside ui/ and platform/) includes a Qt header.
src="$1"
hits=$(find "$src" -path "$src/platform" -prune -o -path "*/ui" -prune -o \
  \( -name '*.cpp' -o -name '*.h' \) -print |
  grep -v -E "^$src/(cli|main\.cpp)" | xargs grep -l -E '#\s*include\s*[<"](Q[A-Za-z]|qt)' 2>/dev/null)
if [ -n "$hits" ]; then
  echo "core files include Qt:"; echo "$hits"; exit 1
fi
echo "core is free of Qt"
