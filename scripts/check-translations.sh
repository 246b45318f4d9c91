#!/bin/bash
# Every English text of tavrin-cli marked for the catalogue (Tr, TrFormat, TrCount, TrMark) has a
# Japanese translation in po/ja.po that is neither missing, empty nor fuzzy, and every translation
# keeps its original's "%s": a text added without its translation fails here.
# Usage: scripts/check-translations.sh [SOURCE_ROOT] [OUT.pot]
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
pot=${2:-$(mktemp --suffix=.pot)}
cd "$root"
find src -name '*.cpp' -o -name '*.h' | LC_ALL=C sort |
  xgettext --files-from=- --language=C++ --from-code=UTF-8 --package-name=tavrin-cli \
    -k --keyword=Tr --keyword=TrFormat:1 --keyword=TrCount:1,2 --keyword=TrMark \
    --flag=TrFormat:1:c-format --add-comments=TRANSLATORS: -o "$pot"
[ -s "$pot" ] || { echo "no text is marked for translation"; exit 1; }
# Merged with the sources' texts, each translation is checked against its original's flags
# (c-format: the same "%s", in the same number).
merged=$(mktemp --suffix=.po)
trap 'rm -f "$merged"' EXIT
msgmerge --quiet --no-fuzzy-matching --no-location -o "$merged" po/ja.po "$pot"
msgfmt --check -o /dev/null "$merged"
msgfmt --check -o /dev/null po/ja.po
# msgcmp takes a missing, untranslated or fuzzy entry of ja.po for a missing one.
msgcmp po/ja.po "$pot"
untranslated=$(msgattrib --untranslated --no-obsolete po/ja.po | grep -c '^msgid ' || true)
fuzzy=$(msgattrib --only-fuzzy --no-obsolete po/ja.po | grep -c '^msgid ' || true)
[ "$untranslated" -eq 0 ] && [ "$fuzzy" -eq 0 ] ||
  { echo "po/ja.po: $untranslated untranslated, $fuzzy fuzzy"; exit 1; }
echo "po/ja.po translates all $(($(grep -c '^msgid ' "$pot") - 1)) texts marked in the sources"
