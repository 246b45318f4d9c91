// The main view's side without widgets: the working model and names with their backup, the image
// buffer, the two calendars, the holiday table, the settings kept between runs, and the caption.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/RegistrySettings.h"
#include "calendar/PackImage.h"
#include "calendar/YearCalendar.h"
#include "document/FileState.h"
#include "document/TavrinDoc.h"
#include "editors/EditorSession.h"
#include "export/WorkingScheduleReport.h"
#include "model/Clock.h"
#include "model/HolidayTable.h"
#include "model/ImagePacking.h"
#include "model/IniSettings.h"
#include "review/ScheduleCheck.h"

namespace tavrin {

// The schedule as saving would store it, and the calendars its packing resolved.
struct PackedSchedule {
  ScheduleModel model;
  RadioStation station;
  SettingsImage image;
  std::array<YearCalendar, 2> calendars;
};

// The main window shows what the view decides.
class TitleObserver {
 public:
  virtual ~TitleObserver() = default;
  // The window caption and the text of the file-name field (UTF-8).
  virtual void ShowTitle(const std::string& caption, const std::string& fileNameField) = 0;
};

class TavrinViewModel : public DocumentView, public EditorHost {
 public:
  // Links itself to the document both ways.
  TavrinViewModel(CTavrinDoc& doc, const Clock& clock);
  ~TavrinViewModel() override;
  TavrinViewModel(const TavrinViewModel&) = delete;
  TavrinViewModel& operator=(const TavrinViewModel&) = delete;

  void SetTitleObserver(TitleObserver* observer) { observer_ = observer; }

  ScheduleModel& model() { return model_; }
  const ScheduleModel& model() const { return model_; }
  ProgramNameTable& names() { return names_; }
  const ProgramNameTable& names() const { return names_; }
  SettingsImage& imageBuffer() { return image_; }
  std::array<YearCalendar, 2>& calendars() { return calendars_; }
  HolidayTable& holidays() { return holidays_; }
  IniSettings& iniSettings() { return iniSettings_; }
  const IniSettings& iniSettings() const { return iniSettings_; }
  RegistrySettings& registry() { return registry_; }
  RadioStation& currentStation() { return registry_.station; }
  YearPair years() const { return years_; }
  // The clock's month, read with the years; the annual confirmation opens on it.
  int currentMonth() const { return currentMonth_; }
  CTavrinDoc& document() { return doc_; }

  void TakeYearsFromClock();
  ImageContext Context() const;
  // The working schedule with the buffers packing fills, for the export report.
  WorkingSchedule Schedule();
  void PackImage();
  void UnpackImage();
  // Packs a copy of the working schedule: packing takes the remembered radio station into the
  // model it packs, and a look at the schedule must not change it.
  std::unique_ptr<PackedSchedule> PackedCopy() const;
  // The schedule check over the working schedule, the holiday file and the clock's years.
  std::vector<Finding> CheckWorkingSchedule() const;

  void LoadFromDocument();
  void StoreToDocument() override;
  bool IsRegistered(int program) const { return tavrin::IsRegistered(model_, program); }
  bool RadioModeOn() const { return iniSettings_.RadioModeOn(); }

  const ScheduleModel& WorkingModel() const override { return model_; }
  void RefreshFromDocument() override;
  void UpdateTitle();

  // The document side of every editor session (RunEditorSession).
  bool SameAsDocument(ScheduleModel& model, const ProgramNameTable& names) override;
  void MarkModified() override;

  FileState fileState() const { return fileState_; }
  const std::string& caption() const { return caption_; }
  const std::string& fileNameField() const { return fileNameField_; }

 private:
  CTavrinDoc& doc_;
  const Clock& clock_;
  TitleObserver* observer_ = nullptr;

  ScheduleModel model_{};
  ProgramNameTable names_{};
  SettingsImage image_{};
  std::array<YearCalendar, 2> calendars_{};
  HolidayTable holidays_{};
  IniSettings iniSettings_;
  RegistrySettings registry_;
  YearPair years_{};
  int currentMonth_ = 1;

  FileState fileState_ = FileState::None;
  std::string settingsTitle_;
  std::string nameTitle_;
  std::string caption_;
  std::string fileNameField_;
};

}  // namespace tavrin
