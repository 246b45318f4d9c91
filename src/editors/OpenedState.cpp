#include "editors/OpenedState.h"

#include <algorithm>

#include "editors/StepSort.h"

namespace tavrin {
namespace {

template <typename Entry, std::size_t N>
void MoveUp(std::array<Entry, N>& entries) {
  const auto end = std::stable_partition(entries.begin(), entries.end(),
                                         [](const Entry& entry) { return entry.year != 0; });
  std::fill(end, entries.end(), Entry{});
}

// The model as the editors store it. Slots they reorder on their own (steps compacted and sorted
// when the step dialog opens, periods and dates moved up when the annual page stores a kind) are
// no work of the user's.
std::unique_ptr<const ScheduleModel> Tidied(const ScheduleModel& model) {
  auto tidied = std::make_unique<ScheduleModel>(model);
  CompactAndSortSteps(*tidied);
  MoveUp(tidied->periods);
  MoveUp(tidied->dates);
  return tidied;
}

}  // namespace

OpenedState::OpenedState(const ScheduleModel& model, const ProgramNameTable& names)
    : model_(Tidied(model)), names_(std::make_unique<const ProgramNameTable>(names)) {}

bool OpenedState::Changed(const ScheduleModel& model, const ProgramNameTable& names,
                          const ScreenTexts& screen) const {
  // Values, not bytes: the padding between fields is no one's work.
  return *Tidied(model) != *model_ || names != *names_ || screen.now != screen.filled;
}

}  // namespace tavrin
