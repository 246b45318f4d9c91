#include <gtest/gtest.h>

#include <cstring>

#include "document/PathText.h"
#include "model/ImageLayout.h"
#include "model/ScheduleModel.h"

namespace tavrin {
namespace {

TEST(ModelBasics, ClearedModelCarriesOnlyTheIdentification) {
  ScheduleModel model;
  std::memset(&model, 0xAB, sizeof model);
  ClearModel(model);
  EXPECT_EQ(std::string(model.idText.data(), 16), "KORVA VL3 V01.00");
  EXPECT_EQ(std::string(model.modelTag.data(), 4), "VL3X");
  EXPECT_EQ(model.steps[999].program, 0);
  EXPECT_EQ(model.radioFrequency, 0);
}

TEST(ModelBasics, OnlyStepsWithProgramAndChannelRegisterAProgram) {
  ScheduleModel model;
  ClearModel(model);
  model.steps[10].program = 5;  // no channel: not in use
  EXPECT_FALSE(IsRegistered(model, 5));
  model.steps[10].channel = 3;
  EXPECT_TRUE(IsRegistered(model, 5));
  EXPECT_FALSE(IsRegistered(model, 6));
}

// The document, the safe writer and the command line split paths the same way.
TEST(ModelBasics, PathsSplitIntoFolderAndName) {
  struct Case {
    const char* path;
    const char* folder;
    const char* name;
  };
  for (const Case& c :
       {Case{"/data/plan.BIN", "/data", "plan.BIN"}, Case{"/plan.BIN", "/", "plan.BIN"},
        Case{"plan.BIN", ".", "plan.BIN"}, Case{"my.data/plan", "my.data", "plan"}}) {
    EXPECT_EQ(FolderOf(c.path), c.folder) << c.path;
    EXPECT_EQ(FileNameOf(c.path), c.name) << c.path;
  }
  EXPECT_EQ(JoinPath(FolderOf("/data/plan.BIN"), "plan.TXT"), "/data/plan.TXT");
  EXPECT_EQ(JoinPath("/", "plan.TXT"), "/plan.TXT");
}

}  // namespace
}  // namespace tavrin
