#include "review/ScheduleDiff.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <tuple>

#include "model/ImageBytes.h"
#include "model/ScheduleTexts.h"
#include "review/DiffTexts.h"

namespace tavrin {
namespace {

using namespace diff_text;

Difference Changed(DiffSection section, std::string what, std::string before, std::string after) {
  return {section, DiffChange::Changed, std::move(what), std::move(before), std::move(after)};
}

Difference Added(DiffSection section, std::string what, std::string after) {
  return {section, DiffChange::Added, std::move(what), std::nullopt, std::move(after)};
}

Difference Removed(DiffSection section, std::string what, std::string before) {
  return {section, DiffChange::Removed, std::move(what), std::move(before), std::nullopt};
}

// A setting with one value a side: a line only when the texts differ.
void CompareValue(std::vector<Difference>& out, DiffSection section, const std::string& what,
                  const std::string& before, const std::string& after) {
  if (before != after) out.push_back(Changed(section, what, before, after));
}

void CompareChannels(const ScheduleSide& a, const ScheduleSide& b, std::vector<Difference>& out) {
  for (int channel = 1; channel <= kChannelCount; ++channel) {
    const ChannelSetting& before = a.model.channels[channel - 1];
    const ChannelSetting& after = b.model.channels[channel - 1];
    // Compared as shown: a keep channel's signal length means nothing and is never stored.
    const std::string beforeText = ChannelText(before);
    const std::string afterText = ChannelText(after);
    if (beforeText == afterText) continue;
    const std::string what = ChannelName(channel);
    if (before.kind == kChannelUnused) {
      out.push_back(Added(DiffSection::Channels, what, afterText));
    } else if (after.kind == kChannelUnused) {
      out.push_back(Removed(DiffSection::Channels, what, beforeText));
    } else {
      out.push_back(Changed(DiffSection::Channels, what, beforeText, afterText));
    }
  }
}

// --- steps ---

using StepKey = std::tuple<int, int, std::array<uint8_t, 7>, int, int, int>;

StepKey FullKey(const WeeklyStep& step) {
  return {step.program, step.channel, step.days, step.hour, step.minute, step.action};
}

std::vector<WeeklyStep> UsedSteps(const ScheduleModel& model) {
  std::vector<WeeklyStep> steps;
  for (const WeeklyStep& step : model.steps) {
    if (step.used()) steps.push_back(step);
  }
  return steps;
}

// Pairs the entries of `a` with those of `b` whose `key` is equal, first with first, and leaves
// the others where they were. `key` gives a comparable tuple.
template <typename Entry, typename KeyOf>
std::vector<std::pair<Entry, Entry>> PairBy(std::vector<Entry>& a, std::vector<Entry>& b,
                                            KeyOf key) {
  const auto byKey = [&key](const Entry& x, const Entry& y) { return key(x) < key(y); };
  std::stable_sort(a.begin(), a.end(), byKey);
  std::stable_sort(b.begin(), b.end(), byKey);
  std::vector<std::pair<Entry, Entry>> pairs;
  std::vector<Entry> restA, restB;
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (byKey(a[i], b[j])) {
      restA.push_back(a[i++]);
    } else if (byKey(b[j], a[i])) {
      restB.push_back(b[j++]);
    } else {
      pairs.emplace_back(a[i++], b[j++]);
    }
  }
  restA.insert(restA.end(), a.begin() + static_cast<std::ptrdiff_t>(i), a.end());
  restB.insert(restB.end(), b.begin() + static_cast<std::ptrdiff_t>(j), b.end());
  a = std::move(restA);
  b = std::move(restB);
  return pairs;
}

void CompareSteps(const ScheduleSide& a, const ScheduleSide& b, const IniSettings& settings,
                  std::vector<Difference>& out) {
  std::vector<WeeklyStep> onlyA = UsedSteps(a.model);
  std::vector<WeeklyStep> onlyB = UsedSteps(b.model);
  PairBy(onlyA, onlyB, FullKey);  // the same step on both sides, wherever it sits
  // A step changed in one respect keeps the other two: the action, then the days, then the time.
  std::vector<std::pair<WeeklyStep, WeeklyStep>> changed;
  const std::function<StepKey(const WeeklyStep&)> partialKeys[] = {
      [](const WeeklyStep& s) {
        return StepKey{s.program, s.channel, s.days, s.hour, s.minute, 0};
      },
      [](const WeeklyStep& s) { return StepKey{s.program, s.channel, {}, s.hour, s.minute, 0}; },
      [](const WeeklyStep& s) { return StepKey{s.program, s.channel, s.days, 0, 0, 0}; },
  };
  for (const auto& key : partialKeys) {
    for (auto& pair : PairBy(onlyA, onlyB, key)) changed.push_back(pair);
  }

  struct Entry {
    StepKey order;
    Difference difference;
  };
  std::vector<Entry> entries;
  const auto kindA = [&a](const WeeklyStep& s) { return ChannelKindOf(a.model, s.channel); };
  const auto kindB = [&b](const WeeklyStep& s) { return ChannelKindOf(b.model, s.channel); };
  for (const auto& [before, after] : changed) {
    entries.push_back({FullKey(before), Changed(DiffSection::Steps, StepWhat(before),
                                                StepText(before, kindA(before), settings),
                                                StepText(after, kindB(after), settings))});
  }
  for (const WeeklyStep& step : onlyA) {
    entries.push_back({FullKey(step), Removed(DiffSection::Steps, StepWhat(step),
                                              StepText(step, kindA(step), settings))});
  }
  for (const WeeklyStep& step : onlyB) {
    entries.push_back({FullKey(step), Added(DiffSection::Steps, StepWhat(step),
                                            StepText(step, kindB(step), settings))});
  }
  // By program, channel and time, as the editors list them.
  std::stable_sort(entries.begin(), entries.end(), [](const Entry& x, const Entry& y) {
    const auto order = [](const StepKey& k) {
      return std::tie(std::get<0>(k), std::get<1>(k), std::get<3>(k), std::get<4>(k));
    };
    return order(x.order) < order(y.order);
  });
  for (Entry& entry : entries) out.push_back(std::move(entry.difference));
}

// --- periods and dates: sets of entries, matched by their dates ---

template <typename Entry, std::size_t N>
std::vector<Entry> UsedEntries(const std::array<Entry, N>& table) {
  std::vector<Entry> entries;
  for (const Entry& entry : table) {
    if (entry.year != 0) entries.push_back(entry);
  }
  return entries;
}

// Which entries are one entry changed in its dates: a key of the year and one end. `daysOf` says
// the dates without the year.
template <typename Entry>
struct DatesChanged {
  std::vector<std::function<std::tuple<int, int, int>(const Entry&)>> keys;
  std::function<std::string(const Entry&)> daysOf;
};

// Compares two tables of entries as steps are compared: an entry on both sides is no difference
// wherever it sits; one whose dates (`where`) are the same on both sides has another program; one
// that shares a key of `partial` is changed in its dates; the rest are added or removed. Listed
// in the order of `where`.
template <typename Entry, std::size_t N, typename Where>
void CompareEntries(const std::array<Entry, N>& a, const std::array<Entry, N>& b,
                    DiffSection section, Where where,
                    const std::function<std::string(const Entry&)>& whatOf,
                    const DatesChanged<Entry>& partial, std::vector<Difference>& out) {
  std::vector<Entry> onlyA = UsedEntries(a);
  std::vector<Entry> onlyB = UsedEntries(b);
  PairBy(onlyA, onlyB, [&where](const Entry& e) { return std::make_pair(where(e), e.program); });
  using Key = decltype(where(a[0]));
  std::vector<std::pair<Key, Difference>> found;
  for (const auto& [before, after] : PairBy(onlyA, onlyB, where)) {
    found.push_back({where(before), Changed(section, whatOf(before), ProgramText(before.program),
                                            ProgramText(after.program))});
  }
  for (const auto& key : partial.keys) {
    for (const auto& [before, after] : PairBy(onlyA, onlyB, key)) {
      // What both sides share is the year; the rest is said on each side.
      const auto side = [&partial](const Entry& e) {
        return partial.daysOf(e) + " " + ProgramText(e.program);
      };
      found.push_back({where(before),
                       Changed(section, texts::YearText(before.year), side(before), side(after))});
    }
  }
  for (const Entry& entry : onlyA) {
    found.push_back({where(entry), Removed(section, whatOf(entry), ProgramText(entry.program))});
  }
  for (const Entry& entry : onlyB) {
    found.push_back({where(entry), Added(section, whatOf(entry), ProgramText(entry.program))});
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const auto& x, const auto& y) { return x.first < y.first; });
  for (auto& [key, difference] : found) out.push_back(std::move(difference));
}

