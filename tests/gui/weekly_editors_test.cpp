// The channel page and the weekly windows, driven through their widgets as a user drives them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <cstring>
#include <memory>

#include "EditorSheetWorld.h"
#include "FakeEditorHost.h"
#include "GridDriving.h"
#include "GuiTestSupport.h"
#include "MakeStep.h"
#include "WidgetDriving.h"
#include "app/ui/OpenEditor.h"
#include "editors/ui/StepDialog.h"
#include "framework/ui/CProgSheet.h"
#include "framework/ui/ConfirmationForm.h"
#include "framework/ui/ControlIds.h"
#include "framework/ui/EditorPage.h"
#include "model/ShiftJis.h"
#include "platform/CVSFlexGrid.h"
#include "platform/ControlNames.h"

namespace tavrin {
namespace {

using testing::Click;
using testing::ClickCell;
using testing::FakeEditorHost;
using testing::FakeMessages;
using testing::Focused;
using testing::Keyboard;
using testing::MakeStep;
using testing::WhenModal;

constexpr int kGridId = ids::kGrid;

struct Fixture : testing::EditorSheetWorld {
  Fixture() {
    model->channels[0] = {kChannelTimeSignal, 0, 5, 0};
    model->channels[1] = {kChannelKeep, 0, 0, 0};
  }
};

CVSFlexGrid* GridOf(QWidget* window) { return FindControl<CVSFlexGrid>(window, kGridId); }

// A click on program `program`'s cell of channel `channel` in the weekly list.
void PickProgram(QWidget* sheet, int program, int channel) {
  ClickCell(GridOf(sheet), program + 1, channel);
}

std::string Bytes(const void* data, std::size_t size) {
  return std::string(static_cast<const char*>(data), size);
}

TEST(ChannelPage, RefusedOkShowsTheFaultAndCancelRestoresEveryByte) {
  Fixture f;
  f.model->steps[0] = MakeStep(1, 1, "1000000", 7, 0, 3);
  const std::string before = Bytes(f.model.get(), sizeof *f.model);
  FakeEditorHost host(*f.model);
  f.sink.answers = {MsgAnswer::Yes};  // Cancel's question: throw the changes away
  WhenModal([&](QWidget* sheet) {
    CVSFlexGrid* grid = GridOf(sheet);
    EXPECT_EQ(grid->TextMatrix(1, 1), "報時");
    EXPECT_EQ(grid->TextMatrix(1, 3), "5 秒");
    EXPECT_EQ(grid->TextMatrix(2, 4), "----");
    EXPECT_EQ(grid->Row(), 3);  // the type cell of the first unused channel
    EXPECT_EQ(grid->Col(), 1);
    Keyboard keys;
    keys.Into(grid, 3, 1, "報\n");
    keys.Into(grid, 3, 3, "10\n");
    Click(sheet, kIdOk);
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(grid->Col(), 2);
    Click(sheet, kIdCancel);
  });
  EXPECT_EQ(f.Open(EditorKind::Channel, host), EditorOutcome::Cancelled);
  ASSERT_EQ(f.sink.shown.size(), 2u);
  EXPECT_EQ(f.sink.shown[0].text, "CH3 の＜報時（分）＞の指定が有りません。");
  EXPECT_EQ(f.sink.shown[0].caption, "チャンネル設定");
  EXPECT_EQ(f.sink.shown[1].text, "変更を破棄しますか？");
  EXPECT_EQ(Bytes(f.model.get(), sizeof *f.model), before);
  EXPECT_EQ(host.modifiedMarks, 0);
}

// Deleting a channel drops its steps when the page applies; a channel that keeps its kind keeps
// them.
TEST(ChannelPage, DeletingAChannelDropsItsStepsOnOk) {
  Fixture f;
  f.model->steps[0] = MakeStep(1, 1, "1000000", 7, 0, 3);
  f.model->steps[1] = MakeStep(1, 2, "1000000", 8, 0, kKeepOn);
  FakeEditorHost host(*f.model);
  WhenModal([&](QWidget* sheet) {
    CVSFlexGrid* grid = GridOf(sheet);
    ClickCell(grid, 1, 0);  // CH1's label picks its row
    Click(sheet, ids::kDelete);
    EXPECT_EQ(grid->TextMatrix(1, 1), "");
    Click(sheet, kIdOk);
  });
  EXPECT_EQ(f.Open(EditorKind::Channel, host), EditorOutcome::Changed);
  EXPECT_EQ(f.model->channels[0].kind, kChannelUnused);
  EXPECT_FALSE(f.model->steps[0].used());
  EXPECT_EQ(f.model->steps[1], MakeStep(1, 2, "1000000", 8, 0, kKeepOn));
  ASSERT_EQ(f.sink.shown.size(), 1u);
  EXPECT_EQ(f.sink.shown[0].text, "選択行を削除します。よろしいですか？");
  EXPECT_EQ(host.modifiedMarks, 1);
}

// After Delete or Paste the cursor's cell follows the new row at once: minutes cannot be typed
// into a row that has no type.
TEST(ChannelPage, DeleteAndPasteReapplyTheEditabilityRule) {
  Fixture f;
  FakeEditorHost host(*f.model);
  WhenModal([&](QWidget* sheet) {
    CVSFlexGrid* grid = GridOf(sheet);
    ClickCell(grid, 1, 2);  // the minutes of the time-signal channel: editable
    EXPECT_EQ(grid->Editable(), CVSFlexGrid::kEditKeyboardMouse);
    QTest::keyClick(grid, Qt::Key_C, Qt::AltModifier);  // copy CH1
    QTest::keyClick(grid, Qt::Key_D, Qt::AltModifier);  // delete it, from the minute column
    EXPECT_EQ(grid->Editable(), CVSFlexGrid::kEditNone);
    testing::CommitText(grid, "12 分");
    EXPECT_FALSE(grid->IsEditing());
    EXPECT_EQ(grid->TextMatrix(1, 2), "");
    Click(sheet, ids::kPaste);  // paste it back: the minutes are editable again
    EXPECT_EQ(grid->TextMatrix(1, 1), "報時");
    EXPECT_EQ(grid->Editable(), CVSFlexGrid::kEditKeyboardMouse);
    // Pasting onto a configured channel is refused.
    ClickCell(grid, 2, 1);
    Click(sheet, ids::kPaste);
    Click(sheet, kIdCancel);
  });
  f.Open(EditorKind::Channel, host);
  ASSERT_EQ(f.sink.shown.size(), 2u);
  EXPECT_EQ(f.sink.shown[1].text, "設定済みのチャンネルには、貼り付け出来ません");
}

// Waits for the step dialog's opening timer, after which it answers the mouse.
StepDialog* ReadyStepDialog(QWidget* modal) {
  auto* dialog = qobject_cast<StepDialog*>(modal);
  EXPECT_NE(dialog, nullptr);
  if (dialog) {
    EXPECT_TRUE(QTest::qWaitFor([dialog] { return dialog->Ready(); }, 2000));
  }
  return dialog;
}

TEST(StepDialog, ChecksCommitsAndCancelUndoesWhatConfirmCommitted) {
  Fixture f;
  f.model->steps[0] = MakeStep(1, 1, "0100000", 7, 0, 3);
  f.model->steps[1] = MakeStep(1, 1, "0100000", 8, 0, 14);  // a code no chime record has
  std::memcpy(f.names->names[1].data(), "old", 3);
  FakeEditorHost host(*f.model, *f.names);
  const std::string stepsBefore = Bytes(f.model->steps.data(), sizeof f.model->steps);
  std::string afterConfirm;
  f.sink.answers = {MsgAnswer::Yes};  // the step dialog's Cancel: throw its work away
  WhenModal([&](QWidget* sheet) {
    WhenModal([&](QWidget* modal) {
      StepDialog* dialog = ReadyStepDialog(modal);
      if (!dialog) return;
      CVSFlexGrid* grid = dialog->Grid();
      EXPECT_EQ(grid->Rows(), 1 + kStepCount);  // 998 free slots and the two steps
      EXPECT_EQ(grid->TextMatrix(1, 2), "★");
      EXPECT_EQ(grid->TextMatrix(2, 10), "0.（なし）");
      EXPECT_EQ(grid->Row(), 3);  // the first empty row, on Sunday
      EXPECT_EQ(grid->Col(), 1);
      ClickCell(grid, 3, 3);  // Tuesday marked by a click
      EXPECT_EQ(grid->TextMatrix(3, 3), "★");
      testing::PickByMouse(grid, 3, 10, 1);  // 1.ウエストミンスターの鐘
      Click(dialog, kIdOk);
      EXPECT_EQ(grid->Row(), 3);
      EXPECT_EQ(grid->Col(), 8);
      Keyboard keys;
      keys.Into(grid, 3, 8, "6\n");
      keys.Into(grid, 3, 9, "45\n");
      QTest::mouseClick(dialog->NameField(), Qt::LeftButton);
      QTest::keyClick(Focused(dialog), Qt::Key_A, Qt::ControlModifier);
      testing::CommitText(Focused(dialog), "朝礼");
      EXPECT_EQ(dialog->NameField()->text(), "朝礼");
      WhenModal([&](QWidget* form) {
        EXPECT_EQ(form->windowTitle(), "週間プログラムの確認 - 報時");
        EXPECT_EQ(GridOf(form)->TextMatrix(3, 7), "1");
        EXPECT_EQ(GridOf(form)->TextMatrix(2, 8), "3");
        Click(form, ids::kClose);
      });
      Click(dialog, ids::kConfirm);
      afterConfirm = Bytes(f.model->steps.data(), sizeof f.model->steps);
      Click(dialog, kIdCancel);
    });
    PickProgram(sheet, 1, 1);
    Click(sheet, kIdOk);
  });
  EXPECT_EQ(f.Open(EditorKind::Weekly, host), EditorOutcome::Unchanged);
  ASSERT_EQ(f.sink.shown.size(), 2u);
  EXPECT_EQ(f.sink.shown[0].text, "ステップ 3 の＜時刻（時）＞の指定が有りません。");
  EXPECT_EQ(f.sink.shown[1].text, "変更を破棄しますか？");
  EXPECT_EQ(f.sink.shown[1].caption, "週間プログラム設定");
  EXPECT_NE(afterConfirm, stepsBefore);  // "確認" had committed the new step
  EXPECT_EQ(Bytes(f.model->steps.data(), sizeof f.model->steps), stepsBefore);
  EXPECT_EQ(std::string(f.names->names[1].data()), "old");
}

TEST(StepDialog, OkStoresTheStepsSortedAndKeepsUneditedCodes) {
  Fixture f;
  f.model->steps[0] = MakeStep(1, 1, "0100000", 8, 0, 14);
  FakeEditorHost host(*f.model);
  WhenModal([&](QWidget* sheet) {
    WhenModal([&](QWidget* modal) {
      StepDialog* dialog = ReadyStepDialog(modal);
      if (!dialog) return;
      CVSFlexGrid* grid = dialog->Grid();
      ASSERT_EQ(Focused(dialog), grid);
      for (int day = 1; day < 7; ++day) QTest::keyClick(grid, Qt::Key_Right);
      QTest::keyClick(grid, Qt::Key_Space);  // Saturday by the space key
      Keyboard keys;
      keys.Into(grid, 2, 8, "6\n");
      keys.Into(grid, 2, 9, "0\n");
      testing::PickByMouse(grid, 2, 10, 2);  // 2.エーデルワイス
      Click(dialog, kIdOk);
    });
    PickProgram(sheet, 1, 1);
    EXPECT_EQ(GridOf(sheet)->TextMatrix(2, 1), "○");
    Click(sheet, kIdOk);
  });
  EXPECT_EQ(f.Open(EditorKind::Weekly, host), EditorOutcome::Changed);
  EXPECT_EQ(f.model->steps[0], MakeStep(1, 1, "0000001", 6, 0, 2));
  EXPECT_EQ(f.model->steps[1], MakeStep(1, 1, "0100000", 8, 0, 14));
  EXPECT_TRUE(f.sink.shown.empty());
}

// A step whose chime no record names shows "0.（なし）" and keeps its code while its cell is not
// edited; a pick in the list, even of the item shown, stores what was picked.
TEST(StepDialog, AHiddenChimeCodeStaysUntilItsCellIsPickedInTheList) {
  struct Case {
    const char* what;
    std::vector<int> picks;  // list items picked in turn in the step's chime cell
    int action;
  };
  const Case cases[] = {
      {"untouched", {}, 14},
      {"the item shown picked", {0}, 0},
      {"another melody, then none", {1, 0}, 0},
      {"another melody", {3}, 3},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.model->steps[0] = MakeStep(1, 1, "0100000", 8, 0, 14);
    auto& w = f.windows;
    WeeklyContext context{*f.model,      *f.names, f.sink,
                          *f.clipboards, f.ini,    {w[0], w[1], w[2], w[3]}};
    StepDialog dialog(context, 1, 1, kChannelTimeSignal, 2);
    WhenModal([&](QWidget*) {
      ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.Ready(); }, 2000));
      EXPECT_EQ(dialog.Grid()->TextMatrix(1, 10), "0.（なし）");
      for (int item : c.picks) testing::PickByMouse(dialog.Grid(), 1, 10, item);
      Click(&dialog, kIdOk);
    });
    dialog.exec();
    EXPECT_EQ(f.model->steps[0].action, c.action) << c.what;
  }
}

