#include <gtest/gtest.h>

#include <cstring>

#include "editors/EditorSession.h"

namespace tavrin {
namespace {

class FakeHost : public EditorHost {
 public:
  explicit FakeHost(const ScheduleModel& document) {
    std::memcpy(&document_, &document, sizeof document);
  }
  bool SameAsDocument(ScheduleModel& model) override {
    ++packs;
    return std::memcmp(&model, &document_, sizeof model) == 0;
  }
  void MarkModified() override { ++marks; }
  int packs = 0;
  int marks = 0;

 private:
  ScheduleModel document_;
};

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

  FakeHost host(*model);
  EditorOutcome outcome = RunEditorSession(*model, *names, host, [&] {
    std::memset(model.get(), 0, sizeof *model);
    names->names[3][0] = 'A';
    return false;
  });
  EXPECT_EQ(outcome, EditorOutcome::Cancelled);
  EXPECT_EQ(std::memcmp(model.get(), modelBefore.get(), sizeof *model), 0);
  EXPECT_EQ(std::memcmp(names.get(), namesBefore.get(), sizeof *names), 0);
  EXPECT_EQ(host.packs, 0);
  EXPECT_EQ(host.marks, 0);
}

TEST(EditorSession, OkMarksTheDocumentOnlyWhenItsImageChanges) {
  auto model = std::make_unique<ScheduleModel>();
  auto names = std::make_unique<ProgramNameTable>();
  ClearModel(*model);
  FakeHost host(*model);

  EXPECT_EQ(RunEditorSession(*model, *names, host, [] { return true; }), EditorOutcome::Unchanged);
  EXPECT_EQ(host.packs, 1);
  EXPECT_EQ(host.marks, 0);

  EXPECT_EQ(RunEditorSession(*model, *names, host,
                             [&] {
                               model->summerTime.startMonth = 4;
                               return true;
                             }),
            EditorOutcome::Changed);
  EXPECT_EQ(model->summerTime.startMonth, 4);  // OK keeps the change
  EXPECT_EQ(host.marks, 1);
}

}  // namespace
}  // namespace tavrin
