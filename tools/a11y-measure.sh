#!/bin/bash
# Runs tools/a11y-measure.py on the desktop program under a virtual display with openbox and a
# D-Bus session of its own, where the accessibility bus starts on demand; the school example open.
# Usage: tools/a11y-measure.sh [build folder]   (default build/run; build it first)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program="${1:-$root/build/run}/src/tavrin"
[ -x "$program" ] || { echo "no program at $program: build it first" >&2; exit 1; }
xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- bash -c '
  openbox >/dev/null 2>&1 &
  sleep 1
  /usr/bin/python3 "$0" "$1" "$2"' "$root/tools/a11y-measure.py" "$program" "$root/examples/school.BIN"
