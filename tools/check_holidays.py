#!/usr/bin/env python3
"""Compares the generator's dates with the published holiday dataset of the npm package
@holiday-jp/holiday_jp and prints every date that only one side has.

Usage: check_holidays.py PACKAGE_DIR
  PACKAGE_DIR is the installed package, e.g. after
  `npm install --prefix /tmp/hcheck @holiday-jp/holiday_jp`:
  /tmp/hcheck/node_modules/@holiday-jp/holiday_jp
The package's data is a JavaScript module, so node reads it and hands it over as JSON.
Exit status 0 when the years both sides cover agree, 1 otherwise.
"""

import json
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gen_holidays  # noqa: E402


def dataset_dates(package_dir):
    module = os.path.join(os.path.abspath(package_dir), "lib", "holidays.js")
    script = "process.stdout.write(JSON.stringify(require(process.argv[1])))"
    output = subprocess.run(["node", "-e", script, module], check=True, capture_output=True).stdout
    return {key: entry["name"] for key, entry in json.loads(output).items()}


def main(argv):
    if len(argv) != 2:
        raise SystemExit("usage: check_holidays.py PACKAGE_DIR")
    with open(os.path.join(argv[1], "package.json"), encoding="utf-8") as meta:
        version = json.load(meta)["version"]
    theirs = dataset_dates(argv[1])
    covered = {int(key[:4]) for key in theirs}
    years = [y for y in range(gen_holidays.FIRST_YEAR, gen_holidays.LAST_YEAR + 1) if y in covered]
    ours = {}
    for year in years:
        for day, name in gen_holidays.holidays(year):
            ours[day.isoformat()] = name
    theirs = {key: name for key, name in theirs.items() if int(key[:4]) in years}

    differences = 0
    for key in sorted(set(ours) | set(theirs)):
        if key in ours and key in theirs:
            continue
        differences += 1
        if key in ours:
            print("%s only in ours: %s" % (key, ours[key]))
        else:
            print("%s only in the dataset: %s" % (key, theirs[key]))
    missing = [y for y in range(gen_holidays.FIRST_YEAR, gen_holidays.LAST_YEAR + 1)
               if y not in covered]
    if missing:
        print("years the dataset does not cover: %s" % ", ".join(map(str, missing)))
    print("@holiday-jp/holiday_jp %s, years %d-%d: %d differences (%d dates ours, %d theirs)"
          % (version, years[0], years[-1], differences, len(ours), len(theirs)))
    return 0 if differences == 0 else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
