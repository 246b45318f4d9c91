#!/bin/sh
# Copies the shipped holiday file and settings file into the data folder when they are missing
# there. It never overwrites: the user may have edited them.
resources="$1"
if [ -n "$TAVRIN_DATA_DIR" ]; then
  data="$TAVRIN_DATA_DIR"
else
  data="${XDG_DATA_HOME:-$HOME/.local/share}/Korva Time Systems/Tavrin"
fi
mkdir -p "$data" || exit 1
for f in Tavrin-Holidays.ini Tavrin.ini; do
  [ -e "$data/$f" ] || cp "$resources/$f" "$data/$f" || exit 1
done
echo "data folder: $data"
