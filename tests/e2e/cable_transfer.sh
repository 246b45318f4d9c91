#!/bin/bash
# tavrin-cli against vl3400-sim over pseudo-terminals: both directions, several request sizes,
# every injected fault, failures that must leave the output file alone and say why on standard
# error, cancelling, no port, a port locked by another program.
set -uo pipefail
build=$(cd "$1" && pwd)
cli=$build/src/tavrin-cli
sim=$build/src/vl3400-sim
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
cd "$work" || exit 1
# The backups and the kept trace go to a data folder of the run's own.
export TAVRIN_DATA_DIR=$work/data
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# A settings image whose bytes cover every value, DLE included.
python3 - <<'PY'
data = bytearray((i * 7 + i // 256) & 0xFF for i in range(6594))
data[0:16] = b"KORVA VL3 V01.00"
data[16:20] = b"VL3X"
open("image.BIN", "wb").write(data)
PY

# start_sim ARGS...: runs the simulator on its own pseudo-terminal; sets SIM and PTY.
start_sim() {
  # The shell empties sim.out only once the new simulator's process runs: the previous one's PTY
  # line must not be read in the meantime.
  rm -f sim.out sim.err
  "$sim" "$@" >sim.out 2>sim.err &
  SIM=$!
  PTY=
  for _ in $(seq 50); do
    PTY=$(awk '/^PTY/ {print $2}' sim.out 2>/dev/null)
    [ -n "$PTY" ] && return 0
    sleep 0.05
  done
  fail "simulator did not start: $(cat sim.err)"
  return 1
}

# cli_against NAME EXPECTED_RC CLI_ARGS...: runs tavrin-cli against the simulator started last.
cli_against() {
  local name=$1 want=$2
  shift 2
  timeout -s INT 90 "$cli" "$@" >cli.out 2>cli.err
  local rc=$?
  wait "$SIM"
  SIM_RC=$?
  if [ "$rc" != "$want" ]; then
    fail "$name: tavrin-cli exit $rc, wanted $want"
    cat cli.out cli.err sim.err
    return 1
  fi
  return 0
}

for size in 7 256 4000; do
  start_sim fn11 --out received.BIN --size "$size" || continue
  if cli_against "write size $size" 0 cable-write image.BIN --port "$PTY"; then
    cmp -s received.BIN image.BIN || fail "write size $size: timer received other bytes"
    grep -q '^"image.BIN" の書き込みが正常に終了しました。$' cli.out || fail "write size $size: message"
    grep -q '^接続完了$' cli.out || fail "write size $size: no 接続完了"
    grep -q '^通信中 6594 バイト$' cli.out || fail "write size $size: no byte count"
  fi
  rm -f received.BIN
done

for size in 64 1000 6594; do
  start_sim fn13 --image image.BIN --size "$size" || continue
  rm -f out.BIN
  if cli_against "read size $size" 0 cable-read out.BIN --port "$PTY"; then
    cmp -s out.BIN image.BIN || fail "read size $size: received image differs"
    grep -q '^年間プログラムタイマからのデータの読み込みが正常に終了しました。$' cli.out ||
      fail "read size $size: message"
  fi
done

# Paced at the wire's speed, with COM1 taken from TAVRIN_PORTS.
start_sim fn13 --image image.BIN --size 512 --baud 38400 && {
  rm -f out.BIN
  TAVRIN_PORTS="/nonexistent/tty:$PTY" cli_against "paced read" 0 cable-read out.BIN --baud 38400 &&
    { cmp -s out.BIN image.BIN || fail "paced read: image differs"; }
}

# Faults the link recovers from.
for fault in bad-check no-ack nak noise interrupt; do
  start_sim fn11 --out received.BIN --size 300 --fault "$fault" || continue
  if cli_against "write with $fault" 0 cable-write image.BIN --port "$PTY" --trace trace.txt; then
    cmp -s received.BIN image.BIN || fail "write with $fault: timer received other bytes"
    [ "$SIM_RC" = 0 ] || fail "write with $fault: simulator failed: $(cat sim.err)"
  fi
  rm -f received.BIN
  start_sim fn13 --image image.BIN --size 300 --fault "$fault" || continue
  rm -f out.BIN
  if cli_against "read with $fault" 0 cable-read out.BIN --port "$PTY"; then
    cmp -s out.BIN image.BIN || fail "read with $fault: image differs"
  fi
done
grep -q ' rx 10 02 52' trace.txt && grep -q ' tx 06' trace.txt || fail "trace lacks the exchange"

# Every transfer ends. A whole-image frame cut in two: the simulator gives up on the frame and
# its pseudo-terminal goes with it, as a USB adapter pulled out: the port is gone, say what to do.
start_sim fn13 --image image.BIN --size 6594 --fault-frame 1 --fault interrupt && {
  rm -f out.BIN
  if cli_against "read with a large frame cut in two" 1 cable-read out.BIN --port "$PTY"; then
    [ -e out.BIN ] && fail "large frame cut in two: output file created"
    tail -n 2 cli.err | grep -qx "COM1 ($PTY) が切断されました。" &&
      tail -n 1 cli.err | grep -qx 'USBケーブルを接続し直してから、もう一度実行して下さい。' ||
      fail "large frame cut in two: detail: $(tail -n 2 cli.err)"
  fi
}
# The timer stops answering 3 s into a paced transfer but keeps its line: 30 s without a frame,
# said on standard error, and never "通信完了" before it.
stalled() {
  grep -qx 'tavrin-cli: .*に失敗しました。' cli.err &&
    grep -qx '年間プログラムタイマから 30 秒間、転送の続きが届きませんでした。' cli.err &&
    [ "$(tail -n 1 cli.out)" = 通信失敗 ] && ! grep -q 通信完了 cli.out
}
for direction in write read; do
  if [ "$direction" = write ]; then
    start_sim fn11 --out received.BIN --size 16 --baud 9600 || continue
    args=(cable-write image.BIN)
  else
    start_sim fn13 --image image.BIN --size 16 --baud 9600 || continue
    args=(cable-read out.BIN)
  fi
  rm -f out.BIN
  (sleep 3 && kill -STOP "$SIM") &
  started=$SECONDS
  timeout -s INT 60 "$cli" "${args[@]}" --port "$PTY" --baud 9600 >cli.out 2>cli.err
  rc=$?
  kill -KILL "$SIM" 2>/dev/null
  wait "$SIM" 2>/dev/null
  [ "$rc" = 1 ] || fail "$direction with a stopped timer: exit $rc"
  [ $((SECONDS - started)) -lt 40 ] || fail "$direction with a stopped timer: took too long"
  stalled || fail "$direction with a stopped timer: $(cat cli.out cli.err)"
  [ -e out.BIN ] && fail "$direction with a stopped timer: output file created"
done

# A timer that floods frames the program does not know: 30 s without progress end the transfer,
# and the kept trace stops at its limit with a line that says so.
start_sim fn11 --out received.BIN --fault flood && {
  started=$SECONDS
  timeout -s INT 90 "$cli" cable-write image.BIN --port "$PTY" >cli.out 2>cli.err
  rc=$?
  kill "$SIM" 2>/dev/null
  wait "$SIM" 2>/dev/null
  [ "$rc" = 1 ] || fail "flood: exit $rc"
  [ $((SECONDS - started)) -lt 45 ] || fail "flood: took $((SECONDS - started)) s"
  stalled || fail "flood: $(tail -n 3 cli.out; cat cli.err)"
  kept=$TAVRIN_DATA_DIR/backups/last-transfer.trace
  size=$(stat -c %s "$kept")
  [ "$size" -le $((4 * 1024 * 1024 + 64)) ] || fail "flood: kept trace of $size bytes"
  [ "$(tail -n 1 "$kept")" = '# cut at 4 MB: later bytes were not recorded' ] ||
    fail "flood: the kept trace does not say it was cut"
}

# SIGINT and SIGTERM end every phase at once, with 130 and 143: waiting for a serial device,
# searching for the timer, and in the middle of a transfer. Nothing is written.
for signal in INT TERM; do
  want=$([ "$signal" = INT ] && echo 130 || echo 143)
  for phase in wait search transfer; do
    rm -f out.BIN
    case $phase in
      wait)
        TAVRIN_PORTS= "$cli" cable-read out.BIN --wait 99999 >cli.out 2>cli.err &
        CLI=$!
        sleep 1 ;;
      search)
        start_sim fn13 --image image.BIN --id OTHER --wait 10 || continue
        "$cli" cable-read out.BIN --port "$PTY" >cli.out 2>cli.err &
        CLI=$!
        sleep 1.5 ;;
      transfer)
        start_sim fn13 --image image.BIN --size 16 --baud 9600 || continue
        "$cli" cable-read out.BIN --port "$PTY" --baud 9600 >cli.out 2>cli.err &
        CLI=$!
        sleep 3 ;;
    esac
    sent=$(date +%s%N)
    kill -"$signal" "$CLI"
    wait "$CLI"
    rc=$?
    took=$((($(date +%s%N) - sent) / 1000000))
    [ "$phase" = wait ] || { kill "$SIM" 2>/dev/null; wait "$SIM" 2>/dev/null; }
    [ "$rc" = "$want" ] || fail "SIG$signal while $phase: exit $rc, wanted $want"
    [ "$took" -lt 2000 ] || fail "SIG$signal while $phase: took $took ms"
    grep -q '^tavrin-cli: cancelled$' cli.err || fail "SIG$signal while $phase: $(cat cli.err)"
    [ -e out.BIN ] && fail "SIG$signal while $phase: output file created"
  done
