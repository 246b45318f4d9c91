// Shared set-up for the image conversion tests.
#pragma once

#include <string>

#include "calendar/HolidayFile.h"
#include "calendar/PackImage.h"
#include "model/ImagePacking.h"

namespace tavrin::testing_support {

inline HolidayTable ParseHolidays(const std::string& text) {
  HolidayTable table;
  ParseHolidayText(text.data(), text.size(), table);
  return table;
}

inline ScheduleModel EmptyModel() {
  ScheduleModel model;
  ClearModel(model);
  return model;
}

class ImageRig {
 public:
  explicit ImageRig(int clockYear, const std::string& holidayText = "", bool radio = true)
      : holidays_(ParseHolidays(holidayText)),
        context_{YearsFromClock(clockYear), &holidays_, radio} {}

  const ImageContext& context() const { return context_; }
  const HolidayTable& holidays() const { return holidays_; }
  void SetClockYear(int year) { context_.years = YearsFromClock(year); }
  void SetRadio(bool radio) { context_.radioMode = radio; }

  SettingsImage Pack(ScheduleModel& model) {
    SettingsImage image;
    PackImage(model, station, context_, image, calendars);
    return image;
  }
  SettingsImage Pack(const ScheduleModel& model) {
    ScheduleModel copy = model;
    return Pack(copy);
  }
  ScheduleModel Unpack(const SettingsImage& image) const {
    ScheduleModel model;
    UnpackImage(image, context_, model);
    return model;
  }

  RadioStation station;
  std::array<YearCalendar, 2> calendars;

 private:
  HolidayTable holidays_;
  ImageContext context_;
};

inline unsigned Word(const SettingsImage& image, std::size_t offset) {
  return image[offset] | (image[offset + 1] << 8);
}

inline uint8_t GridByte(const SettingsImage& image, std::size_t grid, int month, int day) {
  return image[grid + layout::GridSlot(month, day)];
}

}  // namespace tavrin::testing_support
