#!/bin/bash
# Takes screenshots of the desktop program under a virtual X display: the main window, the editor
# sheet with the summer-time page, the special menu and the about box, as PNGs in shots/ (git
# ignored). Usage: tools/screenshots.sh [build folder]   (default build/run; build it first).
# The windows are opened through the program's documented test hook TAVRIN_TEST_HOOK.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${1:-$root/build/run}"
program="$build/src/tavrin"
out="$root/shots"
mkdir -p "$out"
[ -x "$program" ] || { echo "no program at $program: build it first" >&2; exit 1; }
# A small window manager draws the captions, so the shots show the windows' titles.
if ! command -v openbox >/dev/null && [ "$(id -u)" = 0 ]; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq openbox >/dev/null
fi

# A private world, so the shots do not depend on (or change) the user's settings.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/run" TAVRIN_DATA_DIR="$scratch/data"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
export TAVRIN_NOW="${TAVRIN_NOW:-2026-04-01T09:00:00}"

xvfb-run -a -s "-screen 0 1024x768x24" bash -s "$program" "$out" <<'INNER'
set -euo pipefail
program="$1"; out="$2"
wm=""
if command -v openbox >/dev/null; then
  openbox >/dev/null 2>&1 &
  wm=$!
  sleep 1
fi
shoot() {  # name, hook
  TAVRIN_TEST_HOOK="$2" "$program" &
  pid=$!
  sleep 2.5
  import -window root "$out/$1.png"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}
shoot main-window ""
shoot summer-time-sheet summer-time
shoot special-menu special-menu
shoot about-box about
shoot settings-display settings-display
[ -z "$wm" ] || kill "$wm"
INNER
ls -1 "$out"/*.png
