// The editor sheet with the summer-time page, driven through its widgets. Run with --show to
// leave the sheet on screen for a few seconds (for screenshots under Xvfb).
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <cstring>
#include <memory>

#include "EditorTestData.h"
#include "FakeEditorHost.h"
#include "GridDriving.h"
#include "GuiTestSupport.h"
#include "WidgetDriving.h"
#include "app/ui/OpenEditor.h"
#include "calendar/ui/CProg4.h"
#include "framework/ui/CProgSheet.h"
#include "framework/ui/ControlIds.h"
#include "platform/CVSFlexGrid.h"
#include "platform/ControlNames.h"

namespace tavrin {
namespace {

using testing::Choose;
using testing::Click;
using testing::FakeEditorHost;
using testing::FakeMessages;
using testing::Focused;
using testing::WhenModal;

struct Fixture : testing::EditorTestData {
  FakeMessages sink;
  EditorContext context{*model, *names, sink, *clipboards};
  int x = 200;
  int y = 150;
  SheetState state{x, y, FileState::Untitled, QString()};
  CProgSheet sheet;
};

CVSFlexGrid* GridOf(QWidget* sheet) { return FindControl<CVSFlexGrid>(sheet, ids::summer::kGrid); }

TEST(EditorSheet, CaptionShowsTheEditorAndTheDocument) {
  Fixture f;
  FakeEditorHost document(*f.model);
  QString caption, tab;
  WhenModal([&](QWidget* modal) {
    caption = modal->windowTitle();
    tab = modal->findChild<QTabWidget*>()->tabText(0);
    Click(modal, kIdCancel);
  });
  OpenEditor(f.sheet, EditorKind::SummerTime, f.context, document, f.state);
  EXPECT_EQ(caption, "サマータイム - 新規作成");
  EXPECT_EQ(tab, "　サマータイムリスト ");

  f.state.fileState = FileState::File;
  f.state.settingsTitle = "夏時間.BIN";
  WhenModal([&](QWidget* modal) {
    caption = modal->windowTitle();
    Click(modal, kIdCancel);
  });
  OpenEditor(f.sheet, EditorKind::SummerTime, f.context, document, f.state);
  EXPECT_EQ(caption, "サマータイム - 夏時間.BIN");

  f.state.fileState = FileState::None;
  WhenModal([&](QWidget* modal) {
    caption = modal->windowTitle();
    Click(modal, kIdCancel);
  });
  OpenEditor(f.sheet, EditorKind::SummerTime, f.context, document, f.state);
  EXPECT_EQ(caption, "サマータイム");
}

TEST(EditorSheet, OpensWhereItWasLastClosedAndReportsMoves) {
  Fixture f;
  FakeEditorHost document(*f.model);
  QSignalSpy moved(&f.sheet, &CProgSheet::Moved);
  QPoint shownAt;
  QSize size;
  WhenModal([&](QWidget* modal) {
    shownAt = modal->pos();
    size = modal->size();
    modal->move(260, 170);
    Click(modal, kIdCancel);
  });
  OpenEditor(f.sheet, EditorKind::SummerTime, f.context, document, f.state);
  EXPECT_EQ(shownAt, QPoint(200, 150));
  EXPECT_EQ(f.x, 260);
  EXPECT_EQ(f.y, 170);
  EXPECT_GE(moved.size(), 1);

  WhenModal([&](QWidget* modal) {
    shownAt = modal->pos();
    EXPECT_EQ(modal->size(), size);  // moved, never resized
    Click(modal, kIdCancel);
  });
  OpenEditor(f.sheet, EditorKind::SummerTime, f.context, document, f.state);
  EXPECT_EQ(shownAt, QPoint(260, 170));

  // A corner on no screen at all (a monitor since removed) brings the sheet back into view.
  f.x = -5000;
  f.y = -5000;
  WhenModal([&](QWidget* modal) {
    shownAt = modal->pos();
    Click(modal, kIdCancel);
  });
  OpenEditor(f.sheet, EditorKind::SummerTime, f.context, document, f.state);
  EXPECT_EQ(shownAt, QPoint(150, 100));
}

TEST(EditorSheet, OkWithoutChangesLeavesTheDocumentUnmodified) {
  Fixture f;
  f.model->summerTimeEnabled = 1;
  f.model->summerTime = {3, 2, 1, 2, 11, 1, 1, 2};
  FakeEditorHost document(*f.model);
  WhenModal([&](QWidget* modal) { Click(modal, kIdOk); });
  EXPECT_EQ(OpenEditor(f.sheet, EditorKind::SummerTime, f.context, document, f.state),
            EditorOutcome::Unchanged);
  EXPECT_EQ(document.modifiedMarks, 0);
  EXPECT_TRUE(f.sink.shown.empty());
}

TEST(EditorSheet, CancelLeavesModelAndNamesByteIdentical) {
  Fixture f;
  f.model->summerTime = {4, 1, 1, 1, 9, 5, 1, 1};
  f.names->names[1][0] = 'X';
  auto before = std::make_unique<ScheduleModel>();
  std::memcpy(before.get(), f.model.get(), sizeof *before);
  FakeEditorHost document(*f.model);
  f.sink.answers = {MsgAnswer::Yes};  // throw the changes away
  WhenModal([&](QWidget* modal) {
    CVSFlexGrid* grid = GridOf(modal);
    Choose(grid, 1, 1, 6);  // 7 月
    Click(modal, ids::summer::kEnabled);
    // The page stores what it has on OK; a refused OK must not leak into the model either.
    Choose(grid, 2, 1, 5);  // 6 月: the end before the start
    Click(modal, kIdOk);
    Click(modal, kIdCancel);
  });
  EXPECT_EQ(OpenEditor(f.sheet, EditorKind::SummerTime, f.context, document, f.state),
            EditorOutcome::Cancelled);
  EXPECT_EQ(std::memcmp(f.model.get(), before.get(), sizeof *before), 0);
  EXPECT_EQ(f.names->names[1][0], 'X');
  EXPECT_EQ(document.modifiedMarks, 0);
  ASSERT_EQ(f.sink.shown.size(), 2u);
  EXPECT_EQ(f.sink.shown[1].text, "変更を破棄しますか？");
}

TEST(SummerPage, FillsFromTheModelWithTheMergedHeaderAndTheCursorOnTheFirstGap) {
  Fixture f;
  f.model->summerTimeEnabled = 1;
  f.model->summerTime = {3, 2, 1, 0, 0, 0, 7, 0};
  FakeEditorHost document(*f.model);
  WhenModal([&](QWidget* modal) {
    CVSFlexGrid* grid = GridOf(modal);
    EXPECT_TRUE(FindControl<QCheckBox>(modal, ids::summer::kEnabled)->isChecked());
    EXPECT_EQ(FindControl<QCheckBox>(modal, ids::summer::kEnabled)->text(),
              "サマータイムを実施する");
    EXPECT_EQ(FindControl<QPushButton>(modal, ids::summer::kDelete)->text(), "削除(&D)");
    EXPECT_EQ(grid->Rows(), 3);
    EXPECT_EQ(grid->Cols(), 5);
    QStringList header, start, end;
    for (int c = 0; c < 5; ++c) {
      header << grid->TextMatrix(0, c);
      start << grid->TextMatrix(1, c);
      end << grid->TextMatrix(2, c);
    }
    EXPECT_EQ(header, (QStringList{"サマータイム", "月", "曜日", "曜日", "実施時刻"}));
    EXPECT_EQ(start, (QStringList{"開始", "3 月", "第 2", "日曜日", "0 時"}));
    EXPECT_EQ(end, (QStringList{"終了", "", "", "土曜日", ""}));
    EXPECT_EQ(grid->CellRect(0, 2), grid->CellRect(0, 3));
    EXPECT_FALSE(grid->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(grid->verticalScrollBar()->isVisible());
    EXPECT_FALSE(grid->CellRect(2, 4).isEmpty());
    EXPECT_EQ(grid->ColList(4)->items.size(), 24u);
    EXPECT_EQ(grid->RowHeightPixels(1), CVSFlexGrid::TwipsToPixels(300, grid->logicalDpiY()));
    EXPECT_EQ(grid->ColWidthPixels(1), CVSFlexGrid::TwipsToPixels(1100, grid->logicalDpiX()));
    grid->SetRow(1);
    grid->SetCol(3);
    EXPECT_EQ(grid->CellAlignment(), CVSFlexGrid::kAlignCenterCenter);
    grid->SetRow(2);
    grid->SetCol(1);
    Click(modal, kIdCancel);
  });
  OpenEditor(f.sheet, EditorKind::SummerTime, f.context, document, f.state);

  // The first empty data cell is where the cursor starts.
  auto page = std::make_unique<CProg4>(*f.model, f.sink);
  page->Initialise();
  EXPECT_EQ(page->Grid()->Row(), 2);
  EXPECT_EQ(page->Grid()->Col(), 1);
}

TEST(SummerPage, ValidationKeepsTheSheetOpenOnTheFaultyCellThenStores) {
  Fixture f;
  FakeEditorHost document(*f.model);
  std::vector<std::pair<int, int>> cursorAtMessage;
  bool stillOpen = false;
  WhenModal([&](QWidget* modal) {
    CVSFlexGrid* grid = GridOf(modal);
    Click(modal, ids::summer::kEnabled);
    Choose(grid, 1, 1, 5);  // 6 月
    Choose(grid, 1, 2, 4);  // 最終
    Choose(grid, 1, 3, 0);  // 日曜日
    Choose(grid, 1, 4, 2);  // 2 時
    Choose(grid, 2, 1, 5);  // 6 月
    Choose(grid, 2, 2, 3);  // 第 4
    Choose(grid, 2, 4, 3);  // 3 時
    Click(modal, kIdOk);    // the end weekday is missing
    cursorAtMessage.push_back({grid->Row(), grid->Col()});
    Choose(grid, 2, 3, 6);  // 土曜日
    Click(modal, kIdOk);    // 最終 before 第 4 in the same month
    cursorAtMessage.push_back({grid->Row(), grid->Col()});
    stillOpen = modal->isVisible();
    Choose(grid, 2, 1, 6);  // 7 月
    Click(modal, kIdOk);
  });
  EXPECT_EQ(OpenEditor(f.sheet, EditorKind::SummerTime, f.context, document, f.state),
            EditorOutcome::Changed);
  ASSERT_EQ(f.sink.shown.size(), 2u);
  EXPECT_EQ(f.sink.shown[0].text, "終了の＜曜日＞の指定が有りません。");
  EXPECT_EQ(f.sink.shown[0].caption, "サマータイム");
  EXPECT_EQ(f.sink.shown[0].icon, MsgIcon::Exclamation);
  EXPECT_EQ(f.sink.shown[1].text, "＜開始と終了＞の指定が不正です。");
  EXPECT_EQ(cursorAtMessage, (std::vector<std::pair<int, int>>{{2, 3}, {2, 2}}));
  EXPECT_TRUE(stillOpen);

  EXPECT_EQ(f.model->summerTimeEnabled, 1);
  const SummerTimeRule& r = f.model->summerTime;
  EXPECT_EQ((std::array{r.startMonth, r.startWeek, r.startWeekday, r.startHour}),
            (std::array<uint8_t, 4>{6, 5, 1, 2}));
  EXPECT_EQ((std::array{r.endMonth, r.endWeek, r.endWeekday, r.endHour}),
            (std::array<uint8_t, 4>{7, 4, 7, 3}));
  EXPECT_EQ(document.modifiedMarks, 1);
}

TEST(SummerPage, AltDDeletesTheSelectedRowsWithoutAskingEvenFromTheCheckBox) {
  Fixture f;
  f.model->summerTimeEnabled = 1;
  f.model->summerTime = {3, 2, 1, 2, 11, 1, 1, 2};
  FakeEditorHost document(*f.model);
  QStringList endRow;
  int row = 0, col = 0;
  f.sink.answers = {MsgAnswer::Yes};  // the discard question of Cancel
  WhenModal([&](QWidget* modal) {
    CVSFlexGrid* grid = GridOf(modal);
    // The row label picks the whole end row; Alt+D goes to the page, not the grid.
    testing::ClickCell(grid, 2, 0);
    QTest::keyClick(grid, Qt::Key_D, Qt::AltModifier);
    for (int c = 1; c < 5; ++c) endRow << grid->TextMatrix(2, c);
    row = grid->Row();
    col = grid->Col();
    // With the focus elsewhere in the sheet the key still reaches the page.
    testing::ClickCell(grid, 1, 0);
    auto* box = FindControl<QCheckBox>(modal, ids::summer::kEnabled);
    for (int tabs = 0; tabs < 10 && Focused(modal) != box; ++tabs)
      QTest::keyClick(Focused(modal), Qt::Key_Tab);
    ASSERT_EQ(Focused(modal), box) << "Tab never reached the check box";
    QTest::keyClick(box, Qt::Key_D, Qt::AltModifier);
    EXPECT_TRUE(box->isChecked());  // the key did not toggle anything else
    EXPECT_EQ(grid->TextMatrix(1, 1), "");
    EXPECT_EQ(grid->TextMatrix(1, 4), "");
    Click(modal, kIdCancel);
  });
  OpenEditor(f.sheet, EditorKind::SummerTime, f.context, document, f.state);
  EXPECT_EQ(endRow, (QStringList{"", "", "", ""}));
  EXPECT_EQ(row, 2);
  EXPECT_EQ(col, 1);
  ASSERT_EQ(f.sink.shown.size(), 1u);  // no confirmation of the deletes on this page
  EXPECT_EQ(f.sink.shown[0].text, "変更を破棄しますか？");
}

TEST(SummerPage, DeleteButtonEmptiesRowsAndClearedEmptyRuleIsStoredAsNone) {
  Fixture f;
  f.model->summerTimeEnabled = 1;
  f.model->summerTime = {3, 2, 1, 2, 11, 1, 1, 2};
  FakeEditorHost document(*f.model);
  WhenModal([&](QWidget* modal) {
    QWidget* grid = Focused(modal);
    ASSERT_EQ(grid, GridOf(modal));
    QTest::keyClick(grid, Qt::Key_Home, Qt::ControlModifier);  // the first cell
    QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
    Click(modal, ids::summer::kDelete);
    Click(modal, ids::summer::kEnabled);  // off
    Click(modal, kIdOk);
  });
  EXPECT_EQ(OpenEditor(f.sheet, EditorKind::SummerTime, f.context, document, f.state),
            EditorOutcome::Changed);
  EXPECT_TRUE(f.sink.shown.empty());
  EXPECT_EQ(f.model->summerTimeEnabled, 0);
  EXPECT_EQ(f.model->summerTime.startMonth, 0);
  EXPECT_EQ(f.model->summerTime.endHour, 0);
}

// Leaves the sheet with a filled summer-time page on screen for four seconds, for screenshots;
// with `openList` the week list of the start row is dropped down.
int ShowForScreenshot(bool openList) {
  Fixture f;
  f.model->summerTimeEnabled = 1;
  f.model->summerTime = {3, 5, 1, 1, 10, 5, 1, 1};
  FakeEditorHost document(*f.model);
  QTimer::singleShot(0, [&] {
    if (CVSFlexGrid* grid = GridOf(&f.sheet); grid && openList) {
      grid->SetRow(1);
      grid->SetCol(2);
      grid->StartEdit();  // the list open, as while choosing
    }
  });
  QTimer::singleShot(4000, [&] { f.sheet.reject(); });
  f.x = 60;
  f.y = 60;
  OpenEditor(f.sheet, EditorKind::SummerTime, f.context, document, f.state);
  return 0;
}

}  // namespace
}  // namespace tavrin

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc > 1 && std::strcmp(argv[1], "--show") == 0) return tavrin::ShowForScreenshot(false);
  if (argc > 1 && std::strcmp(argv[1], "--show-list") == 0) return tavrin::ShowForScreenshot(true);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
