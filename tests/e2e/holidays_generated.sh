#!/bin/bash
# The shipped holiday file must be exactly what the generator writes, so that a hand edit of the
# data (or of the generator without regenerating) cannot slip through.
# Arguments: build folder, source folder.
set -euo pipefail
source_dir="${2:?usage: holidays_generated.sh BUILD_DIR SOURCE_DIR}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$source_dir/tools/gen_holidays.py" "$work/Tavrin-Holidays.ini"
if cmp "$work/Tavrin-Holidays.ini" "$source_dir/src/resources/Tavrin-Holidays.ini"; then
  echo "shipped holiday file matches the generator"
else
  echo "src/resources/Tavrin-Holidays.ini differs from tools/gen_holidays.py output; regenerate it" >&2
  exit 1
fi