TEST(WeeklyPage, FullScheduleRefusesAProgramWithoutStepsThere) {
  Fixture f;
  for (int i = 0; i < kStepCount; ++i) f.model->steps[i] = MakeStep(5, 1, "1000000", 1, 0, 1);
  FakeEditorHost host(*f.model);
  WhenModal([&](QWidget* sheet) {
    PickProgram(sheet, 4, 1);  // refused without a dialog
    Click(sheet, kIdCancel);
  });
  f.Open(EditorKind::Weekly, host);
  ASSERT_EQ(f.sink.shown.size(), 1u);
  EXPECT_EQ(f.sink.shown[0].text,
            "設定されている週間プログラムのステップ数が最大数(1000)に達しています。");
  EXPECT_EQ(f.sink.shown[0].caption, "週間プログラム");
}

TEST(WeeklyPage, AnUnusedChannelIsSetUpFirst) {
  Fixture f;
  FakeEditorHost host(*f.model);
  QString keepHeader;
  WhenModal([&](QWidget* sheet) {
    WhenModal([&](QWidget* setup) {
      EXPECT_EQ(setup->windowTitle(), "チャンネル設定");
      CVSFlexGrid* grid = GridOf(setup);
      EXPECT_EQ(grid->TextMatrix(1, 0), "CH3");
      Click(setup, kIdOk);  // no type yet: refused
      Keyboard().Into(grid, 1, 1, "キ\n");
      WhenModal([&](QWidget* modal) {
        StepDialog* dialog = ReadyStepDialog(modal);
        if (!dialog) return;
        keepHeader = dialog->Grid()->TextMatrix(0, 10);
        Click(dialog, kIdCancel);
      });
      Click(setup, kIdOk);
    });
    PickProgram(sheet, 2, 3);
    EXPECT_EQ(GridOf(sheet)->TextMatrix(1, 3), "キープ");
    Click(sheet, kIdOk);
  });
  EXPECT_EQ(f.Open(EditorKind::Weekly, host), EditorOutcome::Changed);
  EXPECT_EQ(f.model->channels[2].kind, kChannelKeep);
  EXPECT_EQ(keepHeader, "ON / OFF");
  ASSERT_EQ(f.sink.shown.size(), 1u);
  EXPECT_EQ(f.sink.shown[0].text, "＜タイプ＞の指定が有りません。");
  EXPECT_EQ(f.sink.shown[0].caption, "チャネル設定");
}

