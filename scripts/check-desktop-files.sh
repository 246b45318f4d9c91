#!/bin/sh
# The desktop entry, the AppStream description and the manual pages pass their validators.
set -e
src="$1"
desktop="$src/src/resources/desktop"
desktop-file-validate "$desktop/jp.korva.Tavrin.desktop"
appstreamcli validate --no-net --explain "$desktop/jp.korva.Tavrin.metainfo.xml"
for page in "$src"/docs/man/*.1; do
  # groff's warnings (unknown macros, bad escapes) go to stderr; any of them fails the check.
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  if [ -n "$warnings" ]; then echo "$page:"; echo "$warnings"; exit 1; fi
done
echo "desktop entry, metainfo and manual pages are valid"
