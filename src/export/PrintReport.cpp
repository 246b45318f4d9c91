#include "export/PrintReport.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

#include "calendar/AnnualConfirmation.h"
#include "editors/ConfirmationForms.h"
#include "editors/RadioRules.h"
#include "editors/WeeklyGroups.h"
#include "model/ScheduleTexts.h"
#include "model/ShiftJis.h"
#include "review/AgendaView.h"

namespace tavrin::report {
namespace {

constexpr int kMonthsAcross = 4;
constexpr std::size_t kLegendPerLine = 4;

std::string TwoDigits(int hour, int minute) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d", hour % 100, minute % 100);
  return text;
}

const char* KindText(int kind) {
  return IsChannelInUse(kind) ? texts::ChannelKindName(kind) : "未使用";
}

Cell Head(std::string text) {
  Cell cell{std::move(text)};
  cell.back = kHeaderBack;
  return cell;
}

std::vector<Cell> Heads(std::initializer_list<const char*> texts) {
  std::vector<Cell> cells;
  for (const char* text : texts) cells.push_back(Head(text));
  return cells;
}

std::string YearText(int year) {
  return year == kEveryYear ? texts::kEveryYear : std::to_string(year) + "年";
}

std::string MonthDay(int month, int day) {
  return std::to_string(month) + "月" + std::to_string(day) + "日";
}

std::string ProgramOrNone(const ProgramNameTable& names, int program) {
  return program == 0 ? "（なし）" : ProgramLabel(names, program);
}

class Builder {
 public:
  explicit Builder(const ReportInput& in) : in_(in), groups_(in.model) {}

  std::vector<Block> Build() {
    Channels();
    Programs();
    Annual();
    for (int i = 0; i < 2; ++i) YearCalendarPage(i);
    Confirmations();
    Agenda();
    return std::move(blocks_);
  }

 private:
  int Kind(int channel) const { return ChannelKindOf(in_.model, channel); }

  void Channels() {
    blocks_.push_back(Heading("チャンネル設定"));
    Table table;
    table.widths = {2, 3, 4, 4};
    table.header = Heads({"CH", "種類", "報時の長さ", "立ち上がり"});
    for (int channel = 1; channel <= kChannelCount; ++channel) {
      const ChannelSetting& setting = in_.model.channels[channel - 1];
      std::vector<Cell> row{{std::to_string(channel)}, {KindText(Kind(channel))}, {"-"}, {"-"}};
      if (Kind(channel) == kChannelTimeSignal) {
        row[2].text = std::to_string(setting.signalMinutes) + "分" +
                      std::to_string(setting.signalSeconds) + "秒";
        row[3].text = setting.riseTime < texts::kReportRiseTimes.size()
                          ? texts::kReportRiseTimes[setting.riseTime]
                          : texts::kReportNone;
      }
      table.rows.push_back(std::move(row));
    }
    blocks_.push_back(Tables({table}));
    if (in_.settings.RadioModeOn()) {
      blocks_.push_back(Text("ラジオ選局：" + radio::StationText(in_.model, "（なし）")));
    }
  }

  std::string ActionText(const WeeklyStep& step) const {
    const int kind = Kind(step.channel);
    if (kind == kChannelKeep) {
      return step.action == kKeepOn || step.action == kKeepOff ? texts::KeepActionName(step.action)
                                                               : texts::kReportNone;
    }
    return kind == kChannelTimeSignal ? ChimeLabel(in_.settings, step.action) : texts::kReportNone;
  }

  std::string Caption(int program, const ProgramUsage& usage) const {
    std::string caption = ProgramLabel(in_.names, program);
    const std::vector<std::string> words = UsageWords(usage);
    if (!words.empty()) {
      caption += "（";
      for (std::size_t i = 0; i < words.size(); ++i) caption += (i ? "・" : "") + words[i];
      caption += "で使用）";
    }
    return caption;
  }

