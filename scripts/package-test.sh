#!/bin/bash
# Installs the package into a fresh Debian 12 root and uses it there as a user who never ran the
# build: tavrin --version and tavrin-cli --version, a dump of the example schedule (its public
# holidays must come from the shipped holiday file), the desktop program's first window under
# xvfb-run, and its user guide: the guide and every picture it shows are installed, and F1's window
# opens with the guide's title; tavrin-cli speaks Japanese under ja_JP.UTF-8 and English under C,
# and its Japanese manual page is installed. Prints the package size and the time from
# `apt-get install ./tavrin_*.deb` to the first window.
# Usage (as root): scripts/package-test.sh tavrin_<version>_amd64.deb
set -euo pipefail
deb=$(realpath "$1")
src=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=scripts/debian-root.sh
. "$src/scripts/debian-root.sh"
trap remove_root EXIT
new_root

# The display server and the window lister of the check are the test's, not the package's.
in_root apt-get update -qq
in_root apt-get install -y -qq xvfb xauth x11-utils locales >/dev/null
# The Japanese locale a user of the Japanese messages has.
in_root sh -c "sed -i 's/^# *\(ja_JP\.UTF-8 UTF-8\)/\1/' /etc/locale.gen && locale-gen >/dev/null"
in_root id user >/dev/null 2>&1 || in_root useradd -m user
cp "$deb" "$ROOT/tmp/"
cp "$src/examples/school.BIN" "$src/examples/school.TXT" "$ROOT/home/user/"
chroot "$ROOT" chown user:user /home/user/school.BIN /home/user/school.TXT

launch=$(date +%s%N)
in_root apt-get install -y -qq "/tmp/$(basename "$deb")" >/dev/null
installed=$(date +%s%N)
probe=$(as_user env TAVRIN_STARTUP_PROBE="$launch" xvfb-run -a -s "-screen 0 1024x768x24" \
  tavrin 2>&1 | grep -o 'startup-ms [0-9]*' || true)
[ -n "$probe" ] || { echo "the desktop program showed no window" >&2; exit 1; }

for program in tavrin tavrin-cli; do
  version=$(as_user "$program" --version 2>&1)
  [ "$version" = "$program 1.06" ] || { echo "unexpected version: $version" >&2; exit 1; }
done
errors=$(as_user sh -c 'cd && TAVRIN_NOW=2026-12-08T09:00:00 tavrin-cli dump school.BIN 2>&1 >/tmp/dump.json')
[ -z "$errors" ] || { echo "dump complained: $errors" >&2; exit 1; }
# No warning above: the shipped holiday file was copied into the data folder at the first start.

[ -f "$ROOT/home/user/.local/share/Korva Time Systems/Tavrin/Tavrin-Holidays.ini" ]

# tavrin-cli speaks Japanese under a Japanese locale from the installed catalogue, and has its
# Japanese manual page.
usage=$(as_user env LANG=ja_JP.UTF-8 tavrin-cli --help | head -n 1)
[ "$usage" = "使い方: tavrin-cli COMMAND [ARGS...]" ] ||
  { echo "tavrin-cli --help under ja_JP.UTF-8: $usage" >&2; exit 1; }
usage=$(as_user env LANG=C tavrin-cli --help | head -n 1)
[ "$usage" = "usage: tavrin-cli COMMAND [ARGS...]" ] ||
  { echo "tavrin-cli --help under C: $usage" >&2; exit 1; }
ls "$ROOT"/usr/share/man/ja/man1/tavrin-cli.1* >/dev/null ||
  { echo "the Japanese manual page is not installed" >&2; exit 1; }

# The guide: installed with its pictures, and opened in the program's own window.
guide=/usr/share/tavrin/guide
[ -f "$ROOT$guide/index.md" ] || { echo "the guide is not installed" >&2; exit 1; }
pictures=$(cat "$ROOT$guide"/*.md | grep -oE '\]\(images/[a-z0-9-]+\.png\)' | grep -oE 'images/[^)]+' |
  sort -u)
for picture in $pictures; do
  file -b "$ROOT$guide/$picture" | grep -q '^PNG image' ||
    { echo "the guide's $picture is not installed" >&2; exit 1; }
done
title=$(sed -n 's/^# //p' "$ROOT$guide/index.md" | head -n 1)
windows=$(as_user env LANG=C.UTF-8 TAVRIN_TEST_HOOK=guide xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
  tavrin & program=$!
  for _ in $(seq 50); do
    sleep 0.2
    xwininfo -root -children | grep -q "\"$0\"" && break
  done
  xwininfo -root -children
  kill $program' "$title" 2>&1)
grep -q "\"$title\"" <<<"$windows" ||
  { echo "no window \"$title\" opened for the guide:"; echo "$windows"; exit 1; } >&2

echo "package: $(stat -c %s "$deb") bytes"
echo "apt-get install: $(( (installed - launch) / 1000000 )) ms"
echo "apt-get install to the first window: ${probe#startup-ms } ms"
echo "the guide opens with its $(wc -w <<<"$pictures") pictures installed"
