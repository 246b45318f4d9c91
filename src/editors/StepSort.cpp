#include "editors/StepSort.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace tavrin {
namespace {

long SortKey(const WeeklyStep& step) {
  return step.program * 1000000L + step.hour * 10000L + step.minute * 100L + step.channel;
}

}  // namespace

void CompactAndSortSteps(ScheduleModel& model, std::span<const WeeklyStep> steps) {
  std::vector<WeeklyStep> sorted(steps.begin(),
                                 steps.begin() + std::min<std::size_t>(steps.size(), kStepCount));
  // A stable sort gives what repeated selection of the smallest remaining key gives, where the
  // earliest of equal keys is taken first.
  std::stable_sort(sorted.begin(), sorted.end(), [](const WeeklyStep& a, const WeeklyStep& b) {
    return SortKey(a) < SortKey(b);
  });
  std::memset(model.steps.data(), 0, sizeof model.steps);
  std::copy(sorted.begin(), sorted.end(), model.steps.begin());
}

void CompactAndSortSteps(ScheduleModel& model) {
  std::vector<WeeklyStep> used;
  used.reserve(kStepCount);
  for (const WeeklyStep& step : model.steps) {
    if (step.used()) used.push_back(step);
  }
  CompactAndSortSteps(model, used);
}

}  // namespace tavrin
