#include "review/ICalendarFile.h"

#include <libical/ical.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

namespace tavrin {
namespace {

constexpr char kProductId[] = "-//Korva Time Systems//Tavrin//JA";

// libical's objects, freed however the writing ends.
struct ComponentFree {
  void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
struct ZoneFree {
  void operator()(icaltimezone* zone) const { icaltimezone_free(zone, 1); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;
using Zone = std::unique_ptr<icaltimezone, ZoneFree>;

bool KnownZone(const std::string& location) {
  if (location.empty()) return false;
  Component zone(icaltzutil_fetch_timezone(location.c_str()));
  return zone != nullptr;
}

// "/usr/share/zoneinfo/Asia/Tokyo" → "Asia/Tokyo".
std::string LocationOfPath(const std::string& path) {
  const std::string marker = "zoneinfo/";
  const std::size_t at = path.rfind(marker);
  return at == std::string::npos ? std::string() : path.substr(at + marker.size());
}

std::string FirstLine(const char* path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.pop_back();
  return line;
}

icaltimetype TimeIn(icaltimezone* zone, const CalendarDate& date, int hour, int minute,
                    int second) {
  icaltimetype time = icaltime_null_time();
  time.year = date.year;
  time.month = date.month;
  time.day = date.day;
  time.hour = hour;
  time.minute = minute;
  time.second = second;
  time.is_date = 0;
  time.zone = zone;
  return time;
}

// The zone's VTIMEZONE under its location's name: libical prefixes its own, which some calendar
// apps do not recognise.
Component ZoneComponent(const std::string& location) {
  Component component(icaltzutil_fetch_timezone(location.c_str()));
  if (!component) return nullptr;
  icalproperty* tzid = icalcomponent_get_first_property(component.get(), ICAL_TZID_PROPERTY);
  if (tzid == nullptr) return nullptr;
  icalproperty_set_tzid(tzid, location.c_str());
  return component;
}

// The component's text, lines ending in CR LF, folded where they are long.
std::optional<std::string> Serialised(icalcomponent* component) {
  char* text = icalcomponent_as_ical_string_r(component);
  if (text == nullptr) return std::nullopt;
  std::string result(text);
  icalmemory_free_buffer(text);
  return result;
}

}  // namespace

std::string MachineZoneName() {
  if (const char* tz = std::getenv("TZ"); tz != nullptr && *tz != '\0') {
    std::string name = tz[0] == ':' ? tz + 1 : tz;
    if (!name.empty() && name[0] == '/') name = LocationOfPath(name);
    if (KnownZone(name)) return name;
  }
  if (const std::string name = FirstLine("/etc/timezone"); KnownZone(name)) return name;
  std::error_code error;
  const std::filesystem::path target = std::filesystem::read_symlink("/etc/localtime", error);
  if (const std::string name = error ? std::string() : LocationOfPath(target.string());
      KnownZone(name)) {
    return name;
  }
  return "Etc/UTC";
}

Result<std::string> WriteICalendar(const std::vector<CalendarEvent>& events,
                                   const ICalendarOptions& options) {
  Component vtimezone = ZoneComponent(options.zone);
  if (!vtimezone) return Fail("タイムゾーン " + options.zone + " が見つかりません。");
  // The zone with all its rules, for the time stamp: `--now` may lie in a season the exported
  // days do not reach, which the shortened VTIMEZONE below no longer knows.
  Zone zone(icaltimezone_new());
  icaltimezone_set_component(zone.get(), icalcomponent_new_clone(vtimezone.get()));
  if (!events.empty()) {
    // Only the rules from the first event on: the zone's whole history would bury the events.
    const CalendarEvent& first = events.front();
    icaltimetype from = TimeIn(nullptr, first.date, 0, 0, 0);
    icaltime_adjust(&from, -1, 0, 0, 0);
    from.zone = icaltimezone_get_utc_timezone();
    icaltimezone_truncate_vtimezone(vtimezone.get(), from, icaltime_null_time(), 0);
  }

  Component calendar(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
  icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
  icalcomponent_add_property(calendar.get(), icalproperty_new_prodid(kProductId));
  icalcomponent_add_property(calendar.get(), icalproperty_new_calscale("GREGORIAN"));
  icalcomponent_add_component(calendar.get(), vtimezone.release());
  std::optional<std::string> text = Serialised(calendar.get());
  const std::string end = "END:VCALENDAR\r\n";
  if (!text || !text->ends_with(end)) return Fail("iCalendar の作成に失敗しました。");
  text->resize(text->size() - end.size());

  // Each event is written on its own and let go: a calendar of a year's events held whole costs
  // more in allocations than its writing.
  const LocalTime& now = options.stamp;
  const icaltimetype stamp = icaltime_convert_to_zone(
      TimeIn(zone.get(), {now.year, now.month, now.day}, now.hour, now.minute, now.second),
      icaltimezone_get_utc_timezone());
  for (const CalendarEvent& event : events) {
    Component vevent(icalcomponent_new(ICAL_VEVENT_COMPONENT));
    icalcomponent_add_property(vevent.get(), icalproperty_new_uid(event.uid.c_str()));
    icalcomponent_add_property(vevent.get(), icalproperty_new_dtstamp(stamp));
    const icaltimetype start = TimeIn(zone.get(), event.date, event.hour, event.minute, 0);
    icalcomponent_set_dtstart(vevent.get(), start);
    if (event.seconds > 0) {
      // The timer switches at wall-clock times: the end is the zone's time too, so that an
      // interval across a clock change ends where the clock then says, not an exact span later.
      icaltimetype end = start;
      icaltime_adjust(&end, 0, 0, 0, event.seconds);
      icalcomponent_set_dtend(vevent.get(), end);
    } else {
      // Without a length some apps show an hour.
      icalcomponent_set_duration(vevent.get(), icaldurationtype_from_int(0));
    }
    icalcomponent_add_property(vevent.get(), icalproperty_new_summary(event.summary.c_str()));
    icalcomponent_add_property(vevent.get(),
                               icalproperty_new_description(event.description.c_str()));
    const std::optional<std::string> written = Serialised(vevent.get());
    if (!written) return Fail("iCalendar の作成に失敗しました。");
    *text += *written;
  }
  return *text + end;
}

Result<std::string> AgendaICalendar(const SettingsImage& image, const CalendarDate& from,
                                    const CalendarDate& to, const ProgramNameTable& names,
                                    const IniSettings& settings, const std::string& scope,
                                    const ICalendarOptions& options) {
  Result<std::vector<AgendaDay>> days = AgendaBetween(image, from, to);
  if (!days) return Fail(days.message());
  return WriteICalendar(AgendaCalendarEvents(*days, image, names, settings, scope), options);
}

}  // namespace tavrin
