#!/bin/bash
# tavrin-cli speaks the locale's language: Japanese under ja_JP.UTF-8, English under C, from the
# catalogue beside the program, whether it runs from the build folder or from an installed tree;
# messages that were Japanese already are the same bytes under both. The expected texts are
# written here, not taken from the catalogue. Arguments: build folder, source folder.
set -uo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" && failures=$((failures + 1)); }
locale -a | grep -qix 'ja_JP\.utf-\?8' ||
  { echo "FAIL: no ja_JP.UTF-8 locale here (scripts/deps.sh generates it as root)"; exit 1; }

mkdir -p "$work/data" "$work/folder.BIN"
printf 'short' >"$work/short.BIN"
# A settings file with a byte too many: its tag is read, its size refused.
cat "$2/examples/school.BIN" >"$work/long.BIN" && printf 'x' >>"$work/long.BIN"
missing=$work/missing.BIN

# run PROGRAM LOCALE ARGS...: sets OUT and ERR. LOCALE is LANG; "C+LANGUAGE" is LANG=C with
# LANGUAGE=ja, which the C locale must ignore; "LC_ALL=C" overrides a Japanese LANG.
run() {
  local program=$1 locale=$2
  shift 2
  local environment=(-u LC_ALL -u LC_MESSAGES -u LANGUAGE LANG="$locale")
  case $locale in
    C+LANGUAGE) environment=(-u LC_ALL -u LC_MESSAGES LANG=C LANGUAGE=ja) ;;
    LC_ALL=C) environment=(-u LC_MESSAGES -u LANGUAGE LANG=ja_JP.UTF-8 LC_ALL=C) ;;
  esac
  env "${environment[@]}" TAVRIN_DATA_DIR="$work/data" TAVRIN_NOW=2026-12-09T08:00:00 \
    "$program" "$@" >"$work/out" 2>"$work/err"
  OUT=$(cat "$work/out")
  ERR=$(cat "$work/err")
}

# expect NAME PROGRAM LOCALE STREAM LINE ARGS...: LINE is a whole line of STREAM (out or err).
expect() {
  local name=$1 program=$2 locale=$3 stream=$4 line=$5
  shift 5
  run "$program" "$locale" "$@"
  local text=$OUT
  [ "$stream" = err ] && text=$ERR
  grep -qxF -- "$line" <<<"$text" || fail "$name under $locale: no line \"$line\" in: $text"
}