void CompareNames(const ScheduleSide& a, const ScheduleSide& b, std::vector<Difference>& out) {
  for (int program = 1; program < kProgramCount; ++program) {
    const std::string before = NameText(a.names, program);
    const std::string after = NameText(b.names, program);
    if (before == after) continue;
    const std::string what = ProgramText(program);
    if (before.empty()) {
      out.push_back(Added(DiffSection::Names, what, after));
    } else if (after.empty()) {
      out.push_back(Removed(DiffSection::Names, what, before));
    } else {
      out.push_back(Changed(DiffSection::Names, what, before, after));
    }
  }
}

}  // namespace

std::vector<Difference> CompareSchedules(const ScheduleSide& a, const ScheduleSide& b,
                                         const IniSettings& settings) {
  const ScheduleModel& x = a.model;
  const ScheduleModel& y = b.model;
  std::vector<Difference> out;
  CompareChannels(a, b, out);
  CompareSteps(a, b, settings, out);
  CompareValue(out, DiffSection::BasicProgram, kBasicProgram, ProgramText(x.basicProgram),
               ProgramText(y.basicProgram));
  CompareValue(out, DiffSection::Holiday, kHoliday,
               HolidayText(x.holidayEnabled != 0, x.holidayProgram),
               HolidayText(y.holidayEnabled != 0, y.holidayProgram));
  CompareEntries<PeriodEntry>(
      x.periods, y.periods, DiffSection::Periods,
      [](const PeriodEntry& e) {
        return std::make_tuple(e.year, e.startMonth, e.startDay, e.endMonth, e.endDay);
      },
      PeriodWhat,
      {{[](const PeriodEntry& e) {
          return std::make_tuple<int, int, int>(e.year, e.startMonth, e.startDay);
        },
        [](const PeriodEntry& e) {
          return std::make_tuple<int, int, int>(e.year, e.endMonth, e.endDay);
        }},
       PeriodDays},
      out);
  // A date is nothing but its day: another day is another date.
  CompareEntries<DateEntry>(
      x.dates, y.dates, DiffSection::Dates,
      [](const DateEntry& e) { return std::make_tuple(e.year, e.month, e.day); }, DateWhat, {},
      out);
  CompareValue(out, DiffSection::LeapPrograms, kLeapStart, ProgramText(x.leapStartProgram),
               ProgramText(y.leapStartProgram));
  CompareValue(out, DiffSection::LeapPrograms, kLeapEnd, ProgramText(x.leapEndProgram),
               ProgramText(y.leapEndProgram));
  CompareValue(out, DiffSection::SummerTime, kSummerTimeEnabled,
               EnabledText(x.summerTimeEnabled != 0), EnabledText(y.summerTimeEnabled != 0));
  CompareValue(out, DiffSection::SummerTime, kSummerTimeRule, SummerRuleText(x.summerTime),
               SummerRuleText(y.summerTime));
  CompareValue(out, DiffSection::Radio, kRadio, RadioText(x), RadioText(y));
  CompareNames(a, b, out);
  return out;
}

}  // namespace tavrin
