#!/bin/sh
# Builds each layer probe and expects the compiler (GCC or Clang) to refuse it: every probe
# includes a header of a folder its layer must not see. The first probe is the control that must
# build (an allowed include), so a broken probe set cannot pass.
build="$1"; shift
control="$1"; shift
if ! cmake --build "$build" --target "$control" >/dev/null 2>&1; then
  echo "control probe $control does not build"; exit 1
fi
status=0
for probe in "$@"; do
  out=$(cmake --build "$build" --target "$probe" 2>&1)
  if [ $? -eq 0 ]; then
    echo "BACK EDGE BUILDS: $probe"; status=1
  elif ! printf '%s' "$out" | grep -qE 'No such file or directory|file not found'; then
    echo "$probe failed for another reason:"; printf '%s\n' "$out" | tail -5; status=1
  fi
done
[ $status -eq 0 ] && echo "$# back edges refused"
exit $status
