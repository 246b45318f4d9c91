#!/bin/bash
# Builds the Debian package tavrin_<version>_amd64.deb from a Release build, with the user guide
# and its screenshots taken from that build (tools/screenshots.sh under Xvfb), and checks what it
# holds. Usage: scripts/package.sh [BUILD]  (default build/package, configured and built here).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${1:-build/package}
if [ ! -f "$build/CMakeCache.txt" ]; then
  sh scripts/deps.sh
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRIN_TESTS=OFF
fi
cmake --build "$build" -j "$(nproc)"
cmake --build "$build" --target guide-images
# A staging folder left by an earlier run would end up inside the package.
rm -rf "$build/_CPack_Packages" "$build"/tavrin_*_amd64.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/tavrin_*_amd64.deb)
contents=$(dpkg-deb --contents "$deb")
for path in /usr/bin/tavrin /usr/bin/tavrin-cli /usr/share/tavrin/Tavrin-Holidays.ini \
  /usr/share/tavrin/Tavrin.ini /usr/share/tavrin/guide/index.md \
  /usr/share/applications/jp.korva.Tavrin.desktop \
  /usr/share/metainfo/jp.korva.Tavrin.metainfo.xml /usr/share/mime/packages/jp.korva.Tavrin.xml \
  /usr/share/icons/hicolor/256x256/apps/jp.korva.Tavrin.png /usr/share/man/man1/tavrin.1 \
  /usr/share/man/man1/tavrin-cli.1 /usr/share/man/ja/man1/tavrin-cli.1 \
  /usr/share/man/ja/man1/tavrin.1 \
  /usr/share/locale/ja/LC_MESSAGES/tavrin-cli.mo; do
  grep -q " \.$path\$" <<<"$contents" || { echo "missing from the package: $path" >&2; exit 1; }
done
# Every page and every picture the guide shows.
for page in docs/guide/*.md; do
  grep -q " \./usr/share/tavrin/guide/$(basename "$page")\$" <<<"$contents" ||
    { echo "missing from the package: the guide's $(basename "$page")" >&2; exit 1; }
done
for picture in $(cat docs/guide/*.md | grep -oE '\]\(images/[a-z0-9-]+\.png\)' | grep -oE 'images/[^)]+' | sort -u); do
  grep -q " \./usr/share/tavrin/guide/$picture\$" <<<"$contents" ||
    { echo "missing from the package: the guide's $picture" >&2; exit 1; }
done
depends=$(dpkg-deb --field "$deb" Depends)
grep -q libqt6widgets6 <<<"$depends" || { echo "Depends lacks Qt: $depends" >&2; exit 1; }
echo "$deb: $(stat -c %s "$deb") bytes"
echo "Depends: $depends"
