#!/usr/bin/env python3
"""Writes the shipped holiday file, Japan's public holidays for 2000..2099, every year the timer
holds.

The dates follow the public-holiday law (国民の祝日に関する法律) as amended over those years:
  - fixed dates, and the Happy Monday days (成人の日 and 体育の日/スポーツの日 on the second
    Monday from 2000, 海の日 and 敬老の日 on the third Monday from 2003);
  - 春分の日/秋分の日 from the usual approximation, valid 1980..2099, of the observatory's
    equinox tables (the official days are announced in February of the year before: up to
    ANNOUNCED_YEAR they are the announced ones, later ones are computed);
  - 昭和の日 on 4/29 and みどりの日 moved to 5/4 from 2007; 山の日 from 2016;
  - 天皇誕生日 on 12/23 until 2018, none in 2019, 2/23 from 2020;
  - 2019: 即位の日 5/1 and 即位礼正殿の儀 10/22 count as holidays of the law, so 4/30 and 5/2
    become 国民の休日 by the ordinary rule;
  - 2020 and 2021: 海の日, スポーツの日 and 山の日 moved for the Olympic Games;
  - 振替休日: until 2006 only the Monday after a Sunday holiday; from 2007 the first later
    day that is not itself a holiday;
  - 国民の休日: a day between two holidays of the law; until 2006 not a Sunday.

Cross-check (tools/check_holidays.py), run on 2026-12-09 against the npm package
@holiday-jp/holiday_jp 2.5.1 (data for 1970..2050), years 2000..2050 compared:
0 differences (895 dates on each side).
The dataset reaches no further. For 2046..2099 the core test
ShippedHolidayFile.LaterYearsFollowTheLawsRulesAndTheSun holds the file against a rule table of
its own, whose equinoxes come from an astronomical algorithm instead of this approximation.

Usage: gen_holidays.py [OUTPUT]   (default: src/resources/Tavrin-Holidays.ini of this repository)
The output is the same bytes on every run: Shift-JIS (cp932), CR LF line ends.
"""

import datetime
import os
import sys

FIRST_YEAR = 2000
LAST_YEAR = 2099
# The last year whose equinox days the observatory has announced (in February of the year before).
ANNOUNCED_YEAR = 2027
# Bumped by hand whenever the dates change, so the about box tells which edition is installed.
VERSION = "V2026.12b"

SUNDAY = 6  # datetime.date.weekday()
MONDAY = 0


def nth_monday(year, month, n):
    first = datetime.date(year, month, 1)
    offset = (MONDAY - first.weekday()) % 7
    return first + datetime.timedelta(days=offset + 7 * (n - 1))


