#!/bin/bash
# Takes screenshots of the desktop program under a virtual X display: the main window, the editor
# sheet with the summer-time page, the special menu, the about box, the settings-file display, and
# with the school example open the channel and weekly-program windows, the annual page in each
# kind, the annual confirmation of a month that starts on a Saturday and the radio page; the two
# USB dialogs and both cable dialogs in the middle of a transfer with vl3400-sim, and the write
# dialog on a port closed to the user; the agenda of the school and the schedule check of a new
# document; the guide window.
# Usage: tools/screenshots.sh [build folder]   (default build/run; build it first): every shot, as
#          PNGs of the whole screen in shots/ (git ignored);
#        tools/screenshots.sh BUILD --guide GUIDE DIR: the shots the guide's pages (GUIDE/*.md)
#          show (each "images/NAME.png" they name), cut to the windows, into DIR (the guide-images
#          target).
# The windows are opened through the program's documented test hook TAVRIN_TEST_HOOK.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${1:-$root/build/run}"
program="$build/src/tavrin"
sim="$build/src/vl3400-sim"
out="$root/shots"
names=()
trim=0
if [ "${2:-}" = "--guide" ]; then
  [ $# -eq 4 ] || { echo "usage: $0 BUILD --guide GUIDE DIR" >&2; exit 2; }
  out="$4"
  mapfile -t names < <(cat "$3"/*.md | grep -oE '\]\(images/[a-z0-9-]+\.png\)' |
    sed -E 's/.*images\/(.*)\.png\)/\1/' | sort -u)
  [ ${#names[@]} -gt 0 ] || { echo "$3 shows no images/NAME.png" >&2; exit 1; }
  trim=1
fi
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
# A saved schedule to carry, and two folders standing in for sticks.
cp "$root/tests/golden/image/school/image.BIN" "$scratch/plan.BIN"
mkdir -p "$scratch/media/STICK" "$scratch/media/CARD"
export TAVRIN_USB_DRIVES="$scratch/media/STICK:$scratch/media/CARD"

# The school with one individual day in August 2026, a month that starts on a Saturday: with the
# summer vacation (a period), 山の日 (a holiday) and that day the calendar shows every source.
august=2026-08-05T09:00:00
python3 - "$root/examples/school.json" "$scratch/august.json" <<'PY'
import json, sys
schedule = json.load(open(sys.argv[1], encoding="utf-8"))
schedule["dates"].append({"slot": len(schedule["dates"]), "year": 2026, "month": 8, "day": 20,
                          "program": 3})
json.dump(schedule, open(sys.argv[2], "w", encoding="utf-8"), ensure_ascii=False)
PY
"$build/src/tavrin-cli" pack "$scratch/august.json" -o "$scratch/august" \
  --data-dir "$root/src/resources" --now "$august" >/dev/null

xvfb-run -a -s "-screen 0 1280x1024x24 -br" bash -s "$program" "$out" "$root/examples/school.BIN" \
  "$scratch/august.BIN" "$august" "$sim" "$scratch" "$trim" "${names[@]}" <<'INNER'
set -euo pipefail
program="$1"; out="$2"; school="$3"; augustFile="$4"; august="$5"; sim="$6"; scratch="$7"
trim="$8"
shift 8
wm=""
if command -v openbox >/dev/null; then
  openbox >/dev/null 2>&1 &
  wm=$!
  sleep 1
fi
launch=()  # what the program runs under
shoot() {  # name, hook, seconds to wait, program arguments...
  local name=$1 hook=$2 wait=${3:-2.5}
  shift 3 || shift $#
  TAVRIN_TEST_HOOK="$hook" "${launch[@]}" "$program" "$@" &
  pid=$!
  sleep "$wait"
  if [ "$trim" = 1 ]; then
    # The windows without the empty screen around them.
    import -window root -trim +repage "$out/$name.png"
  else
    import -window root "$out/$name.png"
  fi
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}
start_sim() {  # simulator arguments...; sets sim_pid and pty
  rm -f "$scratch/sim.out"  # the previous simulator's PTY line must not be read
  "$sim" "$@" >"$scratch/sim.out" 2>/dev/null &
  sim_pid=$!
  for _ in $(seq 50); do
    grep -q '^PTY' "$scratch/sim.out" 2>/dev/null && break
    sleep 0.1
  done
  pty=$(awk '/^PTY/ {print $2}' "$scratch/sim.out")
}
stop_sim() {
  kill "$sim_pid" 2>/dev/null || true
  wait "$sim_pid" 2>/dev/null || true
}
# A slow timer on a pseudo-terminal, so that the shot catches its transfer half done.
shoot_cable() {  # name, hook, simulator arguments...
  local name=$1 hook=$2
  shift 2
  start_sim "$@" --size 16 --baud 9600
  TAVRIN_PORTS=$pty shoot "$name" "$hook" 4 "$scratch/plan.BIN"
  stop_sim
}
# The timer's line closed to the user; root passes every permission check, so the program runs
# without the capabilities that let it.
shoot_closed_port() {
  start_sim fn11 --out "$scratch/received.BIN" --wait 10
  chmod 000 "$pty"
  [ "$(id -u)" = 0 ] && launch=(setpriv --bounding-set=-dac_override,-dac_read_search --)
  TAVRIN_PORTS=$pty shoot cable-closed-port cable-write 3 "$scratch/plan.BIN"
  launch=()
  stop_sim
}
take() {  # name: one shot by its name
  case "$1" in
    main-window) shoot main-window "" 3.5 ;;
    main-window-school) shoot main-window-school "" 3.5 "$school" ;;
    summer-time-sheet) shoot summer-time-sheet summer-time 3.5 ;;
    annual-basic) shoot annual-basic annual 3.5 "$school" ;;
    annual-period | annual-holiday | annual-individual) shoot "$1" "$1" 3.5 "$school" ;;
    annual-confirm) TAVRIN_NOW="$august" shoot annual-confirm annual-confirm 3.5 "$augustFile" ;;
    radio-tree) shoot radio-tree radio 3.5 ;;
    special-menu | settings-display | guide) shoot "$1" "$1" 3.5 ;;
    about-box) shoot about-box about 3.5 ;;
    channels | weekly | weekly-steps | weekly-channel | weekly-names | weekly-overview | \
      confirm-time-signal | confirm-keep) shoot "$1" "$1" 3.5 "$school" ;;
    usb-write) shoot usb-write usb-write 2.5 "$scratch/plan.BIN" ;;
    usb-read) shoot usb-read usb-read 2.5 ;;
    cable-write) shoot_cable cable-write cable-write fn11 --out "$scratch/received.BIN" ;;
    cable-read) shoot_cable cable-read cable-read fn13 --image "$scratch/plan.BIN" ;;
    cable-closed-port) shoot_closed_port ;;
    agenda) shoot agenda agenda 3.5 "$school" ;;
    # A new document: the check finds its basic program missing.
    check) shoot check check 3.5 ;;
    *) echo "no screenshot is called $1" >&2; return 1 ;;
  esac
}
if [ $# -eq 0 ]; then
  set -- main-window summer-time-sheet annual-basic annual-period annual-holiday \
    annual-individual annual-confirm radio-tree special-menu about-box settings-display channels \
    weekly weekly-steps weekly-channel weekly-names weekly-overview confirm-time-signal \
    confirm-keep usb-write usb-read cable-write cable-read cable-closed-port agenda check guide
fi
for name in "$@"; do take "$name"; done
[ -z "$wm" ] || kill "$wm"
INNER
ls -1 "$out"/*.png
