// What the main view lends an editor in the desktop tests: a cleared working model (padding
// included, so that byte comparisons hold), empty program names and empty row clipboards.
#pragma once

#include <cstring>
#include <memory>

#include "editors/EditorClipboards.h"
#include "model/ScheduleModel.h"

namespace tavrin::testing {

struct EditorTestData {
  EditorTestData() {
    std::memset(model.get(), 0, sizeof *model);
    ClearModel(*model);
    std::memset(names.get(), 0, sizeof *names);
    clipboards->Clear();
  }
  std::unique_ptr<ScheduleModel> model = std::make_unique<ScheduleModel>();
  std::unique_ptr<ProgramNameTable> names = std::make_unique<ProgramNameTable>();
  std::unique_ptr<EditorClipboards> clipboards = std::make_unique<EditorClipboards>();
};

}  // namespace tavrin::testing
