#!/usr/bin/env python3
"""Kills tavrin-cli at random moments while it writes, and counts what the kills left behind.

  python3 tools/kill-writes.py BUILD_DIR [--kills N] [--seed S] [--named] [--usb]
  python3 tools/kill-writes.py BUILD_DIR --races N
  python3 tools/kill-writes.py BUILD_DIR --inject

pack (default): writes one of two schedules over the other, each run killed with SIGKILL at a
random moment of its usual run time. After each kill the pair FILE.BIN + FILE.TXT is classified
as whole (both from one schedule) or mixed (one file of each); anything else is damaged. A kill
that leaves a temporary (".tavrin-*.tmp") in the folder is counted, and the temporaries still there
after one more write that runs to its end.

--named: unnamed temporaries unavailable (an LD_PRELOAD shim refuses O_TMPFILE, as file systems
without it do), so every temporary has a name while it is written.

--usb: usb-write onto a stick folder instead; counts the stick's temporaries ("VL*.TMP") the same
way.

--races N: N times, two pack runs of the two schedules started together onto one pair, each
pausing 2 ms before every rename (the shim of --inject) so that their saves overlap; after both
ended, the pair is whole or mixed.

--inject: a shim (LD_PRELOAD, outside the program) counts the system calls of one whole pack run
that create, write, sync, link, rename, remove or lock files, then kills a run with SIGKILL right
before each of them in turn. After each kill the pair is opened again (dump, which settles an
interrupted save) and classified; the figures are given per kind of call.

Prints one line of figures; exit status 0 unless a kill left a damaged file (or, with --races and
--inject, a mixed pair).
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

INJECT_SHIM = r"""
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>
static long count;
static void step(const char* name) {
  static long at = -2;
  static FILE* log;
  if (at == -2) {
    const char* text = getenv("KILL_WRITES_AT");
    at = text ? atol(text) : -1;
    const char* path = getenv("KILL_WRITES_LOG");
    log = path ? fopen(path, "w") : 0;
  }
  ++count;
  if (log) { fprintf(log, "%ld %s\n", count, name); fflush(log); }
  if (count == at) raise(SIGKILL);
}
#define REAL(name) static __typeof__(name)* real; if (!real) real = dlsym(RTLD_NEXT, #name)
static int creates(int flags) { return (flags & O_CREAT) || (flags & __O_TMPFILE) == __O_TMPFILE; }
int open(const char* p, int flags, ...) {
  va_list ap; va_start(ap, flags); int mode = va_arg(ap, int); va_end(ap);
  REAL(open); if (creates(flags)) step("open"); return real(p, flags, mode); }
int open64(const char* p, int flags, ...) {
  va_list ap; va_start(ap, flags); int mode = va_arg(ap, int); va_end(ap);
  REAL(open64); if (creates(flags)) step("open"); return real(p, flags, mode); }
int openat(int d, const char* p, int flags, ...) {
  va_list ap; va_start(ap, flags); int mode = va_arg(ap, int); va_end(ap);
  REAL(openat); if (creates(flags)) step("open"); return real(d, p, flags, mode); }
int openat64(int d, const char* p, int flags, ...) {
  va_list ap; va_start(ap, flags); int mode = va_arg(ap, int); va_end(ap);
  REAL(openat64); if (creates(flags)) step("open"); return real(d, p, flags, mode); }
ssize_t write(int fd, const void* b, size_t n) { REAL(write); if (fd > 2) step("write"); return real(fd, b, n); }
int fsync(int fd) { REAL(fsync); step("fsync"); return real(fd); }
int link(const char* a, const char* b) { REAL(link); step("link"); return real(a, b); }
int linkat(int d, const char* a, int e, const char* b, int f) { REAL(linkat); step("link"); return real(d, a, e, b, f); }
static void pause_before_rename(void) {
  const char* text = getenv("KILL_WRITES_PAUSE_US");
  if (text) usleep((useconds_t)atol(text));
}
int rename(const char* a, const char* b) { REAL(rename); step("rename"); pause_before_rename(); return real(a, b); }
int renameat(int d, const char* a, int e, const char* b) { REAL(renameat); step("rename"); return real(d, a, e, b); }
int unlink(const char* p) { REAL(unlink); step("unlink"); return real(p); }
int unlinkat(int d, const char* p, int f) { REAL(unlinkat); step("unlink"); return real(d, p, f); }
int flock(int fd, int op) { REAL(flock); step("flock"); return real(fd, op); }
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