cli=$build/src/tavrin-cli
cases=(
  # name | locale | stream | line | args (separated by spaces)
  "help|ja_JP.UTF-8|out|使い方: tavrin-cli COMMAND [ARGS...]|--help"
  "help|C|out|usage: tavrin-cli COMMAND [ARGS...]|--help"
  "help|C+LANGUAGE|out|usage: tavrin-cli COMMAND [ARGS...]|--help"
  "help|LC_ALL=C|out|usage: tavrin-cli COMMAND [ARGS...]|--help"
  "help heading|ja_JP.UTF-8|out|コマンド:|--help"
  "help heading|C|out|commands:|--help"
  "command summary|ja_JP.UTF-8|out|  dump          設定ファイル (.BIN) とそのプログラム名を JSON で表示する|--help"
  "command summary|C|out|  dump          print a settings file (.BIN) and its program names as JSON|--help"
  "dump help|ja_JP.UTF-8|out|設定ファイルのスケジュールを、プログラムが表示するとおりに JSON で表示します。|dump --help"
  "dump help|C|out|Prints the schedule of a settings file as JSON, as the program would show it.|dump --help"
  "usb-read help|ja_JP.UTF-8|out|  --now TIME      バックアップの名前にする時計、YYYY-MM-DDTHH:MM:SS|usb-read --help"
  "usb-read help|C|out|  --now TIME      the clock that names the backups, YYYY-MM-DDTHH:MM:SS|usb-read --help"
  "missing file|ja_JP.UTF-8|err|tavrin-cli: $missing は存在しません。|dump $missing"
  "missing file|C|err|tavrin-cli: $missing does not exist|dump $missing"
  "folder|ja_JP.UTF-8|err|tavrin-cli: $work/folder.BIN はフォルダーです。|dump $work/folder.BIN"
  "folder|C|err|tavrin-cli: $work/folder.BIN is a folder|dump $work/folder.BIN"
  "usage error|ja_JP.UTF-8|err|tavrin-cli: dump には設定ファイルを一つ指定してください|dump"
  "usage error|C|err|tavrin-cli: dump takes one settings file|dump"
  "unknown option|ja_JP.UTF-8|err|tavrin-cli: --colour というオプションはありません|dump --colour"
  "unknown option|C|err|tavrin-cli: unknown option --colour|dump --colour"
  "unknown command|ja_JP.UTF-8|err|tavrin-cli: \"dumb\" というコマンドはありません|dumb"
  "unknown command|C|err|tavrin-cli: unknown command \"dumb\"|dumb"
  "Japanese already|ja_JP.UTF-8|err|tavrin-cli: $work/long.BIN の大きさが 6594 バイトではありません（6595 バイト）。|agenda $work/long.BIN"
  "Japanese already|C|err|tavrin-cli: $work/long.BIN の大きさが 6594 バイトではありません（6595 バイト）。|agenda $work/long.BIN"
  "cause in the message's language|ja_JP.UTF-8|err|$work/short.BIN は 5 バイトしかなく、設定ファイルには短すぎます。|dump $work/short.BIN"
  "cause in the message's language|C|err|tavrin-cli: $work/short.BIN は対象外のファイルです。 (5 bytes, too short for a settings file)|dump $work/short.BIN"
)
for row in "${cases[@]}"; do
  IFS='|' read -r name locale stream line args <<<"$row"
  read -ra words <<<"$args"
  expect "$name" "$cli" "$locale" "$stream" "$line" "${words[@]}"
done

# Installed as the package installs it: the catalogue is found beside the program, and the
# Japanese manual page is what `man -L ja` shows.
DESTDIR=$work/root cmake --install "$build" --prefix /usr >/dev/null ||
  fail "cmake --install failed"
installed=$work/root/usr/bin/tavrin-cli
[ -f "$work/root/usr/share/locale/ja/LC_MESSAGES/tavrin-cli.mo" ] || fail "no catalogue installed"
expect "installed help" "$installed" ja_JP.UTF-8 out "使い方: tavrin-cli COMMAND [ARGS...]" --help
expect "installed help" "$installed" C out "usage: tavrin-cli COMMAND [ARGS...]" --help
for program in tavrin-cli tavrin; do
  page=$(env -u LC_ALL -u LANGUAGE LANG=ja_JP.UTF-8 MANWIDTH=80 \
    MANPATH="$work/root/usr/share/man" man -L ja "$program" 2>/dev/null)
  grep -qx '名前' <<<"$page" ||
    fail "man -L ja $program shows no Japanese page: $(head -3 <<<"$page")"
done
page=$(env -u LC_ALL -u LANGUAGE LANG=C.UTF-8 MANWIDTH=80 MANPATH="$work/root/usr/share/man" \
  man tavrin-cli 2>/dev/null)
grep -qx 'NAME' <<<"$page" || fail "man tavrin-cli shows no English page: $(head -3 <<<"$page")"

# A copy of the program with no catalogue beside it speaks English, whatever the locale: the
# catalogue is looked for relative to the program, not wherever the build happened to put it.
mkdir -p "$work/alone/bin" && cp "$cli" "$work/alone/bin/"
expect "no catalogue" "$work/alone/bin/tavrin-cli" ja_JP.UTF-8 out \
  "usage: tavrin-cli COMMAND [ARGS...]" --help

[ $failures -eq 0 ] && echo "tavrin-cli speaks Japanese under ja_JP.UTF-8 and English under C"
exit $((failures > 0))
