// What an editor window opened with. Its Cancel throws away everything done there, so it asks
// first, but only when something would be lost; with nothing changed it closes at once.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/ScheduleModel.h"

namespace tavrin {

inline constexpr char kDiscardQuestion[] = "変更を破棄しますか？";

// What a window shows that its OK would store but the model does not hold yet (cells, check
// boxes, fields, an open cell edit with what is typed so far), as texts.
struct ScreenTexts {
  std::vector<std::string> filled;  // as the window last wrote them from the model
  std::vector<std::string> now;
};

class OpenedState {
 public:
  // Taken once the window has filled itself: tidying the model as a window opens is none of the
  // user's work.
  OpenedState(const ScheduleModel& model, const ProgramNameTable& names);

  // Whether Cancel would lose work: the model or the names differ from the opening in a value
  // (slots that the editors reorder on their own aside), or the screen differs from what the
  // window last wrote there.
  bool Changed(const ScheduleModel& model, const ProgramNameTable& names,
               const ScreenTexts& screen) const;

 private:
  std::unique_ptr<const ScheduleModel> model_;
  std::unique_ptr<const ProgramNameTable> names_;
};

}  // namespace tavrin