done

# A trace goes only to a regular file: a FIFO is refused at once instead of holding the command.
mkfifo trace.fifo
timeout 10 "$cli" cable-read out.BIN --port /nonexistent/tty --trace trace.fifo >cli.out 2>&1
rc=$?
[ "$rc" = 1 ] && grep -q '^tavrin-cli: trace.fifo is not a regular file$' cli.out ||
  fail "trace onto a FIFO: exit $rc, $(cat cli.out)"

# Failures: the old output file stays as it was.
printf 'old contents' >kept.BIN
for fault in short long; do
  start_sim fn13 --image image.BIN --size 1000 --fault "$fault" || continue
  if cli_against "read $fault image" 1 cable-read kept.BIN --port "$PTY"; then
    [ "$(cat kept.BIN)" = "old contents" ] || fail "read $fault image: output changed"
    grep -q '^データ長エラー$' cli.err || fail "read $fault image: no length error"
  fi
done
start_sim fn13 --image image.BIN --fault e1 && {
  rm -f out.BIN
  cli_against "read ended with E1" 1 cable-read out.BIN --port "$PTY"
  [ -e out.BIN ] && fail "read ended with E1: output file created"
  tail -n 1 cli.err | grep -qx 'tavrin-cli: 年間プログラムタイマからのデータの読み込みに失敗しました。' ||
    fail "read ended with E1: message"
}
start_sim fn11 --out received.BIN --fault e1 &&
  cli_against "write ended with E1" 1 cable-write image.BIN --port "$PTY" &&
  { tail -n 1 cli.err | grep -qx 'tavrin-cli: "image.BIN" の書き込みに失敗しました。' ||
    fail "write E1 message"; }

