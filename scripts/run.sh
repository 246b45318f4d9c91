#!/bin/bash
# Builds the programs and starts the desktop program, which fills a new data folder by itself.
# Arguments are passed on (a settings file to open). Without a display it runs on a virtual one
# (xvfb-run), invisible; set TAVRIN_STARTUP_PROBE=1 there to have it quit once its window is up.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
sh scripts/deps.sh
cmake -S . -B build/run -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVRIN_TESTS=OFF
cmake --build build/run -j "$(nproc)"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "no display: starting on a virtual X display (xvfb-run)" >&2
  exec xvfb-run -a -s "-screen 0 1024x768x24" build/run/src/tavrin "$@"
fi
exec build/run/src/tavrin "$@"
