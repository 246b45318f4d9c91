// The document's undo history: the class alone (limit, branching, the saved state), then over a
// real document and view: what a change, a save, a new or opened document and a read from a
// stick do to it, and the modified flag and caption that follow an undo.
#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "TestFakes.h"
#include "app/DocumentHistory.h"
#include "app/TransferCommands.h"
#include "calendar/PackImage.h"
#include "document/ProfileStore.h"
#include "document/TavrinDoc.h"
#include "editors/EditorSession.h"
#include "editors/StepSort.h"
#include "transfer/RemovableVolumes.h"
#include "transfer/UsbStick.h"
#include "transfer/UsbTransfer.h"

namespace tavrin::testing {
namespace {

// A state told apart by one byte.
DocumentState State(int n) {
  DocumentState state;
  state.image[100] = static_cast<uint8_t>(n);
  state.image[101] = static_cast<uint8_t>(n >> 8);
  return state;
}

// Records changes 0 → 1 → ... → count, each named by its number.
void RecordSteps(UndoHistory& history, int count, int from = 0) {
  for (int n = from; n < from + count; ++n) {
    history.Record(std::to_string(n + 1), State(n), State(n + 1));
  }
}

TEST(UndoHistory, KeepsTheNewestStepsUpToItsLimit) {
  UndoHistory standard;
  RecordSteps(standard, 100);
  int undone = 0;
  while (standard.CanUndo()) {
    standard.Undo();
    ++undone;
  }
  EXPECT_EQ(undone, 100);

  UndoHistory history(5);
  RecordSteps(history, 8);
  EXPECT_EQ(history.size(), 5u);
  EXPECT_EQ(history.UndoLabel(), "8");
  DocumentState last;
  while (history.CanUndo()) last = history.Undo();
  EXPECT_EQ(last, State(3));  // the three oldest steps are gone
  EXPECT_EQ(history.RedoLabel(), "4");
  // The state of a fresh history was its saved state; it can no longer be reached.
  EXPECT_FALSE(history.AtSavedState());
}

TEST(UndoHistory, AChangeAfterUndoingDropsTheStepsThatWereUndone) {
  UndoHistory history;
  RecordSteps(history, 3);
  EXPECT_EQ(history.Undo(), State(2));
  EXPECT_EQ(history.Undo(), State(1));
  EXPECT_EQ(history.RedoLabel(), "2");
  history.Record("other", State(1), State(50));
  EXPECT_FALSE(history.CanRedo());
  EXPECT_EQ(history.RedoLabel(), "");
  EXPECT_EQ(history.size(), 2u);
  EXPECT_EQ(history.UndoLabel(), "other");
  EXPECT_EQ(history.Undo(), State(1));
  EXPECT_EQ(history.Redo(), State(50));
  EXPECT_EQ(history.Undo(), State(1));
  EXPECT_EQ(history.Undo(), State(0));
  EXPECT_FALSE(history.CanUndo());
  EXPECT_EQ(history.UndoLabel(), "");
}

TEST(UndoHistory, TheSavedStateIsWhereTheFilesWereLastWritten) {
  struct Case {
    const char* name;
    void (*walk)(UndoHistory&);
    bool atSaved;
    std::optional<bool> undoneOnceMore = std::nullopt;  // after one more undo
  };
  const Case cases[] = {
      {"fresh", [](UndoHistory&) {}, true},
      {"one change", [](UndoHistory& h) { RecordSteps(h, 1); }, false},
      {"changed and undone",
       [](UndoHistory& h) {
         RecordSteps(h, 1);
         h.Undo();
       },
       true},
      {"saved after two, one undone",
       [](UndoHistory& h) {
         RecordSteps(h, 2);
         h.MarkSaved();
         h.Undo();
       },
       false},
      {"saved after two, undone and redone",
       [](UndoHistory& h) {
         RecordSteps(h, 2);
         h.MarkSaved();
         h.Undo();
         h.Redo();
       },
       true},
      {"saved state among the undone steps, then another change",
       [](UndoHistory& h) {
         RecordSteps(h, 2);
         h.MarkSaved();
         h.Undo();
         h.Undo();
         h.Record("other", State(0), State(9));
         h.Undo();
         h.Redo();
       },
       false},
      // A new change after undoing past the save drops the saved state with the steps undone;
      // one made at the saved state keeps it a step back.
      {"saved, undone past it, then a new change",
       [](UndoHistory& h) {
         RecordSteps(h, 1);
         h.MarkSaved();
         h.Undo();
         h.Record("other", State(0), State(9));
       },
       false, false},
      {"undone to the saved state, then a new change",
       [](UndoHistory& h) {
         RecordSteps(h, 1);
         h.MarkSaved();
         RecordSteps(h, 1, 1);
         h.Undo();
         h.Record("other", State(1), State(9));
       },
       false, true},
      {"forgotten",
       [](UndoHistory& h) {
         RecordSteps(h, 1);
         h.Undo();
         h.ForgetSaved();
       },
       false},
      {"cleared after changes",
       [](UndoHistory& h) {
         RecordSteps(h, 3);
         h.Clear();
       },
       true},
  };
  for (const Case& c : cases) {
    UndoHistory history;
    c.walk(history);
    EXPECT_EQ(history.AtSavedState(), c.atSaved) << c.name;
    if (!c.undoneOnceMore) continue;
    history.Undo();
    EXPECT_EQ(history.AtSavedState(), *c.undoneOnceMore) << c.name << ", undone once more";
  }
}

// The history as the main window runs it, over a real document and view.
class DocumentHistoryTest : public ::testing::Test {
 protected:
  DocumentHistoryTest() {
    doc = std::make_unique<CTavrinDoc>(profile, messages, dialogs);
    doc->SetCurrentDirectoryProvider([this] { return files.path(); });
    view = std::make_unique<TavrinViewModel>(*doc, clock);
    history = std::make_unique<DocumentHistory>(*doc, *view);
    view->RefreshFromDocument();
  }