  void Programs() {
    blocks_.push_back(Heading("週間プログラム", true));
    const auto usage = CountUsage(in_.model);
    bool any = false;
    for (int program = 1; program < kProgramCount; ++program) {
      std::vector<int> slots;
      for (int slot = 0; slot < kStepCount; ++slot) {
        const WeeklyStep& step = in_.model.steps[slot];
        if (step.used() && step.program == program) slots.push_back(slot);
      }
      const bool named = !ProgramNameText(in_.names, program).empty();
      if (slots.empty() && !named) continue;
      any = true;
      if (slots.empty()) {
        blocks_.push_back(Text(Caption(program, usage[program]) + "：ステップなし"));
        continue;
      }
      std::stable_sort(slots.begin(), slots.end(), [this](int a, int b) {
        const WeeklyStep& x = in_.model.steps[a];
        const WeeklyStep& y = in_.model.steps[b];
        return std::tie(x.channel, x.hour, x.minute) < std::tie(y.channel, y.hour, y.minute);
      });
      Table table;
      table.caption = Caption(program, usage[program]);
      table.widths = {2, 3, 1, 1, 1, 1, 1, 1, 1, 3, 10};
      table.header =
          Heads({"CH", "種類", "日", "月", "火", "水", "木", "金", "土", "時刻", "動作"});
      for (int slot : slots) {
        const WeeklyStep& step = in_.model.steps[slot];
        std::vector<Cell> row{{std::to_string(step.channel)}, {KindText(Kind(step.channel))}};
        for (int day = 0; day < kDays; ++day) row.push_back({step.days[day] ? "○" : ""});
        row.push_back({TwoDigits(step.hour, step.minute)});
        row.push_back({ActionText(step)});
        table.rows.push_back(std::move(row));
      }
      blocks_.push_back(Tables({table}));
    }
    if (!any) blocks_.push_back(Text("（登録されたプログラムはありません）"));
  }

  void Annual() {
    const ScheduleModel& model = in_.model;
    blocks_.push_back(Heading("年間プログラム設定", true));
    blocks_.push_back(Text("基本プログラム：" + ProgramOrNone(in_.names, model.basicProgram)));
    blocks_.push_back(
        Text("祭日設定：" + (model.holidayEnabled
                                 ? "する（" + ProgramOrNone(in_.names, model.holidayProgram) + "）"
                                 : std::string("しない"))));
    blocks_.push_back(Text("サマータイム：" + SummerTimeText()));
    blocks_.push_back(Text(""));

    Table periods;
    periods.caption = "期間設定";
    periods.widths = {2, 3, 4, 4, 10};
    periods.header = Heads({"No.", "年", "開始", "終了", "プログラム"});
    for (const PeriodEntry& entry : model.periods) {
      if (entry.year == 0) continue;
      periods.rows.push_back({{std::to_string(periods.rows.size() + 1)},
                              {YearText(entry.year)},
                              {MonthDay(entry.startMonth, entry.startDay)},
                              {MonthDay(entry.endMonth, entry.endDay)},
                              {ProgramOrNone(in_.names, entry.program)}});
    }
    Table dates;
    dates.caption = "個別設定";
    dates.widths = {2, 3, 4, 10};
    dates.header = Heads({"No.", "年", "月日", "プログラム"});
    for (const DateEntry& entry : model.dates) {
      if (entry.year == 0) continue;
      dates.rows.push_back({{std::to_string(dates.rows.size() + 1)},
                            {YearText(entry.year)},
                            {MonthDay(entry.month, entry.day)},
                            {ProgramOrNone(in_.names, entry.program)}});
    }
    for (Table* table : {&periods, &dates}) {
      if (table->rows.empty()) {
        blocks_.push_back(Text(table->caption + "：なし"));
      } else {
        blocks_.push_back(Tables({*table}));
      }
    }
  }

  std::string SummerTimeText() const {
    const ScheduleModel& model = in_.model;
    if (!model.summerTimeEnabled) return "しない";
    const SummerTimeRule& rule = model.summerTime;
    const auto when = [](int month, int week, int weekday, int hour) {
      const std::string weekText =
          week >= 1 && week <= 5 ? texts::kReportWeeks[week - 1] : texts::kReportNone;
      const std::string dayText =
          weekday >= 1 && weekday <= 7 ? texts::kWeekdays[weekday - 1] : texts::kReportNone;
      return std::to_string(month) + "月" + weekText + dayText + "曜日 " + std::to_string(hour) +
             "時";
    };
    return "する（開始 " +
           when(rule.startMonth, rule.startWeek, rule.startWeekday, rule.startHour) + "、終了 " +
           when(rule.endMonth, rule.endWeek, rule.endWeekday, rule.endHour) + "）";
  }

  Table MonthTable(const MonthCalendar& month, int number) const {
    const confirm::MonthSheet sheet = confirm::LayOutMonth(month, in_.model.basicProgram);
    Table table;
    table.caption = std::to_string(number) + "月";
    table.widths.assign(confirm::kSheetCols, 1);
    for (int day = 0; day < kDays; ++day) {
      Cell head = Head(texts::kWeekdays[day]);
      head.back = confirm::ColumnBackground(day);
      table.header.push_back(head);
    }
    for (const auto& sheetRow : sheet) {
      std::vector<Cell> row;
      for (const confirm::SheetCell& sheetCell : sheetRow) {
        Cell cell(sheetCell.text);
        cell.fore = sheetCell.fore;
        cell.back = sheetCell.back;
        cell.bold = sheetCell.bold;
        row.push_back(std::move(cell));
      }
      table.rows.push_back(std::move(row));
    }
    return table;
  }

