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
  std::string date;         // "2027-06-14"
  std::string time;         // "08:25"
  std::string end;          // DTEND on the wall clock: "2027-06-14 08:45:20"; empty without one
  bool zeroLength = false;  // DURATION:PT0S
  std::string summary;
  std::string uid;
  std::string tzid;
  std::string endTzid;
  std::string utc;     // the start: "20270613T232500Z"
  std::string endUtc;  // the end, when there is a DTEND
  std::string stamp;   // DTSTAMP
};

std::string WallText(const icaltimetype& time) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", time.year, time.month, time.day,
                time.hour, time.minute, time.second);
  return text;
}

// The instant as the file's own VTIMEZONE places it.
std::string UtcText(const icaltimetype& time) {
  const icaltimetype utc = icaltime_convert_to_zone(time, icaltimezone_get_utc_timezone());
  char text[32];
  std::snprintf(text, sizeof text, "%04d%02d%02dT%02d%02d%02dZ", utc.year, utc.month, utc.day,
                utc.hour, utc.minute, utc.second);
  return text;
}

std::string TzidOf(icalproperty* property) {
  icalparameter* tzid = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER);
  return tzid ? icalparameter_get_tzid(tzid) : "";
}

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
    parsed.zeroLength =
        duration != nullptr && icaldurationtype_as_int(icalproperty_get_duration(duration)) == 0;
    parsed.summary = icalcomponent_get_summary(event);
    parsed.uid = icalcomponent_get_uid(event);
    parsed.tzid = TzidOf(icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY));
    parsed.utc = UtcText(start);
    parsed.stamp = UtcText(icalcomponent_get_dtstamp(event));
    EXPECT_NE(start.zone, nullptr) << "the zone of " << parsed.tzid << " is not in the file";
    if (icalproperty* dtend = icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY)) {
      const icaltimetype end = icalcomponent_get_dtend(event);
      parsed.end = WallText(end);
      parsed.endTzid = TzidOf(dtend);
      parsed.endUtc = UtcText(end);
    } else if (duration != nullptr && !parsed.zeroLength && start.zone != nullptr) {
      // An exact length, as apps take it: that many seconds after the start's instant, shown on
      // the zone's clock.
      icaltimetype end = icaltime_convert_to_zone(start, icaltimezone_get_utc_timezone());
      icaltime_adjust(&end, 0, 0, 0, icaldurationtype_as_int(icalproperty_get_duration(duration)));
      parsed.end = WallText(icaltime_convert_to_zone(end, const_cast<icaltimezone*>(start.zone)));
    }
    events.push_back(parsed);
  }
  return events;
}

// The agenda of `file` from `from` to `to` as a calendar file in `zone`; with the school's
// program names beside the school.
std::string CalendarOf(const std::string& file, const CalendarDate& from, const CalendarDate& to,
                       const std::string& zone, const std::string& scope = "school.BIN",
                       LocalTime stamp = kStamp) {
  SettingsImage image{};
  EXPECT_TRUE(ReadSettingsFile(file, image).ok());
  ProgramNameTable names{};
  if (file == kSchool) {
    EXPECT_TRUE(ReadNameFile(kSource + "/examples/school.TXT", names).ok());
  }
  IniSettings settings;
  BuildChimeLists(settings);
  Result<std::string> text =
      AgendaICalendar(image, from, to, names, settings, scope, {zone, stamp});
  EXPECT_TRUE(text.ok()) << text.message();
  return text.ok() ? *text : std::string();
}

std::string Calendar(const CalendarDate& from, const CalendarDate& to, const std::string& zone,
                     const std::string& scope = "school.BIN", LocalTime stamp = kStamp) {
  return CalendarOf(kSchool, from, to, zone, scope, stamp);
}

// Every day: CH2 (keep) ON at 00:30 and OFF at 04:00, a two-minute time signal on CH1 at 01:59,
// and CH3 (keep) OFF at 05:00 without an ON before it.
constexpr char kNightModel[] = R"({
  "basicProgram": 1,
  "channels": [{"kind": 1, "signalMinutes": 2}, {"kind": 2}, {"kind": 2}],
  "stepCount": 4,
  "steps": [
    {"slot": 0, "program": 1, "channel": 2, "days": [1,1,1,1,1,1,1], "hour": 0, "minute": 30, "action": 1},
    {"slot": 1, "program": 1, "channel": 2, "days": [1,1,1,1,1,1,1], "hour": 4, "minute": 0, "action": 2},
    {"slot": 2, "program": 1, "channel": 1, "days": [1,1,1,1,1,1,1], "hour": 1, "minute": 59, "action": 1},
    {"slot": 3, "program": 1, "channel": 3, "days": [1,1,1,1,1,1,1], "hour": 5, "minute": 0, "action": 2}
  ]
})";