  // An editor sheet closed with OK after `edit`, as the main window runs it.
  void Edit(const char* label, const std::function<void(ScheduleModel&)>& edit) {
    const DocumentState before = history->Current();
    RunEditorSession(view->model(), view->names(), *view, [&] {
      edit(view->model());
      return true;
    });
    history->RecordChange(label, before);
  }
  void SaveAs(const std::string& name) {
    dialogs.answers.push_back(files / name);
    doc->SaveAsCommand();
    history->Settle();
  }

  TempFolder files;
  MemoryProfileStore profile;
  FakeMessages messages;
  FakeDialogs dialogs;
  FixedClock clock{LocalTime{2026, 4, 1, 9, 0, 0}};
  std::unique_ptr<CTavrinDoc> doc;
  std::unique_ptr<TavrinViewModel> view;
  std::unique_ptr<DocumentHistory> history;
};

TEST_F(DocumentHistoryTest, UndoPutsTheScheduleAndNamesBackAndTheCaptionFollowsTheSavedState) {
  Edit("基本", [](ScheduleModel& m) { m.basicProgram = 99; });
  SaveAs("plan.BIN");
  ASSERT_EQ(view->caption(), "Tavrin - plan.BIN");
  Edit("週間プログラム", [this](ScheduleModel& m) {
    m.channels[0] = {kChannelTimeSignal, 0, 5, 0};
    m.steps[0] = WeeklyStep{1, 1, {0, 1, 1, 1, 1, 1, 0}, 8, 30, 1};
    view->names().names[1][0] = 'A';
  });
  ASSERT_EQ(view->caption(), "Tavrin - plan.BIN *");
  EXPECT_EQ(history->history().UndoLabel(), "週間プログラム");
  EXPECT_EQ(UndoMenuText(history->history().UndoLabel()), "元に戻す: 週間プログラム(&U)\tCtrl+Z");

  ASSERT_TRUE(history->Undo());
  EXPECT_EQ(view->model().steps[0].program, 0);
  EXPECT_EQ(view->model().channels[0].kind, kChannelUnused);
  EXPECT_EQ(view->names().names[1][0], '\0');
  EXPECT_EQ(view->model().basicProgram, 99);
  EXPECT_FALSE(doc->IsModified());
  EXPECT_EQ(view->caption(), "Tavrin - plan.BIN");
  EXPECT_EQ(RedoMenuText(history->history().RedoLabel()), "やり直し: 週間プログラム(&R)\tCtrl+Y");

  ASSERT_TRUE(history->Redo());
  EXPECT_EQ(view->model().steps[0].hour, 8);
  EXPECT_EQ(view->names().names[1][0], 'A');
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(view->caption(), "Tavrin - plan.BIN *");
  EXPECT_FALSE(history->Redo());

  // Undoing past the save: the files hold what is then undone.
  ASSERT_TRUE(history->Undo());
  ASSERT_TRUE(history->Undo());
  EXPECT_EQ(view->model().basicProgram, 0);
  EXPECT_EQ(view->caption(), "Tavrin - plan.BIN *");
  EXPECT_FALSE(history->Undo());
}

TEST_F(DocumentHistoryTest, OkWithoutAChangeRecordsNothing) {
  Edit("サマータイム", [](ScheduleModel&) {});
  EXPECT_FALSE(history->history().CanUndo());
  Edit("サマータイム", [](ScheduleModel& m) { m.summerTimeEnabled = 1; });
  Edit("サマータイム", [](ScheduleModel&) {});
  EXPECT_EQ(history->history().size(), 1u);
}

// Sorting the steps, as the step dialog does when it opens, is no change of the schedule: no " *",
// no step to undo; the sorted order goes into the file with the next save. One byte of a step is.
TEST_F(DocumentHistoryTest, SortingTheStepsIsNoChange) {
  Edit("週間プログラム", [](ScheduleModel& m) {
    m.basicProgram = 1;
    m.channels[0] = {kChannelTimeSignal, 0, 5, 0};
    m.steps[0] = WeeklyStep{2, 1, {1, 0, 0, 0, 0, 0, 0}, 9, 0, 1};
    m.steps[1] = WeeklyStep{1, 1, {1, 0, 0, 0, 0, 0, 0}, 8, 30, 1};
    m.steps[2] = WeeklyStep{1, 1, {0, 1, 0, 0, 0, 0, 0}, 8, 30, 1};
  });
  SaveAs("plan.BIN");
  const std::size_t recorded = history->history().size();
  Edit("週間プログラム", [](ScheduleModel& m) { CompactAndSortSteps(m); });
  ASSERT_EQ(view->model().steps[0].program, 1) << "the working schedule is sorted";
  EXPECT_FALSE(doc->IsModified());
  EXPECT_EQ(view->caption(), "Tavrin - plan.BIN");
  EXPECT_EQ(history->history().size(), recorded);
  Edit("週間プログラム", [](ScheduleModel& m) { m.steps[1].days[1] = 0; });
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(history->history().size(), recorded + 1);
}

TEST_F(DocumentHistoryTest, NewAndOpenStartAfreshAndASaveKeepsTheSteps) {
  Edit("基本", [](ScheduleModel& m) { m.basicProgram = 99; });
  SaveAs("plan.BIN");
  Edit("年間プログラム", [](ScheduleModel& m) { m.basicProgram = 98; });
  EXPECT_EQ(history->history().size(), 2u);  // saving kept both

  messages.answers.push_back(MsgAnswer::No);  // drop the change
  doc->NewCommand();
  history->Settle();
  EXPECT_FALSE(history->history().CanUndo());
  EXPECT_EQ(view->caption(), "Tavrin - 新規作成");

  Edit("年間プログラム", [](ScheduleModel& m) { m.basicProgram = 97; });
  messages.answers.push_back(MsgAnswer::No);
  dialogs.answers.push_back(files / "plan.BIN");
  doc->OpenCommand();
  history->Settle();
  EXPECT_FALSE(history->history().CanUndo());
  EXPECT_EQ(view->model().basicProgram, 99);

  // A save asked for by the open's question, then the open cancelled: the saved state is now.
  Edit("サマータイム", [](ScheduleModel& m) { m.summerTimeEnabled = 1; });
  messages.answers.push_back(MsgAnswer::Yes);
  dialogs.answers.push_back(std::nullopt);
  doc->OpenCommand();
  history->Settle();
  EXPECT_FALSE(doc->IsModified());
  ASSERT_TRUE(history->Undo());
  EXPECT_EQ(view->caption(), "Tavrin - plan.BIN *");
  ASSERT_TRUE(history->Redo());
  EXPECT_EQ(view->caption(), "Tavrin - plan.BIN");
}

TEST_F(DocumentHistoryTest, AReadFromAStickIsAStepBackToTheScheduleBeforeIt) {
  Edit("基本", [](ScheduleModel& m) { m.basicProgram = 99; });
  SaveAs("plan.BIN");
  // The stick's file: another schedule.
  TempFolder stick;
  ScheduleModel other{};
  ClearModel(other);
  other.basicProgram = 42;
  SettingsImage image{};
  RadioStation station;
  std::array<YearCalendar, 2> calendars{};
  PackImage(other, station, view->Context(), image, calendars);
  ASSERT_TRUE(WriteSettingsFile(stick / kStickFileName, image).ok());

  TransferArchive archive(files.path(), clock);
  class First : public DriveChooser {
    std::optional<std::size_t> ChooseDrive(UsbDirection, const std::vector<std::string>&,
                                           const std::string&) override {
      return 0;
    }
  } chooser;
  class Never : public WriteCheckPrompt {
    bool WriteDespiteErrors(const std::vector<Finding>&) override { return false; }
  } prompt;
  UsbCommandContext context{messages, chooser, archive, prompt,
                            [&stick] { return std::vector<Volume>{VolumeAt(stick.path())}; }};
  const DocumentState before = history->Current();
  const DocumentHistory::Files filesBefore = history->CurrentFiles();
  UsbReadCommand(*view, context);
  history->RecordRead(kUsbReadTitle, before, filesBefore);
  ASSERT_EQ(view->model().basicProgram, 42);
  EXPECT_EQ(history->history().UndoLabel(), "USBメモリから読み込み");

  ASSERT_TRUE(history->Undo());
  EXPECT_EQ(view->model().basicProgram, 99);
  // The schedule is back, in the new document the read made: plan.BIN is no longer its file.
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(view->caption(), "Tavrin - 新規作成 *");
  ASSERT_TRUE(history->Redo());
  EXPECT_EQ(view->model().basicProgram, 42);
}

}  // namespace
}  // namespace tavrin::testing