def equinox_day(year, base_micro):
    """Day of month of an equinox; base_micro is the 1980 base day in millionths.

    Integer arithmetic, so that no rounding of binary fractions can move a day that the
    formula puts close to midnight (2045's autumn equinox comes out at 22.99).
    """
    span = year - 1980
    return (base_micro + 242194 * span - (span // 4) * 1000000) // 1000000


def vernal_equinox(year):
    return datetime.date(year, 3, equinox_day(year, 20843100))


def autumnal_equinox(year):
    return datetime.date(year, 9, equinox_day(year, 23248800))


def statutory_holidays(year):
    """The holidays the law names, as {date: name}, before substitutes and bridge days."""
    d = datetime.date
    days = {
        d(year, 1, 1): "元日",
        nth_monday(year, 1, 2): "成人の日",
        d(year, 2, 11): "建国記念の日",
        vernal_equinox(year): "春分の日",
        d(year, 5, 3): "憲法記念日",
        d(year, 5, 5): "こどもの日",
        autumnal_equinox(year): "秋分の日",
        d(year, 11, 3): "文化の日",
        d(year, 11, 23): "勤労感謝の日",
    }
    if year >= 2007:
        days[d(year, 4, 29)] = "昭和の日"
        days[d(year, 5, 4)] = "みどりの日"
    else:
        days[d(year, 4, 29)] = "みどりの日"

    if year == 2020:
        days[d(year, 7, 23)] = "海の日"
        days[d(year, 7, 24)] = "スポーツの日"
        days[d(year, 8, 10)] = "山の日"
    elif year == 2021:
        days[d(year, 7, 22)] = "海の日"
        days[d(year, 7, 23)] = "スポーツの日"
        days[d(year, 8, 8)] = "山の日"
    else:
        days[d(year, 7, 20) if year < 2003 else nth_monday(year, 7, 3)] = "海の日"
        if year >= 2016:
            days[d(year, 8, 11)] = "山の日"
        days[nth_monday(year, 10, 2)] = "スポーツの日" if year >= 2020 else "体育の日"

    days[d(year, 9, 15) if year < 2003 else nth_monday(year, 9, 3)] = "敬老の日"

    if year <= 2018:
        days[d(year, 12, 23)] = "天皇誕生日"
    elif year >= 2020:
        days[d(year, 2, 23)] = "天皇誕生日"
    else:
        days[d(year, 5, 1)] = "即位の日"
        days[d(year, 10, 22)] = "即位礼正殿の儀"
    return days


def holidays(year):
    """Every day off of the year, as a sorted list of (date, name)."""
    statutory = statutory_holidays(year)
    one_day = datetime.timedelta(days=1)
    substitutes = {}
    for day in statutory:
        if day.weekday() != SUNDAY:
            continue
        later = day + one_day
        if year >= 2007:
            while later in statutory:
                later += one_day
        if later not in statutory:
            substitutes[later] = "振替休日"

    # Only days between two holidays of the law count; substitutes do not make a bridge.
    bridges = {}
    day = datetime.date(year, 1, 2)
    while day.year == year:
        if (day - one_day in statutory and day + one_day in statutory
                and day not in statutory and day not in substitutes
                and (year >= 2007 or day.weekday() != SUNDAY)):
            bridges[day] = "国民の休日"
        day += one_day

    merged = {**statutory, **substitutes, **bridges}
    # A substitute Monday can fall into the next year only after 12/31, which is never a holiday.
    return sorted((day, name) for day, name in merged.items() if day.year == year)


def render():
    lines = [
        "; Tavrin 祭日設定ファイル",
        "; 日本の国民の祝日・振替休日・国民の休日（%d年から%d年）" % (FIRST_YEAR, LAST_YEAR),
        ";",
        "; %d年から%d年：官報で公表された日です（春分の日・秋分の日を含む）。" % (
            FIRST_YEAR, ANNOUNCED_YEAR),
        "; %d年から%d年：現行の法律の規則（固定の祝日、第2・第3月曜日の祝日、振替休日、" % (
            ANNOUNCED_YEAR + 1, LAST_YEAR),
        ";   祝日にはさまれた国民の休日）と、春分の日・秋分の日の近似式（%d年まで有効）による計算です。" % LAST_YEAR,
        ";   春分の日・秋分の日は毎年2月に翌年の分が官報で公表されます。法律が変わることもあります。",
        ";",
        "; 日を直すには：その年の [年] の下の月の行を書き直します（例：03=20 を 03=21 に）。",
        ";   書式は「月=日,日,...」（月は2桁）、セミコロンで始まる行は注釈です。",
        ";   Shift-JIS のまま、改行は CR LF のまま保存してください。1行は510バイトまでです。",
        ";   データフォルダのこのファイルが、次にプログラムを起動したときから使われます。",
        "",
        "[System]",
        "Version=" + VERSION,
    ]
    for year in range(FIRST_YEAR, LAST_YEAR + 1):
        lines.append("")
        lines.append("[%d]" % year)
        by_month = {}
        for day, name in holidays(year):
            by_month.setdefault(day.month, []).append((day.day, name))
        for month in sorted(by_month):
            entries = by_month[month]
            lines.append("; " + "、".join("%d日 %s" % entry for entry in entries))
            lines.append("%02d=%s" % (month, ",".join(str(day) for day, _ in entries)))
    text = "".join(line + "\r\n" for line in lines)
    data = text.encode("cp932")
    longest = max(len(line.encode("cp932")) + 2 for line in lines)
    if longest > 200:
        raise SystemExit("a line of %d bytes is too long for the reader" % longest)
    return data


def main(argv):
    if len(argv) > 2:
        raise SystemExit("usage: gen_holidays.py [OUTPUT]")
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    target = argv[1] if len(argv) == 2 else os.path.join(root, "src", "resources",
                                                           "Tavrin-Holidays.ini")
    with open(target, "wb") as out:
        out.write(render())


if __name__ == "__main__":
    main(sys.argv)