# Ctrl+C while waiting for the timer: nothing written, the port let go.
start_sim fn13 --image image.BIN --id "OTHER" --wait 5 && {
  rm -f out.BIN
  "$cli" cable-read out.BIN --port "$PTY" >cli.out 2>cli.err &
  CLI=$!
  sleep 1.5
  kill -INT "$CLI"
  wait "$CLI"
  rc=$?
  [ "$rc" = 130 ] || fail "cancel: exit $rc"
  [ -e out.BIN ] && fail "cancel: output file created"
  grep -q '^接続待ち$' cli.out || fail "cancel: no 接続待ち"
  wait "$SIM"
}

# A device the user may not open: said, with the way in, the group that owns it. Root passes every
# permission check, so it runs without the capabilities that let it.
start_sim fn13 --image image.BIN --wait 5 && {
  chown root:uucp "$PTY" && chmod 0060 "$PTY"
  unprivileged=()
  [ "$(id -u)" = 0 ] && unprivileged=(setpriv --bounding-set=-dac_override,-dac_read_search --)
  "${unprivileged[@]}" "$cli" cable-read out.BIN --port "$PTY" >cli.out 2>&1
  rc=$?
  kill "$SIM" 2>/dev/null
  wait "$SIM" 2>/dev/null
  [ "$rc" = 1 ] && tail -n 3 cli.out | head -n 1 | grep -qx "COM1 ($PTY) を使用する権限がありません。" &&
    tail -n 1 cli.out | grep -qxF 'sudo usermod -aG uucp $USER' ||
    fail "port closed to the user: exit $rc: $(cat cli.out)"
}

