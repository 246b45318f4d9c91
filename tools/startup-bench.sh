#!/bin/bash
# Start-up benchmark of the desktop program beside a minimal Qt Widgets program with a Japanese
# menu bar, built here from the same Qt: for each, the time from launch to the main window shown
# and painted, the processor time it took to get there (user + system, as the program says it)
# and the peak memory (maximum resident set size), over several runs on one virtual X display, the two programs taking turns. The goal is
# the program within 1.15 times the minimal program's time and CPU.
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

# The yardstick: what any Qt Widgets program pays to show a main window with a Japanese menu bar
# and a Japanese font, and answers the same probe as the program.
cat >"$scratch/minimal.cpp" <<'CPP'
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>
#include <sys/resource.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("Tavrin - 新規作成"));
  for (const char* title : {"ファイル(&F)", "編集(&E)", "表示(&V)", "接続処理(&C)", "ヘルプ(&H)"})
    window.menuBar()->addMenu(QString::fromUtf8(title))->addAction(QStringLiteral("新規作成(&N)"));
  window.resize(800, 500);
  window.show();
  QTimer::singleShot(0, &window, [&window] {
    window.repaint();
    const long long launch = std::atoll(std::getenv("TAVRIN_STARTUP_PROBE"));
    const long long now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                              std::chrono::system_clock::now().time_since_epoch()).count();
    std::fprintf(stderr, "startup-ms %.1f\n", (now - launch) / 1e6);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::fprintf(stderr, "startup-cpu-ms %.1f\n",
                 (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                     (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3);
    QCoreApplication::exit(0);
  });
  return app.exec();
}
CPP
# shellcheck disable=SC2046
g++ -std=c++17 -O2 -fPIC "$scratch/minimal.cpp" -o "$scratch/minimal" $(pkg-config --cflags --libs Qt6Widgets)

# The display server starts once, outside the measured runs.
xvfb-run -a -s "-screen 0 1024x768x24" bash -s "$program" "$scratch/minimal" "$runs" "$scratch" <<'INNER'
set -euo pipefail
program="$1"; minimal="$2"; runs="$3"; scratch="$4"
for warm in "$program" "$minimal"; do  # a warm-up run of each fills the file cache
  TAVRIN_STARTUP_PROBE=$(date +%s%N) "$warm" >/dev/null 2>&1 || true
done
measure() {  # name, program: one run, appended to the name's lists
  # The programs say their times; wait4 gives the peak memory.
  python3 - "$2" "$scratch/$1" <<'PY'
import os, subprocess, sys, time
env = dict(os.environ, TAVRIN_STARTUP_PROBE=str(time.time_ns()))
child = subprocess.Popen([sys.argv[1]], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
err = child.stderr.read().decode()
_, _, usage = os.wait4(child.pid, 0)
probe = dict(line.split() for line in err.splitlines() if line.startswith("startup-"))
with open(sys.argv[2] + ".ms", "a") as f: f.write(probe["startup-ms"] + "\n")
with open(sys.argv[2] + ".cpu", "a") as f: f.write(probe["startup-cpu-ms"] + "\n")
with open(sys.argv[2] + ".kb", "a") as f: f.write("%d\n" % usage.ru_maxrss)
PY
}
for ((i = 1; i <= runs; i++)); do
  measure tavrin "$program"
  measure minimal "$minimal"
done
median() { sort -n "$1" | sed -n "$(( ($(wc -l < "$1") + 1) / 2 ))p"; }
echo "runs: $runs each, taking turns"
printf '%-22s %12s %12s %12s\n' "" "tavrin" "minimal" "ratio"
row() {  # label, suffix, scale divisor
  local a b
  a=$(median "$scratch/tavrin.$2"); b=$(median "$scratch/minimal.$2")
  awk -v l="$1" -v a="$a" -v b="$b" -v d="$3" \
    'BEGIN {printf "%-22s %12.1f %12.1f %12.2f\n", l, a / d, b / d, (b > 0 ? a / b : 0)}'
}
row "shown, ms (median)" ms 1
row "CPU, ms (median)" cpu 1
row "peak memory, MB" kb 1024
echo "shown, ms, all runs: tavrin $(sort -n "$scratch/tavrin.ms" | tr '\n' ' ')"
echo "                    minimal $(sort -n "$scratch/minimal.ms" | tr '\n' ' ')"
echo "CPU, ms, all runs:   tavrin $(sort -n "$scratch/tavrin.cpu" | tr '\n' ' ')"
echo "                    minimal $(sort -n "$scratch/minimal.cpu" | tr '\n' ' ')"
INNER