// The night schedule as a settings file for 2026, made by pack in `folder`.
std::string PackNight(const TempFolder& folder) {
  WriteBytes(folder / "night.json", kNightModel);
  const Outcome packed =
      Call(RunPack, {folder / "night.json", "-o", folder / "night.BIN", "--data-dir",
                     kSource + "/src/resources", "--now", "2026-06-01T00:00:00"});
  EXPECT_EQ(packed.code, kExitOk) << packed.err;
  return folder / "night.BIN";
}

// (date, time, channel, action) of every switch: the agenda's, and the file's read back, with a
// keep interval taken apart into its ON at its start and its OFF at its end, each on the wall
// clock of the file's zone as a calendar app shows them.
using Switch = std::tuple<std::string, std::string, std::string, std::string>;

TEST(AgendaCalendar, EventsReadBackAreTheAgendasAtItsTimes) {
  TempFolder folder;
  const std::string night = PackNight(folder);
  struct Case {
    std::string file;
    const char* zone;
    CalendarDate from, to;
  };
  // The night's switches lie on both sides of each clock change.
  const Case cases[] = {
      {kSchool, "Asia/Tokyo", {2026, 12, 20}, {2027, 1, 12}},
      {kSchool, "Asia/Tokyo", {2027, 6, 7}, {2027, 6, 13}},
      {kSchool, "America/New_York", {2027, 3, 8}, {2027, 3, 19}},
      {night, "America/New_York", {2026, 3, 7}, {2026, 3, 9}},
      {night, "America/New_York", {2026, 10, 31}, {2026, 11, 2}},
      {night, "Europe/London", {2026, 3, 28}, {2026, 3, 30}},
      {night, "Europe/London", {2026, 10, 24}, {2026, 10, 26}},
      {night, "Australia/Lord_Howe", {2026, 4, 4}, {2026, 4, 6}},
      {night, "Australia/Lord_Howe", {2026, 10, 3}, {2026, 10, 5}},
  };
  IniSettings settings;
  BuildChimeLists(settings);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.zone) + " from " + IsoDate(c.from));
    SettingsImage image{};
    ASSERT_TRUE(ReadSettingsFile(c.file, image).ok());
    std::vector<Switch> agenda;
    const Result<std::vector<AgendaDay>> days = AgendaBetween(image, c.from, c.to);
    ASSERT_TRUE(days.ok());
    for (const AgendaDay& day : *days) {
      const AgendaDayText text = DescribeAgendaDay(day, {}, settings);
      for (const AgendaEventText& event : text.events) {
        agenda.emplace_back(IsoDate(day.date), event.time, event.channel, event.action);
      }
    }
    std::vector<Switch> read;
    for (const ParsedEvent& event : ParseBack(CalendarOf(c.file, c.from, c.to, c.zone))) {
      EXPECT_EQ(event.tzid, c.zone);
      // "CH1 1.ウエストミンスターの鐘（授業日）": channel, action, the program's name.
      const std::string channel = event.summary.substr(0, event.summary.find(' '));
      std::string action = event.summary.substr(channel.size() + 1);
      action = action.substr(0, action.find("（"));
      if (action == "ON～OFF") {
        read.emplace_back(event.date, event.time, channel, "ON");
        ASSERT_EQ(event.end.substr(0, 10), event.date) << event.summary << " ends " << event.end;
        read.emplace_back(event.date, event.end.substr(11, 5), channel, "OFF");
      } else {
        read.emplace_back(event.date, event.time, channel, action);
      }
    }
    std::sort(agenda.begin(), agenda.end());
    std::sort(read.begin(), read.end());
    EXPECT_GT(agenda.size(), 8u);
    EXPECT_EQ(read, agenda);
  }
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
  EXPECT_FALSE(WriteICalendar({}, {"Nowhere/Atlantis", kStamp}).ok());
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

// The night schedule as a settings file, made by pack, and the agenda of `date` as tavrin-cli
// agenda --ics writes it in `zone` with the clock at `now`.
std::string NightCalendar(const TempFolder& folder, const std::string& zone,
                          const std::string& date, const std::string& now) {
  ScopedEnv env;
  env.Set("TZ", zone.c_str());
  const Outcome run = Call(
      RunAgenda, {PackNight(folder), "--from", date, "--to", date, "--ics", folder / "night.ics",
                  "--data-dir", kSource + "/src/resources", "--now", now});
  EXPECT_EQ(run.code, kExitOk) << run.err;
  return ReadBytes(folder / "night.ics");
}

