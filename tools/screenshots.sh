#!/bin/bash
# Takes screenshots of the desktop program under a virtual X display: the main window, the editor
# sheet with the summer-time page, the special menu, the about box, the settings-file display, the
# two USB dialogs and both cable dialogs in the middle of a transfer with vl3400-sim, as PNGs in
# shots/ (git ignored). Usage: tools/screenshots.sh [build folder]   (default build/run; build it
# first). The windows are opened through the program's documented test hook TAVRIN_TEST_HOOK.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${1:-$root/build/run}"
program="$build/src/tavrin"
sim="$build/src/vl3400-sim"
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
sh "$root/scripts/seed-data-folder.sh" "$root/src/resources" >/dev/null
export TAVRIN_NOW="${TAVRIN_NOW:-2026-04-01T09:00:00}"
# A saved schedule to carry, and two folders standing in for sticks.
cp "$root/tests/golden/image/school/image.BIN" "$scratch/plan.BIN"
mkdir -p "$scratch/media/STICK" "$scratch/media/CARD"
export TAVRIN_USB_DRIVES="$scratch/media/STICK:$scratch/media/CARD"

xvfb-run -a -s "-screen 0 1024x768x24" bash -s "$program" "$out" "$sim" "$scratch" <<'INNER'
set -euo pipefail
program="$1"; out="$2"; sim="$3"; scratch="$4"
wm=""
if command -v openbox >/dev/null; then
  openbox >/dev/null 2>&1 &
  wm=$!
  sleep 1
fi
shoot() {  # name, hook, seconds to wait, program arguments...
  local name=$1 hook=$2 wait=${3:-2.5}
  shift 3 || shift $#
  TAVRIN_TEST_HOOK="$hook" "$program" "$@" &
  pid=$!
  sleep "$wait"
  import -window root "$out/$name.png"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}
# A slow timer on a pseudo-terminal, so that the shot catches its transfer half done.
shoot_cable() {  # name, hook, simulator arguments...
  local name=$1 hook=$2
  shift 2
  "$sim" "$@" --size 16 --baud 9600 >"$scratch/sim.out" 2>/dev/null &
  local sim_pid=$!
  for _ in $(seq 50); do
    grep -q '^PTY' "$scratch/sim.out" 2>/dev/null && break
    sleep 0.1
  done
  TAVRIN_PORTS=$(awk '/^PTY/ {print $2}' "$scratch/sim.out") shoot "$name" "$hook" 4 "$scratch/plan.BIN"
  kill "$sim_pid" 2>/dev/null || true
  wait "$sim_pid" 2>/dev/null || true
}
shoot main-window ""
shoot summer-time-sheet summer-time
shoot special-menu special-menu
shoot about-box about
shoot settings-display settings-display
shoot usb-write usb-write 2.5 "$scratch/plan.BIN"
shoot usb-read usb-read
shoot_cable cable-write cable-write fn11 --out "$scratch/received.BIN"
shoot_cable cable-read cable-read fn13 --image "$scratch/plan.BIN"
[ -z "$wm" ] || kill "$wm"
INNER
ls -1 "$out"/*.png
