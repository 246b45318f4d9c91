#!/bin/bash
# The manual pages name every environment variable the programs read and every value of the test
# hook: a variable or hook added without its documentation fails here. The variables are the
# "TAVRIN_..." names in the sources (the desktop program reads all of them, tavrin-cli those
# outside the desktop's own folders) and those of the README's Environment table; the hook values
# are the ones the desktop program lists when it refuses an unknown value, and the README's table
# must list them too.
# Usage: check-man-covers-environment.sh SOURCE_DIR TAVRIN_PROGRAM
set -euo pipefail
src="$1"; program="$2"
desktop_page="$src/docs/man/tavrin.1"; cli_page="$src/docs/man/tavrin-cli.1"
status=0

# A name in bold on a ".B" or ".BR" line of the page ("-" written "\-").
names_item() {  # page, name
  local escaped
  escaped=$(printf '%s' "$2" | sed 's/-/\\\\-/g')
  grep -qE "^\.BR? (.* )?$escaped( |$)" "$1"
}

# Folders only the desktop program is built from; everything else is in tavrin-cli too.
desktop_only='^src/(main\.cpp|[a-z]+/ui/|platform/[^/]+$)'
cd "$src"
while IFS=: read -r file name; do
  name=${name//\"/}
  if ! names_item "$desktop_page" "$name"; then
    echo "tavrin(1) does not describe $name (read in $file)"; status=1
  fi
  if ! grep -qE "$desktop_only" <<<"$file" && ! names_item "$cli_page" "$name"; then
    echo "tavrin-cli(1) does not describe $name (read in $file)"; status=1
  fi
done < <(grep -rhoE --include='*.cpp' --include='*.h' -H '"TAVRIN_[A-Z_]+"' src sim | sort -u -t: -k2)

readme_vars=$(grep -oE '^\| `[A-Z_]+`' README.md | grep -oE '[A-Z_]+')
[ -n "$readme_vars" ] || { echo "the README has no Environment table"; exit 1; }
for name in $readme_vars; do
  if ! names_item "$desktop_page" "$name"; then
    echo "tavrin(1) does not describe $name (in the README's Environment table)"; status=1
  fi
done

hooks=$(TAVRIN_TEST_HOOK='?' "$program" 2>&1 >/dev/null | sed -n 's/.*known values: *//p' || true)
[ -n "$hooks" ] || { echo "the program did not list its test hook values"; exit 1; }
readme_hooks=$(grep -E '^\| `TAVRIN_TEST_HOOK`' README.md)
for hook in $hooks; do
  if ! names_item "$desktop_page" "$hook"; then
    echo "tavrin(1) does not describe the test hook value $hook"; status=1
  fi
  if ! grep -qF "\`$hook\`" <<<"$readme_hooks"; then
    echo "the README's Environment table does not list the test hook value $hook"; status=1
  fi
done
[ $status -eq 0 ] && echo "the manual pages cover $(wc -w <<<"$hooks") hook values and every variable"
exit $status
