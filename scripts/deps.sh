#!/bin/sh
# Installs what building and testing need on Debian 12 (quick when it is all there already).
set -e
packages="build-essential cmake ninja-build pkg-config clang clang-format libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libical-dev
  qt6-base-dev qt6-serialport-dev libqt6serialport6 fonts-ipafont-gothic
  xvfb xauth imagemagick python3 qt6-translations-l10n
  desktop-file-utils appstream shared-mime-info file dpkg-dev debootstrap"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq $missing
fi
