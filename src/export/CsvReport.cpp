#include "export/CsvReport.h"

#include <charconv>
#include <cstring>
#include <vector>

#include "editors/RadioRules.h"
#include "editors/WeeklyGroups.h"
#include "model/ScheduleTexts.h"
#include "model/ShiftJis.h"
#include "model/TimerLimits.h"

namespace tavrin {

CsvWriter& CsvWriter::Add(std::string_view piece) {
  // Two bytes stay free for the CR LF.
  if (lineLength_ + piece.size() + 2 <= kLineBuffer) {
    std::memcpy(line_ + lineLength_, piece.data(), piece.size());
    lineLength_ += piece.size();
  }
  return *this;
}

CsvWriter& CsvWriter::AddNumber(long value) {
  char digits[24];
  auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
  (void)error;
  return Add(std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

bool CsvWriter::WriteOut() {
  if (outLength_ > 0 && !output_.Write(out_, outLength_)) failed_ = true;
  outLength_ = 0;
  return !failed_;
}

bool CsvWriter::EndLine() {
  line_[lineLength_++] = '\r';
  line_[lineLength_++] = '\n';
  const std::size_t length = lineLength_;
  lineLength_ = 0;
  if (failed_) return false;
  if (outLength_ + length > kOutputBuffer && !WriteOut()) return false;
  std::memcpy(out_ + outLength_, line_, length);
  outLength_ += length;
  return true;
}

bool CsvWriter::Flush() {
  if (failed_) return false;
  return WriteOut();
}

namespace {

// Every fixed text of the report, in the file's encoding.
struct Texts {
  std::string kind[3], rise[4], keep[3], weekday[7], week[6], enabled[2];
  std::string none, noneComma, hourComma, minuteComma, secondComma, hour, month, monthComma,
      dayComma, year, yearComma, everyYearComma, basic, period, holiday, individual, basicComma,
      holidayComma, perform, start, end, station, megahertz;
  std::string headerProgram, headerLegend, dateYear, dateMonth, dateDay, dateHour, dateMinute,
      dateSecond;
  std::string sectionChannels, sectionList, sectionSettings, sectionOverview, sectionNames,
      sectionBasic, sectionPeriods, sectionHoliday, sectionDates, sectionSummer, sectionRadio,
      sectionWeekly, sectionAnnual, legendWeekly, legendAnnual;
  std::string chimeNone;

  static std::string S(std::string_view utf8) { return ToShiftJis(utf8).value_or(std::string()); }

  Texts() {
    // What is absent reads "-": a channel not in use, a keep step without ON or OFF, no week.
    kind[0] = texts::kReportNone;
    for (int i = 1; i < 3; ++i) kind[i] = S(texts::ChannelKindName(i));
    for (int i = 0; i < 4; ++i) rise[i] = S(texts::kReportRiseTimes[i]);
    keep[0] = texts::kReportNone;
    for (int i = 1; i < 3; ++i) keep[i] = S(texts::KeepActionName(i));
    for (int i = 0; i < 7; ++i) weekday[i] = S(texts::kWeekdays[i]) + ",";
    noneComma = std::string(texts::kReportNone) + ",";
    week[0] = noneComma;
    for (int i = 1; i < 6; ++i) week[i] = S(texts::kReportWeeks[i - 1]) + ",";
    enabled[0] = S("しない");
    enabled[1] = S("する");
    none = S("(なし)");
    hourComma = S("時,");
    minuteComma = S("分,");
    secondComma = S("秒,");
    hour = S("時");
    month = S("月");
    monthComma = S("月,");
    dayComma = S("日,");
    year = S("年");
    yearComma = S("年,");
    everyYearComma = S("毎年,");
    basic = S("基本");
    period = S("期間");
    holiday = S("祭日");
    individual = S("個別");
    basicComma = S("基本,");
    holidayComma = S("祭日,");
    perform = S("実施,");
    start = S("開始,");
    end = S("終了,");
    station = S("放送局,");
    megahertz = "MHz";
    headerProgram = "; KORVA PROGRAM TIMER V01.00";
    headerLegend = S("; CH=チャンネル番号，P=プログラム番号，S=ステップ, 行先頭の数字=順位番号");
    dateYear = S("年");
    dateMonth = S("月");
    dateDay = S("日 ");
    dateHour = S("時");
    dateMinute = S("分");
    dateSecond = S("秒");
    sectionChannels = S(";＜チャンネル設定＞");
    sectionList = S(";＜週間プログラム・リスト＞");
    sectionSettings = S(";＜週間プログラム設定＞");
    sectionOverview = S(";＜週間プログラム一覧＞");
    sectionNames = S(";＜週間プログラム名一覧＞");
    sectionBasic = S(";＜年間プログラム基本設定＞");
    sectionPeriods = S(";＜年間プログラム期間設定＞");
    sectionHoliday = S(";＜年間プログラム祭日設定＞");
    sectionDates = S(";＜年間プログラム個別設定＞");
    sectionSummer = S(";＜サマータイム設定＞");
    sectionRadio = S(";＜ラジオ選局＞");
    sectionWeekly = S(";＜週間プログラムの確認＞");
    sectionAnnual = S(";＜年間プログラムの確認＞");
    legendWeekly = S("; |:6時,12時,18時の位置, <=:キープON, =>:キープOFF");
    legendAnnual =
        S("; |:10日,20日,30日の位置, *:日曜, #:祭日, H:祭日設定, K:個別設定, 記号なし:期間設定");
    chimeNone = S(texts::kNoChime);
  }
};

const Texts& T() {
  static const Texts texts;
  return texts;
}

const std::string kDashLine = ";" + std::string(71, '-');

template <std::size_t N>
const std::string& Pick(const std::string (&table)[N], int index) {
  return table[index >= 0 && index < static_cast<int>(N) ? index : 0];
}

class Report {
 public:
  Report(CsvWriter& w, const CsvReportInput& in) : w_(w), in_(in), t_(T()), groups_(in.model) {}

  bool Write() {
    return Header() && Channels() && List() && Settings() && Overview() && Names() && Basic() &&
           Periods() && Holiday() && Dates() && Summer() && (!in_.radioMode || Radio()) &&
           Weekly() && Annual() && w_.Flush();
  }

 private:
  const ChannelSetting& ChannelOf(int channel) const { return in_.model.channels[channel - 1]; }

  const std::vector<int>& GroupOf(int program, int channel) const {
    return groups_.Of(program, channel);
  }

  void AddName(int program) {
    const std::string name = ProgramNameText(in_.names, program);
    if (name.empty()) {
      w_.Add("-");
    } else {
      w_.Add("\"").Add(name).Add("\"");
    }
  }

  void AddDays(const WeeklyStep& step) {
    for (int d = 0; d < 7; ++d) w_.Add(step.days[d] ? t_.weekday[d] : t_.noneComma);
  }

  void AddTime(const WeeklyStep& step) {
    w_.AddNumber(step.hour).Add(t_.hourComma).AddNumber(step.minute).Add(t_.minuteComma);
  }

  void AddAction(const WeeklyStep& step) {
    if (ChannelOf(step.channel).kind == kChannelKeep) {
      w_.Add(Pick(t_.keep, step.action));
      return;
    }
    const int position = ChimePosition(in_.settings, step.action);
    if (position == 0) {
      w_.Add(t_.chimeNone);
      return;
    }
    const auto& record = in_.settings.chimes[position - 1];
    std::string item =
        std::to_string(position) + "." + FieldText(record.name.data(), record.name.size());
    w_.Add("\"").Add(CutShiftJis(item, 61)).Add("\"");
  }

  void AddProgramTitle(int program, int channel) {
    w_.Add("P").AddNumber(program).Add(",");
    AddName(program);
    w_.Add(",CH").AddNumber(channel).Add(",").Add(Pick(t_.kind, ChannelOf(channel).kind));
  }

  void AddTwoDigits(int value) {
    const char digits[2] = {static_cast<char>('0' + value / 10 % 10),
                            static_cast<char>('0' + value % 10)};
    w_.Add(std::string_view(digits, 2));
  }

  bool Header() {
    const LocalTime& now = in_.now;
    if (!w_.Line(kDashLine) || !w_.Line(t_.headerProgram) ||
        !w_.Add("; ").Add(in_.title).EndLine()) {
      return false;
    }
    w_.Add("; ").AddNumber(now.year).Add(t_.dateYear);
    AddTwoDigits(now.month);
    w_.Add(t_.dateMonth);
    AddTwoDigits(now.day);
    w_.Add(t_.dateDay);
    AddTwoDigits(now.hour);
    w_.Add(t_.dateHour);
    AddTwoDigits(now.minute);
    w_.Add(t_.dateMinute);
    AddTwoDigits(now.second);
    w_.Add(t_.dateSecond);
    return w_.EndLine() && w_.Line(t_.headerLegend) && w_.Line(kDashLine);
  }

  bool Channels() {
    if (!w_.Line(t_.sectionChannels)) return false;
    for (int ch = 1; ch <= kChannelCount; ++ch) {
      const ChannelSetting& channel = ChannelOf(ch);
      if (!IsChannelInUse(channel.kind)) continue;
      w_.Add("CH").AddNumber(ch).Add(",").Add(t_.kind[channel.kind]).Add(",");
      if (channel.kind == kChannelTimeSignal) {
        w_.AddNumber(channel.signalMinutes)
            .Add(t_.minuteComma)
            .AddNumber(channel.signalSeconds)
            .Add(t_.secondComma)
            .Add(Pick(t_.rise, channel.riseTime));
      } else {
        w_.Add("-,-,-");
      }
      if (!w_.EndLine()) return false;
    }
    return true;
  }

  bool List() {
    if (!w_.Line(t_.sectionList)) return false;
    for (int p = 1; p <= kMaxProgram; ++p) {
      if (!groups_.AnyOf(p)) continue;
      w_.Add("P").AddNumber(p);
      for (int ch = 1; ch <= kChannelCount; ++ch) {
        w_.Add(",").Add(GroupOf(p, ch).empty() ? t_.kind[0] : t_.kind[ChannelOf(ch).kind]);
      }
      if (!w_.EndLine()) return false;
    }
    return true;
  }

  bool Settings() {
    if (!w_.Line(t_.sectionSettings)) return false;
    for (int p = 1; p <= kMaxProgram; ++p) {
      for (int ch = 1; ch <= kChannelCount; ++ch) {
        const std::vector<int>& steps = GroupOf(p, ch);
        if (steps.empty()) continue;
        AddProgramTitle(p, ch);
        if (!w_.EndLine()) return false;
        int number = 0;
        for (int index : steps) {
          const WeeklyStep& step = in_.model.steps[index];
          w_.Add("S").AddNumber(++number).Add(",");
          AddDays(step);
          AddTime(step);
          AddAction(step);
          if (!w_.EndLine()) return false;
        }
      }
    }
    return true;
  }

  bool Overview() {
    if (!w_.Line(t_.sectionOverview)) return false;
    int number = 0;
    for (const WeeklyStep& step : in_.model.steps) {
      if (!InGroup(in_.model, step)) continue;
      w_.Add("S").AddNumber(++number).Add(",P").AddNumber(step.program).Add(",");
      AddTime(step);
      w_.Add("CH").AddNumber(step.channel).Add(",");
      AddDays(step);
      AddAction(step);
      if (!w_.EndLine()) return false;
    }
    return true;
  }

  bool Names() {
    if (!w_.Line(t_.sectionNames)) return false;
    const std::array<ProgramUsage, kProgramCount> usage = CountUsage(in_.model);
    for (int p = 1; p <= kMaxProgram; ++p) {
      if (in_.names.names[p][0] == '\0' && usage[p].steps == 0) continue;
      w_.Add("P").AddNumber(p).Add(",");
      AddName(p);
      w_.Add(",").AddNumber(usage[p].steps).Add(",");
      const std::vector<std::string> words = UsageWords(usage[p]);
      for (std::size_t i = 0; i < words.size(); ++i) {
        if (i > 0) w_.Add(".");
        w_.Add(Texts::S(words[i]));
      }
      if (words.empty()) w_.Add("-");
      if (!w_.EndLine()) return false;
    }
    return true;
  }

  void AddProgram(int program) {
    if (program == 0) {
      w_.Add(t_.none);
    } else {
      w_.Add("P").AddNumber(program);
    }
  }

  bool Basic() {
    if (!w_.Line(t_.sectionBasic)) return false;
    w_.Add(t_.basicComma);
    AddProgram(in_.model.basicProgram);
    return w_.EndLine();
  }

  void AddYear(int number, int year) {
    w_.AddNumber(number).Add(",");
    if (year == kEveryYear) {
      w_.Add(t_.everyYearComma);
    } else {
      w_.AddNumber(year).Add(t_.yearComma);
    }
  }

  void AddMonthDay(int month, int day) {
    w_.AddNumber(month).Add(t_.monthComma).AddNumber(day).Add(t_.dayComma);
  }

  // A period or date table: its registered entries (a year set), numbered, each ending with its
  // program.
  template <typename Entries, typename AddWhen>
  bool DatedRows(std::string_view section, const Entries& entries, AddWhen addWhen) {
    if (!w_.Line(section)) return false;
    int number = 0;
    for (const auto& entry : entries) {
      if (entry.year == 0) continue;
      AddYear(++number, entry.year);
      addWhen(entry);
      w_.Add("P").AddNumber(entry.program);
      if (!w_.EndLine()) return false;
    }
    return true;
  }

  bool Periods() {
    return DatedRows(t_.sectionPeriods, in_.model.periods, [this](const PeriodEntry& entry) {
      AddMonthDay(entry.startMonth, entry.startDay);
      AddMonthDay(entry.endMonth, entry.endDay);
    });
  }

  bool Holiday() {
    if (!w_.Line(t_.sectionHoliday)) return false;
    w_.Add(t_.holidayComma);
    AddProgram(in_.model.holidayProgram);
    return w_.EndLine() &&
           w_.Add(t_.perform).Add(t_.enabled[in_.model.holidayEnabled != 0]).EndLine();
  }

  bool Dates() {
    return DatedRows(t_.sectionDates, in_.model.dates,
                     [this](const DateEntry& entry) { AddMonthDay(entry.month, entry.day); });
  }

  // Without a rule (no start month) both points are dashes.
  void AddSummerPoint(bool hasRule, int month, int week, int weekday, int hour) {
    if (!hasRule) {
      w_.Add("-,-,-,-");
      return;
    }
    w_.AddNumber(month).Add(t_.monthComma).Add(Pick(t_.week, week));
    w_.Add(weekday >= 1 && weekday <= 7 ? t_.weekday[weekday - 1] : t_.noneComma);
    w_.AddNumber(hour).Add(t_.hour);
  }

  bool Summer() {
    if (!w_.Line(t_.sectionSummer)) return false;
    const SummerTimeRule& rule = in_.model.summerTime;
    const bool hasRule = rule.startMonth != 0;
    w_.Add(t_.start);
    AddSummerPoint(hasRule, rule.startMonth, rule.startWeek, rule.startWeekday, rule.startHour);
    if (!w_.EndLine()) return false;
    w_.Add(t_.end);
    AddSummerPoint(hasRule, rule.endMonth, rule.endWeek, rule.endWeekday, rule.endHour);
    return w_.EndLine() &&
           w_.Add(t_.perform).Add(t_.enabled[in_.model.summerTimeEnabled != 0]).EndLine();
  }

  bool Radio() {
    if (!w_.Line(t_.sectionRadio)) return false;
    const int frequency = in_.model.radioFrequency;
    w_.Add(t_.station);
    if (frequency == 0) {
      w_.Add("-,-");
    } else {
      const auto& field = in_.model.radioStation;
      w_.Add(CutShiftJis(FieldText(field.data(), field.size()), kStationBytes)).Add(",");
      w_.Add(radio::FrequencyText(in_.model)).Add(t_.megahertz);
    }
    return w_.EndLine();
  }

  // The 24 hour cells of one day line, "|" before 6, 12 and 18 o'clock.
  bool DayLine(int day, const std::array<std::string_view, 24>& cells) {
    w_.Add(t_.weekday[day]);
    for (int h = 0; h < 24; ++h) {
      if (h == 6 || h == 12 || h == 18) w_.Add("|");
      w_.Add(cells[h]);
      if (h < 23) w_.Add(",");
    }
    return w_.EndLine();
  }

  bool TimeSignalLines(const std::vector<int>& steps) {
    // A cell of the report holds the first four chimes of its hour, the last of them first.
    constexpr std::size_t kCellChimes = 4;
    const ChimeBuckets buckets = BucketChimes(in_.model, in_.settings, steps);
    for (int d = 0; d < kDays; ++d) {
      bool any = false;
      std::array<std::string, kHours> texts;
      std::array<std::string_view, kHours> cells;
      for (int h = 0; h < kHours; ++h) {
        const std::vector<int>& chimes = buckets[d][h];
        const std::size_t count = std::min(chimes.size(), kCellChimes);
        for (std::size_t i = count; i-- > 0;) {
          if (i != count - 1) texts[h] += '.';
          texts[h] += std::to_string(chimes[i]);
        }
        any = any || count > 0;
        cells[h] = count == 0 ? std::string_view("-") : std::string_view(texts[h]);
      }
      if (any && !DayLine(d, cells)) return false;
    }
    return true;
  }

  bool KeepLines(const std::vector<int>& steps) {
    struct Mark {
      bool on = false, off = false;
      int onMinute = 0, offMinute = 0;
    };
    Mark table[7][24] = {};
    for (int index : steps) {
      const WeeklyStep& step = in_.model.steps[index];
      if (!limits::kHour.Holds(step.hour)) continue;
      for (int d = 0; d < 7; ++d) {
        if (!step.days[d]) continue;
        if (step.action == kKeepOn) {
          table[d][step.hour].on = true;
          table[d][step.hour].onMinute = step.minute;
        } else if (step.action == kKeepOff) {
          const ClockTime off = KeepOffTime(step.hour, step.minute, MidnightOff::LastHourOfDay);
          table[d][off.hour].off = true;
          table[d][off.hour].offMinute = off.minute;
        }
      }
    }
    for (int d = 0; d < 7; ++d) {
      int f = -1, g = -1;
      for (int h = 0; h < 24; ++h) {
        if (table[d][h].on) f = h;
        if (table[d][h].off) g = h;
      }
      if (f < 0 && g < 0) continue;
      std::array<std::string_view, 24> cells;
      cells.fill("-");
      auto onUntilEnd = [&](int from) {
        cells[from] = "<=";
        for (int h = from + 1; h < 24; ++h) cells[h] = "=";
      };
      if (f < 0) {
        cells[g] = "=>";
      } else if (g < 0) {
        onUntilEnd(f);
      } else if (f == g) {
        if (table[d][g].offMinute >= table[d][f].onMinute) {
          cells[f] = "<=>";
        } else {
          onUntilEnd(f);
        }
      } else if (f < g) {
        cells[f] = "<=";
        for (int h = f + 1; h < g; ++h) cells[h] = "=";
        cells[g] = "=>";
      } else {
        for (int h = 0; h < g; ++h) cells[h] = "=";
        cells[g] = "=>";
        onUntilEnd(f);
      }
      if (!DayLine(d, cells)) return false;
    }
    return true;
  }

  bool Weekly() {
    if (!w_.Line(t_.sectionWeekly) || !w_.Line(t_.legendWeekly)) return false;
    for (int p = 1; p <= kMaxProgram; ++p) {
      for (int ch = 1; ch <= kChannelCount; ++ch) {
        const std::vector<int>& steps = GroupOf(p, ch);
        if (steps.empty()) continue;
        AddProgramTitle(p, ch);
        if (!w_.EndLine()) return false;
        const bool ok =
            ChannelOf(ch).kind == kChannelKeep ? KeepLines(steps) : TimeSignalLines(steps);
        if (!ok) return false;
      }
    }
    return true;
  }

  bool Annual() {
    if (!w_.Line(t_.sectionAnnual)) return false;
    if (!w_.Line(t_.legendAnnual)) return false;
    const int years[2] = {in_.years.currentYear, in_.years.nextYear};
    for (int y = 0; y < 2; ++y) {
      if (!w_.AddNumber(years[y]).Add(t_.year).EndLine()) return false;
      for (int m = 0; m < 12; ++m) {
        const MonthCalendar& month = in_.calendars[y].months[m];
        w_.AddNumber(m + 1).Add(t_.month);
        for (int d = 0; d < month.dayCount && d < 31; ++d) {
          const DayCell& cell = month.cells[d];
          w_.Add(",");
          if (d == 9 || d == 19 || d == 29) w_.Add("|");
          if (cell.weekday == 0) w_.Add("*");
          if (cell.holiday) w_.Add("#");
          if (cell.program == 0) {
            w_.Add("-");
            continue;
          }
          if (cell.source == kSourceIndividual) w_.Add("K");
          if (cell.source == kSourceHoliday) w_.Add("H");
          w_.AddNumber(cell.program);
        }
        if (!w_.EndLine()) return false;
      }
    }
    return true;
  }

  CsvWriter& w_;
  const CsvReportInput& in_;
  const Texts& t_;
  StepGroups groups_;
};

}  // namespace

bool WriteCsvReport(CsvWriter& writer, const CsvReportInput& input) {
  return Report(writer, input).Write();
}

}  // namespace tavrin
