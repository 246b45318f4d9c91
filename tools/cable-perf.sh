#!/bin/bash
# Times full cable transfers of tavrin-cli against vl3400-sim, with the simulator pacing both
# directions at the wire's speed: total time against the wire-time limit of the bytes exchanged,
# and the program's reply latency per frame (the timer's check byte leaving to the last byte of
# the program's reply arriving), median and maximum.
#   bash tools/cable-perf.sh BUILD_DIR [REQUEST_SIZE]
set -euo pipefail
build=$(cd "${1:?build folder}" && pwd)
size=${2:-256}
cli=$build/src/tavrin-cli
sim=$build/src/vl3400-sim
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
python3 -c '
data = bytearray((i * 7 + i // 256) & 0xFF for i in range(6594))
data[0:16] = b"KORVA VL3 V01.00"; data[16:20] = b"VL3X"
open("image.BIN", "wb").write(data)'

printf '%-6s %6s %6s %9s %9s %8s %11s %11s\n' dir baud frames total-s wire-s ratio median-ms max-ms
for baud in 38400 19200; do
  for direction in write read; do
    if [ "$direction" = write ]; then
      args=(fn11 --out received.BIN)
    else
      args=(fn13 --image image.BIN)
    fi
    "$sim" "${args[@]}" --size "$size" --baud "$baud" --stats >sim.out 2>sim.err &
    pid=$!
    for _ in $(seq 100); do grep -q '^PTY' sim.out && break; sleep 0.05; done
    pty=$(awk '/^PTY/ {print $2}' sim.out)
    if [ "$direction" = write ]; then
      "$cli" cable-write image.BIN --port "$pty" --baud "$baud" >/dev/null
    else
      "$cli" cable-read out.BIN --port "$pty" --baud "$baud" >/dev/null
    fi
    wait "$pid"
    awk -v dir="$direction" -v baud="$baud" '
      { v[$1] = $2 }
      END {
        printf "%-6s %6s %6d %9.4f %9.4f %8.4f %11.3f %11.3f\n", dir, baud, v["frames"],
               v["total-s"], v["wire-s"], v["total-s"] / v["wire-s"],
               v["latency-median-ms"], v["latency-max-ms"]
      }' sim.out
  done
done
