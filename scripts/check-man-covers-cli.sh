#!/bin/bash
# Every subcommand tavrin-cli lists, and every option its --help names, is in tavrin-cli(1): a
# command added without its manual page fails here. The program runs under LOCALE (default C, for
# the English page; ja_JP.UTF-8 for the Japanese one), whose help lists the same names.
# Usage: check-man-covers-cli.sh CLI PAGE [LOCALE]
set -euo pipefail
cli="$1"; page="$2"
export LANG=${3:-C}
unset LC_ALL LC_MESSAGES LANGUAGE
status=0
commands=$("$cli" --help | awk '/^  [a-z][a-z-]+  / {print $1}')
[ -n "$commands" ] || { echo "tavrin-cli --help lists no command"; exit 1; }
for command in $commands; do
  if ! grep -q "^\.SS \"$command " "$page"; then
    echo "no section for the command $command"; status=1
  fi
  for option in $("$cli" "$command" --help | grep -oE '^ +(-[a-z], )?--[a-z-]+' | grep -oE -- '--[a-z-]+'); do
    escaped=$(printf '%s' "$option" | sed 's/-/\\\\-/g')
    if ! grep -q -- "$escaped" "$page"; then
      echo "the option $option of $command is not described"; status=1
    fi
  done
done
[ $status -eq 0 ] && echo "$page covers $(echo $commands | wc -w) commands under $LANG"
exit $status