# A port whose lock file names a program that runs is left to it, the program named; a lock left by
# a process that ended goes, and the transfer runs. The lock folder is the run's own.
export TAVRIN_LOCK_DIR=$work/locks
mkdir -p "$TAVRIN_LOCK_DIR"
start_sim fn13 --image image.BIN --wait 5 && {
  lock=$TAVRIN_LOCK_DIR/LCK..$(sed 's#^/dev/##; s#/#_#g' <<<"$PTY")
  printf '%10d\n' "$SIM" >"$lock"
  "$cli" cable-read out.BIN --port "$PTY" >cli.out 2>&1
  rc=$?
  kill "$SIM" 2>/dev/null
  wait "$SIM" 2>/dev/null
  [ "$rc" = 1 ] && grep -qF "COM1 ($PTY) は他のプログラムが使用中です（プロセス $SIM $sim fn13" cli.out &&
    tail -n 1 cli.out | grep -qx 'そのプログラムを終了してから、もう一度実行して下さい。' &&
    [ -e "$lock" ] || fail "port held by a running program: exit $rc: $(cat cli.out)"
}
start_sim fn13 --image image.BIN --size 1000 && {
  lock=$TAVRIN_LOCK_DIR/LCK..$(sed 's#^/dev/##; s#/#_#g' <<<"$PTY")
  printf '%10d\n' 4194304 >"$lock"
  rm -f out.BIN
  cli_against "read past a lock left behind" 0 cable-read out.BIN --port "$PTY" &&
    { cmp -s out.BIN image.BIN && [ ! -e "$lock" ] || fail "lock left behind: not taken over"; }
}
unset TAVRIN_LOCK_DIR

# No port at all; a file that is no settings file.
"$cli" cable-read out.BIN --port /nonexistent/tty >cli.out 2>&1
[ $? = 1 ] && tail -n 1 cli.out | grep -qx 'ポートが存在しません。' || fail "no port: $(cat cli.out)"
printf 'not a settings file' >plain.BIN
"$cli" cable-write plain.BIN --port /nonexistent/tty >cli.out 2>&1
[ $? = 1 ] && grep -q 'プログラム設定データが入力されていません。' cli.out || fail "plain file: $(cat cli.out)"
"$cli" cable-write image.BIN --baud 1200 >/dev/null 2>&1
[ $? = 2 ] || fail "bad speed accepted"

# The output folder is checked before the timer is asked for anything.
"$cli" cable-read no/such/out.BIN --port /nonexistent/tty >cli.out 2>&1
[ $? = 1 ] && grep -q '^tavrin-cli: the folder no/such does not exist$' cli.out &&
  ! grep -q '接続待ち' cli.out || fail "missing output folder: $(cat cli.out)"
# Without --port the devices searched are listed as the COM numbers they become.
TAVRIN_PORTS=/nonexistent/ttyA:/nonexistent/ttyB "$cli" cable-read out.BIN >cli.out 2>&1
grep -q '^  COM1 /nonexistent/ttyA$' cli.out && grep -q '^  COM2 /nonexistent/ttyB$' cli.out ||
  fail "scanned devices: $(cat cli.out)"

[ "$failures" = 0 ] && echo "all cable transfers passed"
exit "$failures"
