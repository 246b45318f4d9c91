#include <gtest/gtest.h>

#include <vector>

#include "editors/StepSort.h"

namespace tavrin {
namespace {

WeeklyStep Step(int program, int channel, int hour, int minute, int action = 0) {
  WeeklyStep step{};
  step.program = static_cast<uint8_t>(program);
  step.channel = static_cast<uint8_t>(channel);
  step.hour = static_cast<uint8_t>(hour);
  step.minute = static_cast<uint8_t>(minute);
  step.action = static_cast<uint8_t>(action);
  return step;
}

TEST(StepSort, OrdersByProgramTimeAndChannelIntoTheFirstSlots) {
  ScheduleModel model;
  ClearModel(model);
  model.steps[5] = Step(3, 2, 7, 30);
  model.steps[17] = Step(3, 1, 7, 30);
  model.steps[400] = Step(2, 8, 23, 0);
  model.steps[999] = Step(3, 1, 6, 59);
  model.steps[600] = Step(4, 0, 1, 0);  // no channel: dropped
  CompactAndSortSteps(model);
  EXPECT_EQ(model.steps[0].program, 2);
  EXPECT_EQ(model.steps[1].hour, 6);
  EXPECT_EQ(model.steps[2].channel, 1);
  EXPECT_EQ(model.steps[3].channel, 2);
  for (int i = 4; i < kStepCount; ++i) EXPECT_FALSE(model.steps[i].program) << i;
}

TEST(StepSort, EqualKeysKeepTheirOrder) {
  ScheduleModel model;
  ClearModel(model);
  std::vector<WeeklyStep> steps;
  for (int i = 0; i < 1000; ++i) steps.push_back(Step(1 + i % 3, 1, 8, 0, i % 200));
  CompactAndSortSteps(model, steps);
  int previousAction = -1;
  for (int i = 0; i < 334; ++i) {
    ASSERT_EQ(model.steps[i].program, 1);
    EXPECT_EQ(model.steps[i].action, (3 * i) % 200);
    EXPECT_NE(model.steps[i].action, previousAction);
    previousAction = model.steps[i].action;
  }
  EXPECT_EQ(model.steps[999].program, 3);
}

}  // namespace
}  // namespace tavrin
