#!/bin/sh
# Installs what building and testing need on Debian 12 (quick when it is all there already): the
# tool chain and libraries; the virtual display, screenshots and window manager of the GUI runs and
# the guide's pictures (xvfb, xauth, imagemagick, openbox); the validators of the desktop files and
# the manual pages (desktop-file-utils, appstream, shared-mime-info, man-db); python3 for the
# holiday generator and the end-to-end tests; file, dpkg-dev and debootstrap for the package and
# its test in a fresh root; the accessibility bus, its Python binding, a session bus and xdotool for
# tools/a11y-measure.sh; gettext for tavrin-cli's message catalogue and locales for the ja_JP.UTF-8
# locale its tests run it under (generated here, once). scripts/fresh-root-test.sh proves the list on
# a bare Debian 12.
set -e
packages="build-essential cmake ninja-build pkg-config clang clang-format libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libical-dev
  qt6-base-dev qt6-serialport-dev libqt6serialport6 qt6-qpa-plugins qt6-translations-l10n
  fonts-ipafont-gothic xvfb xauth imagemagick openbox python3
  desktop-file-utils appstream shared-mime-info man-db file dpkg-dev debootstrap
  at-spi2-core python3-pyatspi dbus xdotool gettext locales"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq $missing
fi
# The Japanese messages are shown only under a Japanese locale, which a fresh Debian root lacks.
if locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'; then
  :
elif [ "$(id -u)" -ne 0 ]; then
  echo "deps.sh: the ja_JP.UTF-8 locale is missing; run this script as root to generate it" >&2
else
  sed -i 's/^# *\(ja_JP\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -qx 'ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >>/etc/locale.gen
  locale-gen
fi
