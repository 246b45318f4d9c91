#!/bin/bash
# Every subcommand tavrin-cli lists, and every option its --help names, is in tavrin-cli(1): a
# command added without its manual page fails here.
set -euo pipefail
cli="$1"; page="$2"
status=0
commands=$("$cli" --help | awk '/^commands:/ {on = 1; next} on && /^  [a-z]/ {print $1}')
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
[ $status -eq 0 ] && echo "tavrin-cli(1) covers $(echo $commands | wc -w) commands"
exit $status
