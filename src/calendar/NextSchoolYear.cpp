#include "calendar/NextSchoolYear.h"

#include <algorithm>

namespace tavrin {
namespace {

struct Day {
  int year = 0;
  int month = 0;
  int day = 0;

  auto operator<=>(const Day&) const = default;
};

Day NextDay(Day d) {
  if (d.day < MonthLength(d.year, d.month)) return {d.year, d.month, d.day + 1};
  if (d.month < 12) return {d.year, d.month + 1, 1};
  return {d.year + 1, 1, 1};
}

Day PreviousDay(Day d) {
  if (d.day > 1) return {d.year, d.month, d.day - 1};
  if (d.month > 1) return {d.year, d.month - 1, MonthLength(d.year, d.month - 1)};
  return {d.year - 1, 12, 31};
}

Day Plus(Day d, int days) {
  for (; days > 0; --days) d = NextDay(d);
  for (; days < 0; ++days) d = PreviousDay(d);
  return d;
}

// Days from `from` to `to` within one year.
int DaysBetween(Day from, Day to) {
  int days = 0;
  for (; from < to; from = NextDay(from)) ++days;
  return days;
}

Day StartOf(const PeriodEntry& entry) { return {entry.year, entry.startMonth, entry.startDay}; }
Day EndOf(const PeriodEntry& entry) { return {entry.year, entry.endMonth, entry.endDay}; }

PeriodEntry Between(Day start, Day end, int program) {
  return {static_cast<int16_t>(start.year), static_cast<uint8_t>(start.month),
          static_cast<uint8_t>(start.day),  static_cast<uint8_t>(end.month),
          static_cast<uint8_t>(end.day),    static_cast<uint8_t>(program)};
}

// The same month and day one year on; 29 February becomes 28 February in a year without one.
Day SameDate(Day d, bool& leapDayMoved) {
  const int length = MonthLength(d.year + 1, d.month);
  leapDayMoved = leapDayMoved || d.day > length;
  return {d.year + 1, d.month, std::min(d.day, length)};
}

// The day one year on with the same weekday, nearest to the same date.
Day SameWeekday(Day d) {
  bool unused = false;
  const Day base = SameDate(d, unused);
  const int weekday = Weekday(d.year, d.month, d.day);
  for (int distance = 0; distance <= next_year::kMaxWeekdayShift; ++distance) {
    for (const int shift : {-distance, distance}) {
      const Day candidate = Plus(base, shift);
      if (Weekday(candidate.year, candidate.month, candidate.day) == weekday) return candidate;
    }
  }
  return base;  // unreachable: seven neighbouring days hold every weekday
}

// The days of an entry that exist, or nothing for an empty or malformed one.
bool Usable(const PeriodEntry& entry) {
  if (entry.year == 0 || entry.year == kEveryYear) return false;
  if (entry.startMonth < 1 || entry.startMonth > 12 || entry.endMonth < 1 || entry.endMonth > 12)
    return false;
  if (entry.startDay < 1 || entry.startDay > MonthLength(entry.year, entry.startMonth))
    return false;
  if (entry.endDay < 1 || entry.endDay > MonthLength(entry.year, entry.endMonth)) return false;
  return StartOf(entry) <= EndOf(entry);
}

bool Held(int year, const YearPair& years) {
  return year == years.currentYear || year == years.nextYear;
}

// The part of `entry` within `school`, which starts on the 1st of its first month and ends on the
// day before that a year later.
bool Clip(const PeriodEntry& entry, const SchoolYear& school, PeriodEntry& part) {
  const Day first{school.firstYear, school.startMonth, 1};
  const Day last = PreviousDay({school.firstYear + 1, school.startMonth, 1});
  const Day start = std::max(StartOf(entry), first);
  const Day end = std::min(EndOf(entry), last);
  if (end < start || start.year != entry.year) return false;
  part = Between(start, end, entry.program);
  return true;
}

// The copies of `part` one year on: one, or two when a period moved by weekday crosses New Year.
std::vector<NextYearCopy> Copies(EntryKind kind, const PeriodEntry& part, NextYearBy by) {
  NextYearCopy copy{kind, part, {}, CopyFate::Made, {}};
  if (by == NextYearBy::Date) {
    bool leapDayMoved = false;
    const Day start = SameDate(StartOf(part), leapDayMoved);
    const Day end = SameDate(EndOf(part), leapDayMoved);
    copy.target = Between(start, end, part.program);
    if (leapDayMoved) copy.fate = CopyFate::LeapDayMoved;
    return {copy};
  }
  const Day start = SameWeekday(StartOf(part));
  const Day end = Plus(start, DaysBetween(StartOf(part), EndOf(part)));
  if (start.year == end.year) {
    copy.target = Between(start, end, part.program);
    return {copy};
  }
  NextYearCopy second = copy;
  copy.target = Between(start, {start.year, 12, 31}, part.program);
  second.target = Between({end.year, 1, 1}, end, part.program);
  return {copy, second};
}

// The used slots of a table of periods (dates as one-day periods).
class EntryTable {
 public:
  explicit EntryTable(std::vector<PeriodEntry> entries) : entries_(std::move(entries)) {}

