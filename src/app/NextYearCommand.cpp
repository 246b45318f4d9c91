#include "app/NextYearCommand.h"

#include <memory>

namespace tavrin {

SettingsImage NextYearSource(TavrinViewModel& view) {
  const std::unique_ptr<PackedSchedule> working = view.PackedCopy();
  // A new document's image is no file's: it holds no years.
  if (view.document().IsUntitled() && !view.document().IsModified()) return working->image;
  // Both packed the same way, so that what packing adds (the remembered radio station) counts as
  // no change.
  auto opened = std::make_unique<PackedSchedule>();
  UnpackImage(view.document().image(), view.Context(), opened->model);
  opened->station = view.currentStation();
  PackImage(opened->model, opened->station, view.Context(), opened->image, opened->calendars);
  return opened->image == working->image ? view.document().image() : working->image;
}

Result<NextYearReport> PreviewNextYear(TavrinViewModel& view, const NextYearOptions& options) {
  return NextSchoolYearOf(NextYearSource(view), view.Context(), options);
}

std::optional<std::string> NextYearOffer(TavrinViewModel& view) {
  CTavrinDoc& doc = view.document();
  if (doc.IsUntitled()) return std::nullopt;
  const Result<int> first = FirstImageYear(doc.image());
  if (!first || *first >= view.years().currentYear) return std::nullopt;
  const Result<NextYearReport> report = PreviewNextYear(view, NextYearOptions());
  if (!report || !report->plan.reachesNewYears) return std::nullopt;
  const SchoolYear& source = report->plan.source;
  return "「" + doc.SettingsTitle() + "」は " + std::to_string(*first) +
         " 年の予定を持つファイルです。\n" + SchoolYearText(source) +
         " の期間設定と個別設定を写して、\n次の年度（" + SchoolYearText(source.Next()) +
         "）を作成しますか？";
}

void ApplyNextYear(TavrinViewModel& view, const NextYearReport& report) {
  if (!report.refusal.empty()) return;  // nothing may be written, nor put in place
  view.model() = report.plan.result;
  view.MarkModified();
}

}  // namespace tavrin