def build_shim(work, text=SHIM, name="shim"):
    source = os.path.join(work, name + ".c")
    with open(source, "w") as f:
        f.write(text)
    library = os.path.join(work, name + ".so")
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
    parser.add_argument("--races", type=int, default=0)
    parser.add_argument("--inject", action="store_true")
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

        if args.races:
            pausing = dict(env, LD_PRELOAD=build_shim(work, INJECT_SHIM, "inject"),
                           KILL_WRITES_PAUSE_US="2000")
            return races(args.races, command, state, pausing)
        if args.inject:
            return injections(work, command, state, env, target)
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


def races(count, command, state, env):
    """Two writers of one pair at once, each run to its end."""
    counts = {"a": 0, "b": 0, "mixed": 0, "damaged": 0}
    for _ in range(count):
        writers = [subprocess.Popen(command(label), env=env, stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL) for label in ("a", "b")]
        for writer in writers:
            writer.wait()
        counts[state()] += 1
    print(f"pack races: {count}, ended with a whole pair {counts['a'] + counts['b']} "
          f"(a {counts['a']}, b {counts['b']}), mixed {counts['mixed']}, "
          f"damaged {counts['damaged']}")
    return 1 if counts["mixed"] or counts["damaged"] else 0


def injections(work, command, state, env, target):
    """A kill right before each file system call of one save, then an open of the pair."""
    shim = build_shim(work, INJECT_SHIM, "inject")
    log = os.path.join(work, "calls.log")
    cli = command("a")[0]
    subprocess.run(command("a"), env=env, check=True, stdout=subprocess.DEVNULL)
    subprocess.run(command("b"), env=dict(env, LD_PRELOAD=shim, KILL_WRITES_LOG=log), check=True,
                   stdout=subprocess.DEVNULL)
    with open(log) as f:
        calls = [line.split()[1] for line in f if line.strip()]
    per_call = {}
    totals = {"whole": 0, "mixed": 0, "damaged": 0}
    current = "a"
    for index, call in enumerate(calls, start=1):
        wanted = "b" if current == "a" else "a"
        process = subprocess.run(command(wanted), env=dict(env, LD_PRELOAD=shim,
                                                           KILL_WRITES_AT=str(index)),
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        killed = process.returncode == -signal.SIGKILL
        # The next open of the pair settles what the kill left.
        subprocess.run([cli, "dump", os.path.join(target, "plan.BIN")], env=env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        now = state()
        kind = "whole" if now in ("a", "b") else now
        totals[kind] += 1
        entry = per_call.setdefault(call, {"tried": 0, "killed": 0, "mixed": 0, "damaged": 0})
        entry["tried"] += 1
        entry["killed"] += 1 if killed else 0
        entry["mixed"] += 1 if now == "mixed" else 0
        entry["damaged"] += 1 if now == "damaged" else 0
        if now in ("a", "b"):
            current = now
        else:
            subprocess.run(command(current), env=env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)
    journals = [name for name in os.listdir(os.path.join(work, "data"))
                if name.endswith(".journal")]
    print(f"pack kills injected: {len(calls)} calls of one save, whole {totals['whole']}, "
          f"mixed {totals['mixed']}, damaged {totals['damaged']}, journals left {len(journals)}")
    for call, entry in sorted(per_call.items()):
        print(f"  before {call}: tried {entry['tried']}, killed {entry['killed']}, "
              f"mixed {entry['mixed']}, damaged {entry['damaged']}")
    return 1 if totals["mixed"] or totals["damaged"] else 0


if __name__ == "__main__":
    sys.exit(main())
