#include "review/AgendaCalendar.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>

#include "editors/WeeklyGroups.h"
#include "model/ImageBytes.h"
#include "model/ShiftJis.h"
#include "review/AgendaView.h"

namespace tavrin {
namespace {

// The timer counts every fourth year a leap year, 2100 too; a calendar app does not.
bool IsCalendarDate(const CalendarDate& date) {
  return !(date.month == 2 && date.day == 29 && date.year % 100 == 0 && date.year % 400 != 0);
}

int SignalSeconds(const SettingsImage& image, int channel) {
  const uint8_t* record =
      image.data() + layout::kChannelBlock + (channel - 1) * layout::kChannelRecordSize;
  return (record[0] & image_codes::kMinutesMask) * 60 + record[1];
}

// 64-bit FNV-1a: a short, stable tag for a file name, which may hold any character.
std::string ScopeTag(const std::string& scope) {
  std::uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : scope) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  char text[24];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

class DayBuilder {
 public:
  DayBuilder(const AgendaDay& day, const SettingsImage& image, const ProgramNameTable& names,
             const IniSettings& settings, const std::string& tag, std::vector<CalendarEvent>& out)
      : day_(day),
        image_(image),
        text_(DescribeAgendaDay(day, names, settings)),
        description_(text_.program + "（" + text_.source + "）"),
        tag_(tag),
        out_(out) {
    const std::string name = FromShiftJis(ProgramNameText(names, day.program));
    if (!name.empty()) suffix_ = "（" + name + "）";
  }

  void Build() {
    for (std::size_t i = 0; i < day_.events.size(); ++i) {
      const AgendaEvent& event = day_.events[i];
      const AgendaEventText& text = text_.events[i];
      switch (event.action) {
        case AgendaAction::Chime:
          Emit(event, text.channel + " " + text.action, SignalSeconds(image_, event.channel));
          break;
        case AgendaAction::KeepOn:
          // A second ON while the channel is on switches nothing, but the timer runs it.
          if (open_.count(event.channel)) {
            Emit(event, text.channel + " ON", 0);
          } else {
            open_[event.channel] = i;
          }
          break;
        case AgendaAction::KeepOff:
          if (auto on = open_.find(event.channel); on != open_.end()) {
            const AgendaEvent& start = day_.events[on->second];
            const int seconds =
                ((event.hour - start.hour) * 60 + (event.minute - start.minute)) * 60;
            Emit(start, text.channel + " ON～OFF", seconds);
            open_.erase(on);
          } else {
            Emit(event, text.channel + " OFF", 0);
          }
          break;
      }
    }
    // Still on at midnight: the interval goes on the next day, which the calendar cannot pair.
    for (const auto& [channel, index] : open_) {
      Emit(day_.events[index], text_.events[index].channel + " ON", 0);
    }
    // By their start, as the agenda lists them.
    std::stable_sort(pending_.begin(), pending_.end(),
                     [](const CalendarEvent& a, const CalendarEvent& b) {
                       return a.hour * 60 + a.minute < b.hour * 60 + b.minute;
                     });
    out_.insert(out_.end(), pending_.begin(), pending_.end());
  }

 private:
  void Emit(const AgendaEvent& at, const std::string& summary, int seconds) {
    const int ordinal = ++ordinals_[at.channel];
    char uid[96];
    std::snprintf(uid, sizeof uid, "%04d%02d%02d-ch%d-%d-%s@tavrin", day_.date.year,
                  day_.date.month, day_.date.day, at.channel, ordinal, tag_.c_str());
    pending_.push_back(
        {day_.date, at.hour, at.minute, seconds, summary + suffix_, description_, uid});
  }

  const AgendaDay& day_;
  const SettingsImage& image_;
  AgendaDayText text_;
  std::string description_;  // "P1 朝の日課（期間設定）"
  std::string suffix_;       // "（朝の日課）", or nothing for a program without a name
  const std::string& tag_;
  std::vector<CalendarEvent>& out_;
  std::map<int, std::size_t> open_;  // channel → index of its ON without an OFF yet
  std::map<int, int> ordinals_;      // channel → events given so far
  std::vector<CalendarEvent> pending_;
};

}  // namespace

std::vector<CalendarEvent> AgendaCalendarEvents(const std::vector<AgendaDay>& days,
                                                const SettingsImage& image,
                                                const ProgramNameTable& names,
                                                const IniSettings& settings,
                                                const std::string& scope) {
  const std::string tag = ScopeTag(scope);
  std::vector<CalendarEvent> events;
  for (const AgendaDay& day : days) {
    if (!IsCalendarDate(day.date)) continue;
    DayBuilder(day, image, names, settings, tag, events).Build();
  }
  return events;
}

}  // namespace tavrin
