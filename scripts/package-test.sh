#!/bin/bash
# Installs the package into a fresh Debian 12 root and uses it there as a user who never ran the
# build: tavrin-cli --version, a dump of the example schedule (its public holidays must come from
# the shipped holiday file), and the desktop program's first window under xvfb-run. Prints the
# package size and the time from `apt-get install ./tavrin_*.deb` to that window.
# Usage (as root): scripts/package-test.sh tavrin_<version>_amd64.deb [BASE]
# BASE: a Debian 12 root made earlier by debootstrap, copied instead of made anew (faster).
set -euo pipefail
deb=$(realpath "$1")
src=$(cd "$(dirname "$0")/.." && pwd)
root=$(mktemp -d /var/tmp/tavrin-root.XXXXXX)
chmod 755 "$root"  # its "/": the user of the check and apt's download user must get through
cleanup() {
  # Lazily: a process of the check that is still ending may hold them a moment longer.
  umount -l "$root/dev/pts" "$root/dev" "$root/proc" 2>/dev/null || true
  rm -rf --one-file-system "$root"
}
trap cleanup EXIT

if [ -n "${2:-}" ]; then
  cp -a "$2/." "$root/"
else
  debootstrap --variant=minbase bookworm "$root" >/dev/null
fi
mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive "$@"; }
# The display server for the check is the test's, not the package's.
in_root apt-get install -y -qq xvfb xauth >/dev/null
in_root id user >/dev/null 2>&1 || in_root useradd -m user
cp "$deb" "$root/tmp/"
cp "$src/examples/school.BIN" "$src/examples/school.TXT" "$root/home/user/"
chroot "$root" chown user:user /home/user/school.BIN /home/user/school.TXT

launch=$(date +%s%N)
in_root apt-get install -y -qq "/tmp/$(basename "$deb")" >/dev/null
installed=$(date +%s%N)
as_user() { chroot --userspec=user:user "$root" env -i HOME=/home/user PATH=/usr/bin:/bin "$@"; }
probe=$(as_user env TAVRIN_STARTUP_PROBE="$launch" xvfb-run -a -s "-screen 0 1024x768x24" \
  tavrin 2>&1 | grep -o 'startup-ms [0-9]*' || true)
[ -n "$probe" ] || { echo "the desktop program showed no window" >&2; exit 1; }

version=$(as_user tavrin-cli --version 2>&1)
[ "$version" = "tavrin-cli 1.06" ] || { echo "unexpected version: $version" >&2; exit 1; }
errors=$(as_user sh -c 'cd && TAVRIN_NOW=2026-12-08T09:00:00 tavrin-cli dump school.BIN 2>&1 >/tmp/dump.json')
[ -z "$errors" ] || { echo "dump complained: $errors" >&2; exit 1; }
# No warning above: the shipped holiday file was copied into the data folder at the first start.

[ -f "$root/home/user/.local/share/Korva Time Systems/Tavrin/Tavrin-Holidays.ini" ]

echo "package: $(stat -c %s "$deb") bytes"
echo "apt-get install: $(( (installed - launch) / 1000000 )) ms"
echo "apt-get install to the first window: ${probe#startup-ms } ms"
