#!/bin/bash
# The desktop program's command line as a terminal user meets it: --help and --version answer and
# exit without a window (and without a display to open one on), a wrong option (also without a
# display) or test hook is refused with status 2 instead of being taken for a file, and "--" lets
# a file name start with "-", and a mistyped TAVRIN_NOW is refused. Arguments: build folder,
# source folder.
set -uo pipefail
build=$(cd "$1" && pwd)
program=$build/src/tavrin
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
# A private runtime folder: the single-instance lock of a program that wrongly starts stays here.
export XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/config TAVRIN_DATA_DIR=$work/data
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

# run PLATFORM ARGS...: the program with a time limit; sets RC, OUT and ERR. On the X11
# platform without a display, a program that opened its window would fail; on the offscreen one
# it would run until the limit. "terminal" is a user's terminal: no display and no platform set.
run() {
  local platform=(QT_QPA_PLATFORM="$1")
  [ "$1" = terminal ] && platform=(-u QT_QPA_PLATFORM)
  shift
  env -u DISPLAY -u WAYLAND_DISPLAY "${platform[@]}" timeout 20 "$program" "$@" \
    >"$work/out" 2>"$work/err"
  RC=$?
  OUT=$(cat "$work/out")
  ERR=$(cat "$work/err")
}

for help in --help -h; do
  run terminal "$help"
  [ "$RC" = 0 ] || fail "$help: exit $RC ($ERR)"
  grep -q '^usage: tavrin \[FILE.BIN\]$' <<<"$OUT" || fail "$help: no usage line: $OUT"
  grep -q -- '--version' <<<"$OUT" || fail "$help: --version not described"
done
run xcb --version
[ "$RC" = 0 ] && [ "$OUT" = "tavrin 1.06" ] || fail "--version: exit $RC, \"$OUT\" ($ERR)"
run xcb some.BIN --help
[ "$RC" = 0 ] && grep -q '^usage:' <<<"$OUT" || fail "--help after a file: exit $RC"

# Refused before Qt looks for a display, beside Qt's own options too.
for wrong in --bogus -x --no-such-option; do
  for platform in terminal offscreen; do
    run "$platform" -style fusion "$wrong"
    [ "$RC" = 2 ] || fail "$wrong on $platform: exit $RC ($ERR)"
    grep -q "^tavrin: unknown option \"$wrong\"$" <<<"$ERR" || fail "$wrong on $platform: $ERR"
    grep -q '^usage: tavrin \[FILE.BIN\]$' <<<"$ERR" || fail "$wrong on $platform: no usage"
    [ -z "$OUT" ] || fail "$wrong on $platform: wrote to standard output: $OUT"
  done
done
run terminal a.BIN b.BIN
[ "$RC" = 2 ] && grep -q 'one file at a time' <<<"$ERR" || fail "two files: exit $RC, $ERR"

TAVRIN_TEST_HOOK=nonsense run offscreen
[ "$RC" = 2 ] && grep -q '^tavrin: unknown TAVRIN_TEST_HOOK value "nonsense"; known values: .*about' \
  <<<"$ERR" || fail "unknown hook: exit $RC, $ERR"

# A clock that names no real time is refused as tavrin-cli refuses it, its value quoted.
for clock in 2026-02-30T09:00:00 0000-01-01T00:00:00 tomorrow; do
  TAVRIN_NOW=$clock run offscreen
  [ "$RC" = 2 ] && grep -qF "tavrin: TAVRIN_NOW: expected YYYY-MM-DDTHH:MM:SS, got \"$clock\"" \
    <<<"$ERR" || fail "TAVRIN_NOW=$clock: exit $RC, $ERR"
done

# A file after "--" opens even when its name starts with "-": the program starts (and is told to
# quit once its window is up).
cp "$2/examples/school.BIN" "$work/-school.BIN"
(cd "$work" && TAVRIN_STARTUP_PROBE=1 env -u DISPLAY QT_QPA_PLATFORM=offscreen timeout 20 \
  "$program" -- -school.BIN >/dev/null 2>"$work/err")
RC=$?
[ "$RC" = 0 ] && grep -q '^startup-ms ' "$work/err" && ! grep -q 'オープンに失敗' "$work/err" ||
  fail "-- -school.BIN: exit $RC, $(cat "$work/err")"

[ "$failures" = 0 ] && echo "the command line answers as it should"
exit "$failures"
