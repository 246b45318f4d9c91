#!/usr/bin/env python3
"""Reads the calendar files of tavrin-cli agenda --ics as a calendar app would and compares them
with the agenda's own JSON lines, with a parser and time-zone rules of its own (the plain text and
Python's zoneinfo, not libical): every time signal starts at the agenda's time, every keep
interval starts at its ON and ends at its OFF on the zone's wall clock, a switch without its pair
lasts 0 seconds, and the time stamp is --now placed by the zone's rules. Runs the example school
and a night schedule whose switches lie on both sides of the clock changes, in zones with and
without summer time, and prints how many events agreed.

Usage: tools/ics-oracle.py [build folder]   (default build/test)
Exit status 1 when any event disagrees.
"""
import datetime
import json
import os
import subprocess
import sys
import tempfile
import zoneinfo

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DATA = os.path.join(ROOT, "src", "resources")
ZONES = ["Asia/Tokyo", "America/New_York", "Europe/London", "Australia/Lord_Howe"]
# The clock for the time stamps: before the first day, in summer and in winter.
NOWS = ["2025-07-01T08:00:00", "2026-01-15T08:00:00"]

# Every day: CH2 ON 00:30 and OFF 04:00, CH1 a two-minute signal at 01:59, CH3 OFF 05:00 alone,
# CH4 ON 01:30 and OFF 03:10, which lie across the night's clock changes.
NIGHT = {
    "basicProgram": 1,
    "channels": [{"kind": 1, "signalMinutes": 2}, {"kind": 2}, {"kind": 2}, {"kind": 2}],
    "stepCount": 6,
    "steps": [
        {"slot": 0, "program": 1, "channel": 2, "days": [1] * 7, "hour": 0, "minute": 30, "action": 1},
        {"slot": 1, "program": 1, "channel": 2, "days": [1] * 7, "hour": 4, "minute": 0, "action": 2},
        {"slot": 2, "program": 1, "channel": 1, "days": [1] * 7, "hour": 1, "minute": 59, "action": 1},
        {"slot": 3, "program": 1, "channel": 3, "days": [1] * 7, "hour": 5, "minute": 0, "action": 2},
        {"slot": 4, "program": 1, "channel": 4, "days": [1] * 7, "hour": 1, "minute": 30, "action": 1},
        {"slot": 5, "program": 1, "channel": 4, "days": [1] * 7, "hour": 3, "minute": 10, "action": 2},
    ],
}


def cli(build, args, zone):
    env = dict(os.environ, TZ=zone)
    done = subprocess.run([os.path.join(build, "src", "tavrin-cli")] + args, env=env,
                          capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit(f"tavrin-cli {' '.join(args)}: {done.stderr}")
    return done.stdout


def events_of(text):
    """The VEVENTs as dictionaries of property name to (parameters, value), lines unfolded."""
    lines = text.replace("\r\n ", "").split("\r\n")
    events, current = [], None
    for line in lines:
        if line == "BEGIN:VEVENT":
            current = {}
        elif line == "END:VEVENT":
            events.append(current)
            current = None
        elif current is not None:
            head, value = line.split(":", 1)
            name, *params = head.split(";")
            current[name] = (dict(p.split("=", 1) for p in params), value)
    return events


def wall(params_value):
    params, value = params_value
    return params.get("TZID"), datetime.datetime.strptime(value, "%Y%m%dT%H%M%S")


def expected_events(agenda_lines):
    """(date, start, end or None, zero length) of each event, paired as the timer's day runs."""
    expected = []
    for line in agenda_lines:
        day = json.loads(line)
        date = day["date"]
        pending = {}
        for event in day["events"]:
            at = datetime.datetime.strptime(date + " " + event["time"], "%Y-%m-%d %H:%M")
            if "chime" in event:
                expected.append((at, "signal", event["channel"]))
            elif event["keep"] == "ON" and event["channel"] not in pending:
                pending[event["channel"]] = at
            elif event["keep"] == "OFF" and event["channel"] in pending:
                expected.append((pending.pop(event["channel"]), at, event["channel"]))
            else:
                expected.append((at, None, event["channel"]))
        expected.extend((at, None, channel) for channel, at in pending.items())
    return sorted(expected, key=lambda e: (e[0], e[2], str(e[1])))


def compare(build, binary, zone, now):
    agenda = cli(build, ["agenda", binary], zone).splitlines()
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "a.ics")
        cli(build, ["agenda", binary, "--ics", out, "--data-dir", DATA, "--now", now], zone)
        with open(out, encoding="utf-8", newline="") as f:
            events = events_of(f.read())
    expected = expected_events(agenda)
    stamp = datetime.datetime.fromisoformat(now).replace(tzinfo=zoneinfo.ZoneInfo(zone))
    stamp = stamp.astimezone(datetime.timezone.utc).strftime("%Y%m%dT%H%M%SZ")
    found, faults = [], []
    for event in events:
        tzid, start = wall(event["DTSTART"])
        channel = int(event["SUMMARY"][1].split(" ")[0][2:])
        if tzid != zone:
            faults.append(f"{start} CH{channel}: DTSTART in {tzid}")
        if event["DTSTAMP"][1] != stamp:
            faults.append(f"{start} CH{channel}: DTSTAMP {event['DTSTAMP'][1]}, not {stamp}")
        if "DTEND" in event:
            end_tzid, end = wall(event["DTEND"])
            if end_tzid != zone:
                faults.append(f"{start} CH{channel}: DTEND in {end_tzid}")
            kind = "signal" if "ON～OFF" not in event["SUMMARY"][1] else end
        elif event.get("DURATION", ({}, ""))[1] in ("PT0S", "P0D", "PT0M", "PT0H"):
            kind = None
        else:
            faults.append(f"{start} CH{channel}: neither DTEND nor a zero DURATION")
            kind = "?"
        found.append((start, kind, channel))
    found.sort(key=lambda e: (e[0], e[2], str(e[1])))
    if found != expected:
        missing = [e for e in expected if e not in found]
        extra = [e for e in found if e not in expected]
        faults.append(f"agenda only: {missing[:3]}; file only: {extra[:3]}")
    return len(expected), faults


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "test")
    with tempfile.TemporaryDirectory() as folder:
        night = os.path.join(folder, "night.BIN")
        model = os.path.join(folder, "night.json")
        with open(model, "w") as f:
            json.dump(NIGHT, f)
        cli(build, ["pack", model, "-o", night, "--data-dir", DATA, "--now", "2026-06-01T00:00:00"],
            "UTC")
        total, bad = 0, 0
        for binary in [os.path.join(ROOT, "examples", "school.BIN"), night]:
            for zone in ZONES:
                for now in NOWS:
                    count, faults = compare(build, binary, zone, now)
                    total += count
                    bad += len(faults)
                    name = os.path.basename(binary)
                    print(f"{name} {zone} --now {now}: {count} events, {len(faults)} disagreeing")
                    for fault in faults[:5]:
                        print("  " + fault)
    print(f"{total} events compared, {bad} disagreements")
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