// A calendar app shows an event from its DTSTART to its DTEND, each on the named zone's clock.
// On the days the clocks change an interval ends at the time the timer's clock then shows, and
// the file's VTIMEZONE places both ends at the instants the zone's rules give. The time stamp is
// the moment --now names on the zone's clock, in another season than the days exported.
TEST(CliAgendaIcs, TimesAreTheZonesWallClockOnTheDaysItsClocksChange) {
  struct Case {
    const char* zone;
    const char* date;
    const char* onUtc;   // 00:30 on that day
    const char* offUtc;  // 04:00 on that day
    const char* now;
    const char* stamp;
  };
  const Case cases[] = {
      // EST → EDT, and EDT → EST
      {"America/New_York", "2026-03-08", "20260308T053000Z", "20260308T080000Z",
       "2025-07-01T12:00:00", "20250701T160000Z"},
      {"America/New_York", "2026-11-01", "20261101T043000Z", "20261101T090000Z",
       "2026-01-15T12:00:00", "20260115T170000Z"},
      // GMT → BST, BST → GMT, and a day in November stamped in April
      {"Europe/London", "2026-03-29", "20260329T003000Z", "20260329T030000Z", "2025-07-01T08:00:00",
       "20250701T070000Z"},
      {"Europe/London", "2026-10-25", "20261024T233000Z", "20261025T040000Z", "2026-01-15T08:00:00",
       "20260115T080000Z"},
      {"Europe/London", "2026-11-02", "20261102T003000Z", "20261102T040000Z", "2026-04-01T08:00:00",
       "20260401T070000Z"},
      // +11 → +10:30, and +10:30 → +11
      {"Australia/Lord_Howe", "2026-04-05", "20260404T133000Z", "20260404T173000Z",
       "2025-07-10T12:00:00", "20250710T013000Z"},
      {"Australia/Lord_Howe", "2026-10-04", "20261003T140000Z", "20261003T170000Z",
       "2026-01-10T12:00:00", "20260110T010000Z"},
      // no change
      {"Asia/Tokyo", "2026-03-08", "20260307T153000Z", "20260307T190000Z", "2026-06-01T12:00:00",
       "20260601T030000Z"},
  };
  TempFolder folder;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.zone) + " " + c.date);
    const std::string text = NightCalendar(folder, c.zone, c.date, c.now);
    const std::string zone = c.zone;
    const std::string day = c.date;
    EXPECT_NE(text.find("BEGIN:VTIMEZONE\r\nTZID:" + zone + "\r\n"), std::string::npos);
    std::string compact = day;
    compact.erase(std::remove(compact.begin(), compact.end(), '-'), compact.end());
    EXPECT_NE(text.find("DTSTART;TZID=" + zone + ":" + compact + "T003000\r\n"), std::string::npos);
    const std::vector<ParsedEvent> events = ParseBack(text);
    ASSERT_EQ(events.size(), 3u);
    const ParsedEvent& keep = events[0];
    EXPECT_EQ(keep.summary, "CH2 ON～OFF");
    EXPECT_EQ(keep.date + " " + keep.time, day + " 00:30");
    EXPECT_EQ(keep.end, day + " 04:00:00") << "the interval's end on the wall clock";
    EXPECT_EQ(keep.endTzid, zone);
    EXPECT_EQ(keep.utc, c.onUtc);
    EXPECT_EQ(keep.endUtc, c.offUtc) << "the interval's end as the zone places it";
    EXPECT_EQ(keep.stamp, c.stamp) << "the time stamp";
    const ParsedEvent& chime = events[1];
    EXPECT_EQ(chime.summary.rfind("CH1 ", 0), 0u) << chime.summary;
    EXPECT_EQ(chime.date + " " + chime.time, day + " 01:59");
    EXPECT_EQ(chime.end, day + " 02:01:00") << "a two-minute signal on the wall clock";
    EXPECT_EQ(chime.endTzid, zone);
    const ParsedEvent& off = events[2];
    EXPECT_EQ(off.summary, "CH3 OFF");
    EXPECT_EQ(off.end, "");
    EXPECT_TRUE(off.zeroLength) << "a switch without its pair has no explicit length";
  }
}

}  // namespace
}  // namespace tavrin::testing
