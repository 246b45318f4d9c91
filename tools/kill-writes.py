#!/usr/bin/env python3
"""Kills tavrin-cli at random moments while it writes, and counts what the kills left behind.

  python3 tools/kill-writes.py BUILD_DIR [--kills N] [--seed S] [--named] [--usb]

pack (default): writes one of two schedules over the other, each run killed with SIGKILL at a
random moment of its usual run time. After each kill the pair FILE.BIN + FILE.TXT is classified
as whole (both from one schedule) or mixed (one file of each); anything else is damaged. A kill
that leaves a temporary (".tavrin-*.tmp") in the folder is counted, and the temporaries still there
after one more write that runs to its end.

--named: unnamed temporaries unavailable (an LD_PRELOAD shim refuses O_TMPFILE, as file systems
without it do), so every temporary has a name while it is written.

--usb: usb-write onto a stick folder instead; counts the stick's temporaries ("VL*.TMP") the same
way.

Prints one line of figures; exit status 0 unless a kill left a damaged file.
"""
import argparse
import hashlib
import os
import random
import re
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

SHIM = r"""
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
static int refused(int flags) { return (flags & __O_TMPFILE) == __O_TMPFILE; }
#define WRAP(name, ...)                                                       \
  int name(__VA_ARGS__, int flags, ...) {                                     \
    va_list ap; va_start(ap, flags); int mode = va_arg(ap, int); va_end(ap);  \
    if (refused(flags)) { errno = EOPNOTSUPP; return -1; }                    \
    static int (*real)() = 0;                                                 \
    if (!real) real = (int (*)())dlsym(RTLD_NEXT, #name);
WRAP(open, const char* path) return real(path, flags, mode); }
WRAP(open64, const char* path) return real(path, flags, mode); }
WRAP(openat, int dir, const char* path) return real(dir, path, flags, mode); }
WRAP(openat64, int dir, const char* path) return real(dir, path, flags, mode); }
"""

PACK_TEMPORARY = re.compile(r"^\.tavrin-[0-9a-z]{10}\.tmp$")
STICK_TEMPORARY = re.compile(r"^VL[0-9A-F]{6}\.TMP$")


def digest(path):
    try:
        with open(path, "rb") as f:
            return hashlib.sha256(f.read()).hexdigest()
    except OSError:
        return None


def temporaries(folder, pattern):
    return {name for name in os.listdir(folder) if pattern.match(name)}


def build_shim(work):
    source = os.path.join(work, "shim.c")
    with open(source, "w") as f:
        f.write(SHIM)
    library = os.path.join(work, "shim.so")
    subprocess.run(["cc", "-shared", "-fPIC", "-o", library, source, "-ldl"], check=True)
    return library


def median_run(command, env, runs=9):
    times = []
    for _ in range(runs):
        start = time.monotonic()
        subprocess.run(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        times.append(time.monotonic() - start)
    return statistics.median(times)


def killed_run(command, env, delay):
    process = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    time.sleep(delay)
    try:
        process.send_signal(signal.SIGKILL)
    except ProcessLookupError:
        pass
    process.wait()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--kills", type=int, default=300)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--named", action="store_true")
    parser.add_argument("--usb", action="store_true")
    args = parser.parse_args()
    cli = os.path.join(os.path.abspath(args.build), "src", "tavrin-cli")
    source = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "examples")
    random.seed(args.seed)

    work = tempfile.mkdtemp()
    try:
        env = dict(os.environ, TAVRIN_DATA_DIR=os.path.join(work, "data"),
                   TAVRIN_NOW="2026-06-01T12:00:00")
        if args.named:
            env["LD_PRELOAD"] = build_shim(work)
        data = os.path.join(work, "data")
        os.makedirs(data)
        for name in ("Tavrin-Holidays.ini", "Tavrin.ini"):
            shutil.copy(os.path.join(source, "..", "src", "resources", name), data)
        school = os.path.join(source, "school.json")
        other = os.path.join(work, "other.json")
        with open(school, encoding="utf-8") as f:
            text = f.read()
        with open(other, "w", encoding="utf-8") as f:
            f.write(text.replace('"basicProgram": 1', '"basicProgram": 2', 1)
                    .replace('"names": {', '"names": {"99":"KILLED",', 1))
        # The two pairs, written whole once, to tell the files apart.
        reference = {}
        for label, model in (("a", school), ("b", other)):
            folder = os.path.join(work, "ref-" + label)
            os.makedirs(folder)
            subprocess.run([cli, "pack", model, "-o", os.path.join(folder, "plan.BIN")], env=env,
                           check=True)
            reference[label] = (digest(os.path.join(folder, "plan.BIN")),
                                digest(os.path.join(folder, "plan.TXT")))
            if args.usb:
                shutil.copy(os.path.join(folder, "plan.BIN"), os.path.join(work, label + ".BIN"))

        target = os.path.join(work, "out")
        os.makedirs(target)
        if args.usb:
            pattern = STICK_TEMPORARY

            def command(label):
                return [cli, "usb-write", os.path.join(work, label + ".BIN"), "--drive", target]

            def state():
                stick = digest(os.path.join(target, "VL-3400.BIN"))
                for label, (settings, _) in reference.items():
                    if stick == settings:
                        return label
                return "damaged"
        else:
            pattern = PACK_TEMPORARY

            def command(label):
                model = school if label == "a" else other
                return [cli, "pack", model, "-o", os.path.join(target, "plan.BIN")]

            def state():
                pair = (digest(os.path.join(target, "plan.BIN")),
                        digest(os.path.join(target, "plan.TXT")))
                for label, files in reference.items():
                    if pair == files:
                        return label
                if pair[0] in (s for s, _ in reference.values()) and \
                        pair[1] in (t for _, t in reference.values()):
                    return "mixed"
                return "damaged"

        subprocess.run(command("a"), env=env, check=True, stdout=subprocess.DEVNULL)
        usual = median_run(command("b"), env)
        subprocess.run(command("a"), env=env, check=True, stdout=subprocess.DEVNULL)
        counts = {"whole": 0, "mixed": 0, "damaged": 0}
        kills_leaving = 0
        current = "a"
        for _ in range(args.kills):
            wanted = "b" if current == "a" else "a"
            before = temporaries(target, pattern)
            killed_run(command(wanted), env, random.uniform(0, usual * 1.1))
            now = state()
            counts["whole" if now in ("a", "b") else now] += 1
            kills_leaving += 1 if temporaries(target, pattern) - before else 0
            if now in ("a", "b"):
                current = now
            elif now == "mixed":
                # Put a whole pair back so that the next kill starts from one.
                subprocess.run(command(current), env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
        # One write to its end: what it leaves of the killed writers' temporaries.
        subprocess.run(command(current), env=env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        left_after_next_write = len(temporaries(target, pattern))
        mode = "usb-write" if args.usb else "pack"
        print(f"{mode}{' named' if args.named else ''}: kills {args.kills}, "
              f"usual run {usual * 1000:.1f} ms, whole {counts['whole']}, "
              f"mixed {counts['mixed']}, damaged {counts['damaged']}, "
              f"kills leaving temporaries {kills_leaving}, "
              f"temporaries after the next whole write {left_after_next_write}")
        return 1 if counts["damaged"] else 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
