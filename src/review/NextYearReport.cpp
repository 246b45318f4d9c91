#include "review/NextYearReport.h"

#include <memory>

#include "model/ScheduleTexts.h"
#include "model/TimerLimits.h"
#include "review/Agenda.h"
#include "review/DiffTexts.h"

namespace tavrin {
namespace {

std::string YearsText(const YearPair& years) {
  return texts::YearText(years.currentYear) + "・" + texts::YearText(years.nextYear);
}

std::string EntryText(EntryKind kind, const PeriodEntry& entry) {
  return kind == EntryKind::Period ? diff_text::PeriodWhat(entry)
                                   : diff_text::DateWhat(AsDate(entry));
}

std::string WithProgram(EntryKind kind, const PeriodEntry& entry) {
  return EntryText(kind, entry) + ": " + diff_text::ProgramText(entry.program);
}

std::string Refusal(const NextYearPlan& plan, const YearPair& newYears) {
  if (!plan.reachesNewYears) {
    return "元の年度 " + SchoolYearText(plan.source) + " の次の年度 " +
           SchoolYearText(plan.source.Next()) + " は、新しいファイルの年（" + YearsText(newYears) +
           "）に入らないため、次の年度を作成できません。";
  }
  std::string missing;
  const auto add = [&missing](DiffSection section, int count) {
    if (count == 0) return;
    if (!missing.empty()) missing += "、";
    missing +=
        std::string(diff_text::SectionTitle(section)) + "が " + std::to_string(count) + " 件";
  };
  add(DiffSection::Periods, plan.missingPeriods);
  add(DiffSection::Dates, plan.missingDates);
  if (missing.empty()) return {};
  return missing + "足りないため、次の年度を作成できません（それぞれ " +
         std::to_string(kPeriodCount) + " 件までです）。";
}

}  // namespace

Result<int> FirstImageYear(const SettingsImage& image) {
  const std::vector<int> years = ImageYears(image);
  if (years.empty()) {
    return Fail("設定ファイルの年間プログラムに、タイマの年（" + texts::YearText(kFirstYear) +
                "～" + texts::YearText(kLastCountedYear) + "）が有りません。");
  }
  return years.front();
}

std::string SchoolYearText(const SchoolYear& school) {
  const int lastMonth = (school.startMonth + 10) % 12 + 1;
  const int lastYear = school.startMonth == 1 ? school.firstYear : school.firstYear + 1;
  return texts::YearText(school.firstYear) + " " + std::to_string(school.startMonth) + "月～" +
         texts::YearText(lastYear) + " " + std::to_string(lastMonth) + "月";
}

std::string CopyNote(const NextYearCopy& copy, const YearPair& newYears) {
  const std::string head =
      std::string("[") +
      diff_text::SectionTitle(copy.kind == EntryKind::Period ? DiffSection::Periods
                                                             : DiffSection::Dates) +
      "] " + WithProgram(copy.kind, copy.source) + " → " + EntryText(copy.kind, copy.target);
  switch (copy.fate) {
    case CopyFate::Made:
      return {};
    case CopyFate::LeapDayMoved:
      return head + "（2月29日が無い年のため 2月28日にします）";
    case CopyFate::Collides:
      return head + " は作りません（" + WithProgram(copy.kind, copy.met) + " と重なります）";
    case CopyFate::AlreadyThere:
      return head + " は作りません（" + WithProgram(copy.kind, copy.met) + " が有ります）";
    case CopyFate::OutsideYears:
      return head + " は作りません（新しいファイルが持つのは " + YearsText(newYears) +
             " の設定です）";
  }
  return {};
}

Result<NextYearReport> NextSchoolYearOf(const SettingsImage& old, const ImageContext& context,
                                        const NextYearOptions& options) {
  if (!limits::kMonth.Holds(options.startMonth)) {
    return Fail("最初の月 " + std::to_string(options.startMonth) + " は 1～12 ではありません。");
  }
  const Result<int> first = FirstImageYear(old);
  if (!first) return Fail(first.message());
  ImageContext own = context;
  own.years = {static_cast<int16_t>(*first), static_cast<int16_t>(*first + 1)};
  const auto model = std::make_unique<ScheduleModel>();
  UnpackImage(old, own, *model);

  const SchoolYear source{*first, options.startMonth};
  NextYearReport report;
  report.plan = PlanNextSchoolYear(*model, source, context.years, options.by);
  report.heading = SchoolYearText(source) + " → " + SchoolYearText(source.Next());
  report.refusal = Refusal(report.plan, context.years);
  // Every copy of a school year the new schedule cannot hold would only say so again.
  if (!report.plan.reachesNewYears) return report;
  for (const NextYearCopy& copy : report.plan.copies) {
    if (std::string note = CopyNote(copy, context.years); !note.empty()) {
      report.notes.push_back(std::move(note));
    }
  }
  if (report.refusal.empty()) {
    const ProgramNameTable names{};
    report.added =
        CompareSchedules({report.plan.kept, names}, {report.plan.result, names}, IniSettings());
  }
  return report;
}

}  // namespace tavrin
