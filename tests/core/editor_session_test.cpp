#include <gtest/gtest.h>

#include <cstring>

#include "FakeEditorHost.h"
#include "editors/EditorSession.h"

namespace tavrin {
namespace {

using testing::FakeEditorHost;

TEST(EditorSession, CaptionsFollowTheDocumentState) {
  EXPECT_EQ(SheetCaption(EditorKind::SummerTime, FileState::Untitled, ""),
            "サマータイム - 新規作成");
  EXPECT_EQ(SheetCaption(EditorKind::Channel, FileState::File, "夏.BIN"),
            "チャンネル設定 - 夏.BIN");
  EXPECT_EQ(SheetCaption(EditorKind::Radio, FileState::None, "x.BIN"), "ラジオ選局");
  EXPECT_STREQ(EditorTitle(EditorKind::Weekly), "週間プログラム");
  EXPECT_STREQ(EditorTitle(EditorKind::Annual), "年間プログラム");
}

TEST(EditorSession, CancelRestoresEveryByteOfModelAndNames) {
  auto model = std::make_unique<ScheduleModel>();
  auto names = std::make_unique<ProgramNameTable>();
  std::memset(model.get(), 0x5A, sizeof *model);  // padding bytes included
  std::memset(names.get(), 0x21, sizeof *names);
  auto modelBefore = std::make_unique<ScheduleModel>();
  auto namesBefore = std::make_unique<ProgramNameTable>();
  std::memcpy(modelBefore.get(), model.get(), sizeof *model);
  std::memcpy(namesBefore.get(), names.get(), sizeof *names);

  FakeEditorHost host(*model);
  EditorOutcome outcome = RunEditorSession(*model, *names, host, [&] {
    std::memset(model.get(), 0, sizeof *model);
    names->names[3][0] = 'A';
    return false;
  });
  EXPECT_EQ(outcome, EditorOutcome::Cancelled);
  EXPECT_EQ(std::memcmp(model.get(), modelBefore.get(), sizeof *model), 0);
  EXPECT_EQ(std::memcmp(names.get(), namesBefore.get(), sizeof *names), 0);
  EXPECT_EQ(host.comparisons, 0);
  EXPECT_EQ(host.modifiedMarks, 0);
}

TEST(EditorSession, OkMarksTheDocumentOnlyWhenItsImageChanges) {
  auto model = std::make_unique<ScheduleModel>();
  auto names = std::make_unique<ProgramNameTable>();
  ClearModel(*model);
  FakeEditorHost host(*model);

  EXPECT_EQ(RunEditorSession(*model, *names, host, [] { return true; }), EditorOutcome::Unchanged);
  EXPECT_EQ(host.comparisons, 1);
  EXPECT_EQ(host.modifiedMarks, 0);

  EXPECT_EQ(RunEditorSession(*model, *names, host,
                             [&] {
                               model->summerTime.startMonth = 4;
                               return true;
                             }),
            EditorOutcome::Changed);
  EXPECT_EQ(model->summerTime.startMonth, 4);  // OK keeps the change
  EXPECT_EQ(host.modifiedMarks, 1);
}

}  // namespace
}  // namespace tavrin
