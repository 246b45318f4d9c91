// The agenda as an iCalendar file: parsed back with libical, its events are the agenda's, at the
// agenda's times in the zone it names, with UIDs that do not change between runs; and
// tavrin-cli agenda --ics writes it.
#include <gtest/gtest.h>
#include <libical/ical.h>

#include <algorithm>
#include <map>
#include <memory>
#include <tuple>

#include "CliRun.h"
#include "ScopedEnv.h"
#include "TempFolder.h"
#include "cli/Commands.h"
#include "document/SettingsFiles.h"
#include "review/AgendaCalendar.h"
#include "review/AgendaView.h"
#include "review/ICalendarFile.h"

namespace tavrin::testing {
namespace {

const std::string kSource = TAVRIN_SOURCE_DIR;
const std::string kSchool = kSource + "/examples/school.BIN";
const LocalTime kStamp{2026, 12, 8, 9, 0, 0};

struct ParsedEvent {
  std::string date;  // "2027-06-14"
  std::string time;  // "08:25"
  int seconds = 0;
  std::string summary;
  std::string uid;
  std::string tzid;
  time_t utc = 0;  // the start
};

// The file as a calendar app reads it.
std::vector<ParsedEvent> ParseBack(const std::string& text) {
  std::unique_ptr<icalcomponent, void (*)(icalcomponent*)> calendar(
      icalparser_parse_string(text.c_str()), icalcomponent_free);
  EXPECT_NE(calendar, nullptr);
  std::vector<ParsedEvent> events;
  if (!calendar) return events;
  EXPECT_EQ(icalcomponent_isa(calendar.get()), ICAL_VCALENDAR_COMPONENT);
  EXPECT_EQ(icalcomponent_count_errors(calendar.get()), 0);
  for (icalcomponent* event =
           icalcomponent_get_first_component(calendar.get(), ICAL_VEVENT_COMPONENT);
       event != nullptr;
       event = icalcomponent_get_next_component(calendar.get(), ICAL_VEVENT_COMPONENT)) {
    ParsedEvent parsed;
    const icaltimetype start = icalcomponent_get_dtstart(event);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", start.year, start.month, start.day);
    parsed.date = text;
    std::snprintf(text, sizeof text, "%02d:%02d", start.hour, start.minute);
    parsed.time = text;
    icalproperty* duration = icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY);
    parsed.seconds = duration ? icaldurationtype_as_int(icalproperty_get_duration(duration)) : 0;
    parsed.summary = icalcomponent_get_summary(event);
    parsed.uid = icalcomponent_get_uid(event);
    icalproperty* dtstart = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
    if (icalparameter* tzid = icalproperty_get_first_parameter(dtstart, ICAL_TZID_PARAMETER)) {
      parsed.tzid = icalparameter_get_tzid(tzid);
    }
    parsed.utc = icaltime_as_timet_with_zone(start, start.zone);
    EXPECT_NE(start.zone, nullptr) << "the zone of " << parsed.tzid << " is not in the file";
    events.push_back(parsed);
  }
  return events;
}

std::string Calendar(const CalendarDate& from, const CalendarDate& to, const std::string& zone,
                     const std::string& scope = "school.BIN", LocalTime stamp = kStamp) {
  SettingsImage image{};
  EXPECT_TRUE(ReadSettingsFile(kSchool, image).ok());
  ProgramNameTable names{};
  EXPECT_TRUE(ReadNameFile(kSource + "/examples/school.TXT", names).ok());
  IniSettings settings;
  BuildChimeLists(settings);
  Result<std::string> text =
      AgendaICalendar(image, from, to, names, settings, scope, {zone, stamp});
  EXPECT_TRUE(text.ok()) << text.message();
  return text.ok() ? *text : std::string();
}

// (date, time, channel, action) of every switch: the agenda's, and the file's read back, with a
// keep interval taken apart into its ON and OFF.
using Switch = std::tuple<std::string, std::string, std::string, std::string>;

TEST(AgendaCalendar, EventsReadBackAreTheAgendasAtItsTimes) {
  const CalendarDate from{2026, 12, 20}, to{2027, 1, 12};
  SettingsImage image{};
  ASSERT_TRUE(ReadSettingsFile(kSchool, image).ok());
  IniSettings settings;
  BuildChimeLists(settings);
  std::vector<Switch> agenda;
  for (const CalendarDate& week : {from, CalendarDate{2027, 6, 7}}) {
    const CalendarDate last = week == from ? to : CalendarDate{2027, 6, 13};
    const Result<std::vector<AgendaDay>> days = AgendaBetween(image, week, last);
    ASSERT_TRUE(days.ok());
    for (const AgendaDay& day : *days) {
      const AgendaDayText text = DescribeAgendaDay(day, {}, settings);
      for (const AgendaEventText& event : text.events) {
        agenda.emplace_back(IsoDate(day.date), event.time, event.channel, event.action);
      }
    }
  }
  std::vector<Switch> read;
  for (const auto& [first, last] :
       {std::pair{from, to}, std::pair{CalendarDate{2027, 6, 7}, CalendarDate{2027, 6, 13}}}) {
    for (const ParsedEvent& event : ParseBack(Calendar(first, last, "Asia/Tokyo"))) {
      EXPECT_EQ(event.tzid, "Asia/Tokyo");
      // "CH1 1.ウエストミンスターの鐘（授業日）": channel, action, the program's name.
      const std::string channel = event.summary.substr(0, event.summary.find(' '));
      std::string action = event.summary.substr(channel.size() + 1);
      action = action.substr(0, action.find("（"));
      if (action == "ON～OFF") {
        const int end = std::stoi(event.time.substr(0, 2)) * 60 + std::stoi(event.time.substr(3)) +
                        event.seconds / 60;
        char off[32];
        std::snprintf(off, sizeof off, "%02d:%02d", end / 60, end % 60);
        read.emplace_back(event.date, event.time, channel, "ON");
        read.emplace_back(event.date, off, channel, "OFF");
      } else {
        read.emplace_back(event.date, event.time, channel, action);
      }
    }
  }
  std::sort(agenda.begin(), agenda.end());
  std::sort(read.begin(), read.end());
  EXPECT_GT(agenda.size(), 100u);
  EXPECT_EQ(read, agenda);
}

TEST(AgendaCalendar, KeepSwitchesPairIntoIntervalsOnTheirDayAndChimesLastTheirSignal) {
  SettingsImage image{};
  InitImage(image);
  image[layout::kChannelBlock + 1] = 20;  // CH1: a 20-second time signal
  const auto keep = [](int hour, int minute, bool on) {
    return AgendaEvent{hour, minute, 2, on ? AgendaAction::KeepOn : AgendaAction::KeepOff, 0};
  };
  const AgendaEvent chime{8, 25, 1, AgendaAction::Chime, 0};
  struct Expected {
    std::string time;
    int seconds;
    std::string summary;
  };
  struct Case {
    const char* name;
    std::vector<AgendaEvent> events;
    std::vector<Expected> expected;
  };
  const Case cases[] = {
      {"on, then off",
       {keep(8, 0, true), keep(17, 0, false)},
       {{"08:00", 9 * 3600, "CH2 ON～OFF"}}},
      {"two intervals",
       {keep(8, 0, true), keep(9, 30, false), keep(12, 0, true), keep(13, 0, false)},
       {{"08:00", 5400, "CH2 ON～OFF"}, {"12:00", 3600, "CH2 ON～OFF"}}},
      {"on until midnight", {keep(22, 0, true)}, {{"22:00", 0, "CH2 ON"}}},
      {"off since before midnight", {keep(6, 0, false)}, {{"06:00", 0, "CH2 OFF"}}},
      {"on while on",
       {keep(8, 0, true), keep(9, 0, true), keep(17, 0, false)},
       {{"08:00", 9 * 3600, "CH2 ON～OFF"}, {"09:00", 0, "CH2 ON"}}},
      {"a chime inside an interval",
       {keep(8, 0, true), chime, keep(9, 0, false)},
       {{"08:00", 3600, "CH2 ON～OFF"}, {"08:25", 20, "CH1 0.（なし）"}}},
  };
  IniSettings settings;
  BuildChimeLists(settings);
  for (const Case& c : cases) {
    AgendaDay day{{2027, 6, 14}, 1, 1, AgendaSource::Basic, c.events};
    std::vector<Expected> found;
    for (const CalendarEvent& event :
         AgendaCalendarEvents({day}, image, ProgramNameTable{}, settings, "x.BIN")) {
      char time[8];
      std::snprintf(time, sizeof time, "%02d:%02d", event.hour, event.minute);
      found.push_back({time, event.seconds, event.summary});
      EXPECT_EQ(event.description, "P1（基本プログラム）") << c.name;
    }
    ASSERT_EQ(found.size(), c.expected.size()) << c.name;
    for (std::size_t i = 0; i < found.size(); ++i) {
      EXPECT_EQ(found[i].time, c.expected[i].time) << c.name << " " << i;
      EXPECT_EQ(found[i].seconds, c.expected[i].seconds) << c.name << " " << i;
      EXPECT_EQ(found[i].summary, c.expected[i].summary) << c.name << " " << i;
    }
  }
}

TEST(AgendaCalendar, TimesAreWallClockTimesOfTheNamedZone) {
  struct Case {
    std::string zone;
    CalendarDate date;
    int utcOffsetHours;  // of 07:30 on that date
  };
  const Case cases[] = {
      {"Asia/Tokyo", {2027, 6, 14}, 9},
      {"Europe/Berlin", {2027, 6, 14}, 2},  // summer time
      {"Europe/Berlin", {2027, 1, 11}, 1},
      {"America/New_York", {2027, 1, 11}, -5},
  };
  for (const Case& c : cases) {
    const std::string text = Calendar(c.date, c.date, c.zone);
    EXPECT_NE(text.find("BEGIN:VTIMEZONE\r\nTZID:" + c.zone + "\r\n"), std::string::npos) << c.zone;
    char start[64];
    std::snprintf(start, sizeof start, "DTSTART;TZID=%s:%04d%02d%02dT073000\r\n", c.zone.c_str(),
                  c.date.year, c.date.month, c.date.day);
    EXPECT_NE(text.find(start), std::string::npos) << c.zone;
    const std::vector<ParsedEvent> events = ParseBack(text);
    ASSERT_FALSE(events.empty()) << c.zone;
    const ParsedEvent& first = events.front();
    EXPECT_EQ(first.time, "07:30");
    struct tm utc {};
    utc.tm_year = c.date.year - 1900;
    utc.tm_mon = c.date.month - 1;
    utc.tm_mday = c.date.day;
    utc.tm_hour = 7;
    utc.tm_min = 30;
    EXPECT_EQ(first.utc, timegm(&utc) - c.utcOffsetHours * 3600) << c.zone;
  }
  EXPECT_FALSE(WriteICalendar({}, {"Nowhere/Atlantis", kStamp}).ok());
}

TEST(AgendaCalendar, UidsStayTheSameFromRunToRunAndKeepSchedulesApart) {
  const CalendarDate from{2027, 6, 1}, to{2027, 6, 30};
  const std::vector<ParsedEvent> first = ParseBack(Calendar(from, to, "Asia/Tokyo"));
  const std::vector<ParsedEvent> again =
      ParseBack(Calendar(from, to, "Asia/Tokyo", "school.BIN", {2027, 5, 1, 12, 0, 0}));
  const std::vector<ParsedEvent> other = ParseBack(Calendar(from, to, "Asia/Tokyo", "annex.BIN"));
  ASSERT_EQ(first.size(), again.size());
  std::vector<std::string> uids, otherUids;
  for (std::size_t i = 0; i < first.size(); ++i) {
    EXPECT_EQ(first[i].uid, again[i].uid);
    uids.push_back(first[i].uid);
    otherUids.push_back(other[i].uid);
  }
  std::sort(uids.begin(), uids.end());
  EXPECT_EQ(std::adjacent_find(uids.begin(), uids.end()), uids.end());
  std::sort(otherUids.begin(), otherUids.end());
  std::vector<std::string> shared;
  std::set_intersection(uids.begin(), uids.end(), otherUids.begin(), otherUids.end(),
                        std::back_inserter(shared));
  EXPECT_TRUE(shared.empty());
  // The time stamp is the clock's, in UTC.
  EXPECT_NE(Calendar(from, from, "Asia/Tokyo").find("DTSTAMP:20261208T000000Z"), std::string::npos);
}

TEST(AgendaCalendar, TheMachinesZoneIsTakenFromTzWhenItNamesOne) {
  ScopedEnv env;
  env.Set("TZ", ":Asia/Tokyo");
  EXPECT_EQ(MachineZoneName(), "Asia/Tokyo");
  env.Set("TZ", "/usr/share/zoneinfo/Europe/Berlin");
  EXPECT_EQ(MachineZoneName(), "Europe/Berlin");
  env.Set("TZ", "JST-9");  // no location: the system's own zone
  const std::string system = MachineZoneName();
  EXPECT_NE(system, "JST-9");
  EXPECT_TRUE(WriteICalendar({}, {system, kStamp}).ok()) << system;
}

TEST(CliAgendaIcs, WritesTheCalendarFileAndNothingWhenItCannot) {
  TempFolder folder;
  ScopedEnv env;
  env.Set("TZ", "Asia/Tokyo");
  const std::string data = kSource + "/src/resources";
  const std::string out = folder / "school.ics";
  Outcome run = Call(RunAgenda, {kSchool, "--from", "2027-06-07", "--to=2027-06-13", "--ics", out,
                                 "--data-dir", data, "--now", "2026-12-08T09:00:00"});
  ASSERT_EQ(run.code, kExitOk) << run.err;
  EXPECT_EQ(run.out, "");
  const std::string text = ReadBytes(out);
  EXPECT_EQ(text, Calendar({2027, 6, 7}, {2027, 6, 13}, "Asia/Tokyo"));
  EXPECT_NE(text.find("SUMMARY:CH1 1.ウエストミンスターの鐘（授業日）\r\n"), std::string::npos);

  struct Case {
    std::vector<std::string> args;
    int code;
    std::string err;  // the start of the message
  };
  const std::string missing = folder / "none/x.ics";
  const Case cases[] = {
      {{kSchool, "--ics", missing},
       kExitFailure,
       "tavrin-cli: the folder " + folder / "none" + " does not exist"},
      {{kSchool, "--ics", folder.path()}, kExitFailure, "tavrin-cli: " + folder.path() + " is"},
      {{kSchool, "--from", "2030-01-01", "--to", "2030-01-02", "--ics", folder / "late.ics"},
       kExitUsage,
       "tavrin-cli: 2030-01-01 は設定ファイルの対象年"},
      {{kSchool, "--names", folder / "none.TXT"}, kExitUsage, "tavrin-cli: --names needs --ics"},
      {{kSchool, "--ics", folder / "names.ics", "--names", folder / "none.TXT"},
       kExitUsage,
       "tavrin-cli: " + folder / "none.TXT" + " does not exist"},
  };
  for (const Case& c : cases) {
    Outcome refused = Call(RunAgenda, c.args);
    EXPECT_EQ(refused.code, c.code) << c.err;
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err.rfind(c.err, 0), 0u) << refused.err;
  }
  EXPECT_FALSE(std::filesystem::exists(folder / "late.ics"));
  EXPECT_FALSE(std::filesystem::exists(folder / "names.ics"));
}

}  // namespace
}  // namespace tavrin::testing
