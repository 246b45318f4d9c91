// The document side as an editor sees it: the model as it was last saved, and a count of the
// comparisons and modified marks the editor asked for.
#pragma once

#include <cstring>

#include "editors/EditorSession.h"
#include "model/ScheduleModel.h"

namespace tavrin::testing {

class FakeEditorHost : public EditorHost {
 public:
  explicit FakeEditorHost(const ScheduleModel& saved, const ProgramNameTable& names = {}) {
    std::memcpy(&saved_, &saved, sizeof saved);
    savedNames_ = names;
  }
  bool SameAsDocument(ScheduleModel& model, const ProgramNameTable& names) override {
    ++comparisons;
    return std::memcmp(&model, &saved_, sizeof model) == 0 && names == savedNames_;
  }
  void MarkModified() override { ++modifiedMarks; }
  int comparisons = 0;
  int modifiedMarks = 0;

 private:
  ScheduleModel saved_;
  ProgramNameTable savedNames_;
};

}  // namespace tavrin::testing