  void YearCalendarPage(int index) {
    const int year = index == 0 ? in_.years.currentYear : in_.years.nextYear;
    blocks_.push_back(Heading("年間カレンダー " + std::to_string(year) + "年", true));
    blocks_.push_back(Text("黒：期間設定　赤：祭日設定　青：個別設定　灰色：基本プログラム"));
    const YearCalendar& calendar = in_.calendars[index];
    for (int first = 0; first < 12; first += kMonthsAcross) {
      std::vector<Table> months;
      for (int month = first; month < first + kMonthsAcross; ++month) {
        months.push_back(MonthTable(calendar.months[month], month + 1));
      }
      blocks_.push_back(Tables(std::move(months)));
    }
  }

  Table FormTable(int program, int channel) const {
    const forms::Title title = forms::TitleOf(in_.names, program, channel, Kind(channel));
    Table table;
    table.caption =
        ProgramLabel(in_.names, program) + "　CH" + std::to_string(channel) + " " + title.kind;
    table.widths.assign(kHours + 1, 1);
    table.widths[0] = 2;
    table.header.push_back(Head(""));
    for (int hour = 0; hour < kHours; ++hour) table.header.push_back(Head(std::to_string(hour)));
    std::optional<forms::TimeSignalView> signal;
    std::optional<forms::KeepView> keep;
    if (Kind(channel) == kChannelKeep) {
      keep = forms::Keep(in_.model, program, channel);
    } else {
      signal = forms::TimeSignal(in_.model, in_.settings, program, channel);
    }
    for (int day = 0; day < kDays; ++day) {
      std::vector<Cell> row{Head(texts::kWeekdays[day])};
      row.front().back = confirm::ColumnBackground(day);
      for (int hour = 0; hour < kHours; ++hour) {
        Cell cell;
        if (signal) cell.text = signal->cells[day][hour];
        if (keep) cell.keep = keep->cells[day][hour];
        row.push_back(std::move(cell));
      }
      table.rows.push_back(std::move(row));
    }
    return table;
  }

  void Confirmations() {
    blocks_.push_back(Heading("週間プログラムの確認", true));
    const std::array<std::string, 11> legend = forms::Legend(in_.settings);
    std::string line = "チャイム：";
    std::size_t onLine = 0;
    for (const std::string& label : legend) {
      if (label.empty()) continue;
      if (onLine == kLegendPerLine) {
        blocks_.push_back(Text(line));
        line = "　　　　　";
        onLine = 0;
      }
      line += label + "　";
      ++onLine;
    }
    blocks_.push_back(Text(line));
    blocks_.push_back(Text("キープ：青と赤紫の矢印が ON から OFF までを示します。"));
    blocks_.push_back(Text(""));
    bool any = false;
    for (int program = 1; program < kProgramCount; ++program) {
      for (int channel = 1; channel <= kChannelCount; ++channel) {
        if (groups_.Of(program, channel).empty()) continue;
        blocks_.push_back(Tables({FormTable(program, channel)}));
        any = true;
      }
    }
    if (!any) blocks_.push_back(Text("（ステップのあるプログラムはありません）"));
  }

  void Agenda() {
    blocks_.push_back(Heading("予定表（" + JapaneseDate(in_.agendaFrom) + "から）", true));
    blocks_.push_back(Text(kAgendaSummerTimeNote));
    blocks_.push_back(Text(""));
    Result<std::vector<AgendaDay>> days = AgendaFrom(in_.image, in_.agendaFrom, kAgendaDays);
    if (!days) {
      blocks_.push_back(Text(days.message()));
      return;
    }
    for (const AgendaDay& day : *days) {
      const AgendaDayText text = DescribeAgendaDay(day, in_.names, in_.settings);
      Table table;
      table.caption = DayHeadline(text);
      table.widths = {3, 2, 10};
      table.header = Heads({"時刻", "CH", "動作"});
      for (const AgendaEventText& event : text.events) {
        table.rows.push_back({{event.time}, {event.channel}, {event.action}});
      }
      if (table.rows.empty()) table.rows.push_back({{"-"}, {"-"}, {kAgendaNoEvents}});
      blocks_.push_back(Tables({table}));
    }
  }

  const ReportInput& in_;
  StepGroups groups_;
  std::vector<Block> blocks_;
};

}  // namespace

std::vector<Block> BuildReport(const ReportInput& input) { return Builder(input).Build(); }

}  // namespace tavrin::report
