#!/bin/bash
# Start-up benchmark of the desktop program: time from launch to the main window shown and
# painted, and the peak memory (maximum resident set size), over several runs on one virtual X
# display. Goals: under 300 ms and under 80 MB.
# Usage: tools/startup-bench.sh [build folder] [runs]   (default build/run, 10 runs; build first)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${1:-$root/build/run}"
runs="${2:-10}"
program="$build/src/tavrin"
[ -x "$program" ] || { echo "no program at $program: build it first" >&2; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/run" TAVRIN_DATA_DIR="$scratch/data"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

# The display server starts once, outside the measured runs.
xvfb-run -a -s "-screen 0 1024x768x24" bash -s "$program" "$runs" "$scratch" <<'INNER'
set -euo pipefail
program="$1"; runs="$2"; scratch="$3"
"$program" >/dev/null 2>&1 &   # a warm-up run fills the file cache; the probe never starts it
sleep 0.1; kill $! 2>/dev/null || true; wait 2>/dev/null || true
times=(); peaks=()
for ((i = 1; i <= runs; i++)); do
  TAVRIN_STARTUP_PROBE=$(date +%s%N) /usr/bin/time -f "maxrss-kb %M" -o "$scratch/time.txt" \
    "$program" 2>"$scratch/err.txt"
  times+=("$(sed -n 's/^startup-ms //p' "$scratch/err.txt")")
  peaks+=("$(sed -n 's/^maxrss-kb //p' "$scratch/time.txt")")
done
printf '%s\n' "${times[@]}" | sort -n > "$scratch/t.txt"
printf '%s\n' "${peaks[@]}" | sort -n > "$scratch/m.txt"
median() { sed -n "$(( ($(wc -l < "$1") + 1) / 2 ))p" "$1"; }
echo "runs: $runs"
echo "launch to main window shown, ms: median $(median "$scratch/t.txt"), min $(head -1 "$scratch/t.txt"), max $(tail -1 "$scratch/t.txt")"
echo "peak memory (max RSS), MB: median $(awk '{printf "%.1f", $1/1024}' <<<"$(median "$scratch/m.txt")"), max $(awk '{printf "%.1f", $1/1024}' <<<"$(tail -1 "$scratch/m.txt")")"
INNER
