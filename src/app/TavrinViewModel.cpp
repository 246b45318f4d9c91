#include "app/TavrinViewModel.h"

#include <cassert>

namespace tavrin {

TavrinViewModel::TavrinViewModel(CTavrinDoc& doc, const Clock& clock) : doc_(doc), clock_(clock) {
  ClearModel(model_);
  ClearHolidayTable(holidays_);
  TakeYearsFromClock();
  doc_.AttachView(this);
}

TavrinViewModel::~TavrinViewModel() { doc_.AttachView(nullptr); }

void TavrinViewModel::TakeYearsFromClock() {
  const LocalTime now = clock_.Now();
  years_ = YearsFromClock(now.year);
  currentMonth_ = now.month;
}

ImageContext TavrinViewModel::Context() const {
  return ImageContext{years_, &holidays_, iniSettings_.RadioModeOn()};
}

WorkingSchedule TavrinViewModel::Schedule() {
  return {model_, names_, iniSettings_, registry_.station, Context(), image_, calendars_};
}

void TavrinViewModel::PackImage() {
  tavrin::PackImage(model_, registry_.station, Context(), image_, calendars_);
}

std::unique_ptr<PackedSchedule> TavrinViewModel::PackedCopy() const {
  auto packed = std::make_unique<PackedSchedule>();
  packed->model = model_;
  packed->station = registry_.station;
  tavrin::PackImage(packed->model, packed->station, Context(), packed->image, packed->calendars);
  return packed;
}

std::vector<Finding> TavrinViewModel::CheckWorkingSchedule() const {
  return CheckSchedule({model_, names_, holidays_, years_});
}

void TavrinViewModel::UnpackImage() { tavrin::UnpackImage(image_, Context(), model_); }

void TavrinViewModel::LoadFromDocument() {
  doc_.GetImage(image_);
  doc_.GetNames(names_);
  UnpackImage();
}

void TavrinViewModel::StoreToDocument() {
  PackImage();
  doc_.SetImage(image_);
  doc_.SetNames(names_);
}

void TavrinViewModel::RefreshFromDocument() {
  fileState_ = doc_.IsUntitled() ? FileState::Untitled : FileState::File;
  settingsTitle_ = doc_.SettingsTitle();
  nameTitle_ = doc_.NameTitle();
  TakeYearsFromClock();
  LoadFromDocument();
  UpdateTitle();
}

void TavrinViewModel::UpdateTitle() {
  std::string state;
  if (fileState_ == FileState::Untitled) {
    state = doc_.IsModified() ? "新規作成 *" : "新規作成";
  } else if (fileState_ == FileState::File) {
    state = settingsTitle_ + (doc_.IsModified() ? " *" : "");
  }
  caption_ = "Tavrin - " + state;
  fileNameField_ = settingsTitle_.empty() ? std::string("新規作成") : settingsTitle_;
  if (observer_) observer_->ShowTitle(caption_, fileNameField_);
}

bool TavrinViewModel::SameAsDocument([[maybe_unused]] ScheduleModel& model,
                                     [[maybe_unused]] const ProgramNameTable& names) {
  // The editors work on the working model itself, which packing reads.
  assert(&model == &model_ && &names == &names_);
  PackImage();
  // A renamed program changes no image byte, yet it is part of what gets saved.
  return doc_.SameImage(image_) && doc_.names() == names_;
}

void TavrinViewModel::MarkModified() {
  doc_.SetModified(true);
  UpdateTitle();
}

}  // namespace tavrin
