#!/bin/bash
# The README's test command on a fresh Debian 12 machine: a copy of the source tree (what git
# tracks or would add; no build folders) in a new minbase root, where `bash scripts/test.sh` runs
# as root with a plain environment. A package the tests need and scripts/deps.sh does not install
# fails here. Usage (as root): scripts/fresh-root-test.sh
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=scripts/debian-root.sh
. "$src/scripts/debian-root.sh"
trap remove_root EXIT
new_root
copy_source "$src" "$ROOT/root/tavrin"
started=$SECONDS
# A root login's environment and nothing else (no DEBIAN_FRONTEND: deps.sh sets what apt needs).
chroot "$ROOT" env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
  bash -c 'cd /root/tavrin && bash scripts/test.sh'
echo "scripts/test.sh passed in a fresh Debian 12 root in $((SECONDS - started)) s"