  const std::vector<PeriodEntry>& entries() const { return entries_; }

  // Decides whether `copy` may be made beside the entries of its year, and adds it when it may.
  void Place(NextYearCopy& copy) {
    const PeriodEntry& target = copy.target;
    const Day start = StartOf(target);
    const Day end = EndOf(target);
    std::vector<const PeriodEntry*> same;
    for (const PeriodEntry& entry : entries_) {
      if (entry.year != target.year || EndOf(entry) < start || end < StartOf(entry)) continue;
      if (entry.program != target.program) {
        copy.fate = CopyFate::Collides;
        copy.met = entry;
        return;
      }
      same.push_back(&entry);
    }
    bool covered = !same.empty();
    for (Day d = start; covered && d <= end; d = NextDay(d)) {
      covered = std::any_of(same.begin(), same.end(), [&d](const PeriodEntry* entry) {
        return StartOf(*entry) <= d && d <= EndOf(*entry);
      });
    }
    if (covered) {
      copy.fate = CopyFate::AlreadyThere;
      copy.met = *same.front();
      return;
    }
    entries_.push_back(target);
  }

 private:
  std::vector<PeriodEntry> entries_;
};

std::vector<PeriodEntry> KeptPeriods(const std::array<PeriodEntry, kPeriodCount>& table,
                                     const YearPair& years) {
  std::vector<PeriodEntry> kept;
  for (const PeriodEntry& entry : table) {
    if (entry.year == kEveryYear || Held(entry.year, years)) kept.push_back(entry);
  }
  return kept;
}

std::vector<PeriodEntry> KeptDates(const std::array<DateEntry, kDateCount>& table,
                                   const YearPair& years) {
  std::vector<PeriodEntry> kept;
  for (const DateEntry& entry : table) {
    if (entry.year == kEveryYear || Held(entry.year, years)) kept.push_back(AsPeriod(entry));
  }
  return kept;
}

// Tries a copy of every entry of `source` within the school year, into `table`.
template <typename Entry, std::size_t N, typename ToPeriod>
void CopyTable(const std::array<Entry, N>& source, EntryKind kind, const SchoolYear& school,
               const YearPair& years, NextYearBy by, ToPeriod toPeriod, EntryTable& table,
               std::vector<NextYearCopy>& copies) {
  for (const Entry& entry : source) {
    const PeriodEntry period = toPeriod(entry);
    PeriodEntry part{};
    if (!Usable(period) || !Clip(period, school, part)) continue;
    for (NextYearCopy& copy : Copies(kind, part, by)) {
      if (!Held(copy.target.year, years)) {
        copy.fate = CopyFate::OutsideYears;
      } else {
        table.Place(copy);
      }
      copies.push_back(copy);
    }
  }
}

int PutPeriods(const std::vector<PeriodEntry>& entries, ScheduleModel& model) {
  model.periods.fill({});
  const std::size_t fitting = std::min<std::size_t>(entries.size(), kPeriodCount);
  std::copy_n(entries.begin(), fitting, model.periods.begin());
  return static_cast<int>(entries.size() - fitting);
}

int PutDates(const std::vector<PeriodEntry>& entries, ScheduleModel& model) {
  model.dates.fill({});
  const std::size_t fitting = std::min<std::size_t>(entries.size(), kDateCount);
  std::transform(entries.begin(), entries.begin() + static_cast<std::ptrdiff_t>(fitting),
                 model.dates.begin(), AsDate);
  return static_cast<int>(entries.size() - fitting);
}

}  // namespace

PeriodEntry AsPeriod(const DateEntry& date) {
  return {date.year, date.month, date.day, date.month, date.day, date.program};
}

DateEntry AsDate(const PeriodEntry& day) {
  return {day.year, day.startMonth, day.startDay, day.program};
}

NextYearPlan PlanNextSchoolYear(const ScheduleModel& old, const SchoolYear& source,
                                const YearPair& newYears, NextYearBy by) {
  NextYearPlan plan;
  plan.source = source;
  const int firstTarget = source.Next().FirstMonthIndex();
  plan.reachesNewYears =
      firstTarget <= newYears.nextYear * 12 + 11 && firstTarget + 11 >= newYears.currentYear * 12;

  plan.kept = old;
  EntryTable periods(KeptPeriods(old.periods, newYears));
  EntryTable dates(KeptDates(old.dates, newYears));
  PutPeriods(periods.entries(), plan.kept);
  PutDates(dates.entries(), plan.kept);

  CopyTable(
      old.periods, EntryKind::Period, source, newYears, by,
      [](const PeriodEntry& entry) { return entry; }, periods, plan.copies);
  CopyTable(old.dates, EntryKind::Date, source, newYears, by, AsPeriod, dates, plan.copies);

  plan.result = plan.kept;
  plan.missingPeriods = PutPeriods(periods.entries(), plan.result);
  plan.missingDates = PutDates(dates.entries(), plan.result);
  if (!plan.Fits()) plan.result = plan.kept;
  return plan;
}

}  // namespace tavrin
