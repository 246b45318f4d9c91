#!/bin/sh
# The desktop entry, the AppStream description, the settings-file type and the manual pages pass
# their validators.
set -e
src="$1"
desktop="$src/src/resources/desktop"
desktop-file-validate "$desktop/jp.korva.Tavrin.desktop"
appstreamcli validate --no-net --explain "$desktop/jp.korva.Tavrin.metainfo.xml"
# The settings-file type compiles into a MIME database and claims the extension the program writes.
share=$(mktemp -d)
trap 'rm -rf "$share"' EXIT
mime="$share/mime"
mkdir -p "$mime/packages"
cp "$desktop/jp.korva.Tavrin.xml" "$mime/packages/"
errors=$(XDG_DATA_HOME="$share" update-mime-database "$mime" 2>&1)
if [ -n "$errors" ]; then echo "$errors"; exit 1; fi
grep -q '^50:application/x-vl3400-settings:\*\.BIN:cs$' "$mime/globs2"
grep -q 'application/x-vl3400-settings' "$desktop/jp.korva.Tavrin.desktop"
for page in "$src"/docs/man/*.1; do
  # groff's warnings (unknown macros, bad escapes) go to stderr; any of them fails the check.
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  if [ -n "$warnings" ]; then echo "$page:"; echo "$warnings"; exit 1; fi
done
echo "desktop entry, metainfo, settings-file type and manual pages are valid"