// The list shows each program with its name, and follows a rename in the name list.
TEST(WeeklyPage, ProgramsShowTheirNamesAndFollowARename) {
  Fixture f;
  std::memcpy(f.names->names[1].data(), "\x92\xa9", 2);  // 朝
  FakeEditorHost host(*f.model, *f.names);
  QStringList labels;
  WhenModal([&](QWidget* sheet) {
    CVSFlexGrid* grid = GridOf(sheet);
    labels << grid->TextMatrix(2, 0) << grid->TextMatrix(3, 0) << grid->TextMatrix(100, 0);
    WhenModal([&](QWidget* list) {
      QApplication::setActiveWindow(list);
      ASSERT_TRUE(QTest::qWaitForWindowActive(list));
      ASSERT_EQ(GridOf(list)->Row(), 2);  // program 2's name, the first without one
      testing::CommitText(QApplication::focusWidget(), "昼の部");
      Click(list, kIdOk);
    });
    QTest::keyClick(grid, Qt::Key_E, Qt::AltModifier);
    labels << grid->TextMatrix(3, 0);
    Click(sheet, kIdOk);
  });
  f.Open(EditorKind::Weekly, host);
  EXPECT_EQ(labels, (QStringList{"1 朝", "2", "99", "2 昼の部"}));
}

// Names belong to the document: a rename alone must mark it modified.
TEST(NameList, ARenameAloneMarksTheDocumentModified) {
  Fixture f;
  FakeEditorHost host(*f.model, *f.names);
  WhenModal([&](QWidget* sheet) {
    WhenModal([&](QWidget* list) {
      EXPECT_EQ(list->windowTitle(), "プログラム名一覧");
      CVSFlexGrid* grid = GridOf(list);
      EXPECT_EQ(grid->Row(), 1);
      EXPECT_EQ(grid->Col(), 1);
      testing::CommitText(grid, "朝の部");
      ASSERT_TRUE(grid->IsEditing());
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
      ASSERT_FALSE(grid->IsEditing());
      Click(list, kIdOk);
    });
    Click(sheet, ids::kNameList);
    Click(sheet, kIdOk);
  });
  EXPECT_EQ(f.Open(EditorKind::Weekly, host), EditorOutcome::Changed);
  EXPECT_EQ(FromShiftJis(FieldText(f.names->names[1].data(), 16)), "朝の部");
  EXPECT_EQ(host.modifiedMarks, 1);
}

TEST(NameList, AnOverlongNameAsksAndCancelKeepsTheListOpen) {
  Fixture f;
  FakeEditorHost host(*f.model, *f.names);
  f.sink.answers = {MsgAnswer::Cancel, MsgAnswer::Ok};
  WhenModal([&](QWidget* sheet) {
    WhenModal([&](QWidget* list) {
      CVSFlexGrid* grid = GridOf(list);
      Keyboard().Into(grid, 3, 1, "ABCDEFGHIJKLMNOPQ\n");
      Click(list, kIdOk);
      EXPECT_TRUE(list->isVisible());
      EXPECT_EQ(grid->Row(), 3);
      Click(list, kIdOk);
    });
    Click(sheet, ids::kNameList);
    Click(sheet, kIdOk);
  });
  f.Open(EditorKind::Weekly, host);
  ASSERT_EQ(f.sink.shown.size(), 2u);
  EXPECT_EQ(f.sink.shown[0].text,
            "プログラム番号 3 の＜プログラム名＞は半角で１６文字まで有効とします。");
  EXPECT_EQ(std::string(f.names->names[3].data(), 16), "ABCDEFGHIJKLMNOP");
}

TEST(Overview, ShowsEveryStepWithOneRowPerSlot) {
  Fixture f;
  f.model->steps[0] = MakeStep(3, 1, "1000001", 7, 5, 2);
  f.model->steps[1] = MakeStep(3, 2, "0100000", 17, 30, kKeepOff);
  FakeEditorHost host(*f.model);
  f.windows[static_cast<int>(WindowSlot::Plst)] = {210, 160};
  WhenModal([&](QWidget* sheet) {
    WhenModal([&](QWidget* overview) {
      EXPECT_EQ(overview->pos(), QPoint(210, 160));  // PLST
      overview->move(230, 170);
      CVSFlexGrid* grid = GridOf(overview);
      EXPECT_EQ(grid->Rows(), 1 + kStepCount);
      EXPECT_EQ(grid->TextMatrix(1, 2), " 7 時");
      EXPECT_EQ(grid->TextMatrix(2, 12), "OFF");
      EXPECT_EQ(grid->TextMatrix(1000, 0), "1000");
      grid->SetCurrentCell(1, 4);
      EXPECT_EQ(grid->CellForeColor(), QColor(0, 0, 0xFF));
      grid->SetCurrentCell(2, 4);
      EXPECT_EQ(grid->CellForeColor(), QColor(0xFF, 0, 0));
      QTest::keyClick(Focused(overview), Qt::Key_C, Qt::AltModifier);  // "閉じる(&C)"
      QPointer<QWidget> window = overview;
      EXPECT_TRUE(QTest::qWaitFor([window] { return !window || !window->isVisible(); }, 2000));
    });
    QTest::keyClick(GridOf(sheet), Qt::Key_W, Qt::AltModifier);
    Click(sheet, kIdCancel);
  });
  f.Open(EditorKind::Weekly, host);
  EXPECT_EQ(f.windows[static_cast<int>(WindowSlot::Plst)], (WindowPos{230, 170}));
}

TEST(KeepForm, PairsArePicturesThatFillTheirCells) {
  Fixture f;
  f.model->steps[0] = MakeStep(1, 2, "0100000", 8, 15, kKeepOn);
  f.model->steps[1] = MakeStep(1, 2, "0100000", 17, 0, kKeepOff);
  ConfirmationForm form(*f.model, *f.names, f.ini, 1, 2, kChannelKeep);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  CVSFlexGrid* grid = form.Grid();
  ASSERT_TRUE(QTest::qWaitFor([grid] { return grid->LeftCol() != 1; }, 1000));
  EXPECT_EQ(form.windowTitle(), "週間プログラム確認 - キープ");
  EXPECT_EQ(grid->LeftCol(), 8);
  for (int hour : {8, 9, 15, 16}) {
    grid->SetCurrentCell(2, hour + 1);
    EXPECT_TRUE(grid->HasCellPicture()) << hour;
  }
  grid->SetCurrentCell(2, 18);
  EXPECT_FALSE(grid->HasCellPicture());
  // The bar runs on through the line between two hours.
  grid->SetCurrentCell(1, 1);
  QImage image = grid->viewport()->grab().toImage();
  QRect cell = grid->CellRect(2, 11);
  EXPECT_EQ(image.pixelColor(cell.right(), cell.center().y()), QColor(0, 0, 0xFF));
}

}  // namespace
}  // namespace tavrin
