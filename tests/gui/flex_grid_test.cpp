#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <utility>
#include <vector>

#include "GridDriving.h"
#include "GuiTestSupport.h"
#include "WidgetDriving.h"
#include "platform/CVSFlexGrid.h"

namespace tavrin {
namespace {

using Events = std::vector<std::string>;

// The open cell editor; closed ones linger hidden until the event loop deletes them.
template <typename Editor>
Editor* OpenEditorOf(const CVSFlexGrid& grid) {
  for (Editor* editor : grid.viewport()->findChildren<Editor*>())
    if (editor->isVisible()) return editor;
  return nullptr;
}

// A 1 + 3 by 1 + 4 grid in a shown window, like the editors build theirs.
class FlexGridTest : public ::testing::Test {
 protected:
  void SetUp() override {
    grid.SetRows(4);
    grid.SetCols(5);
    for (int r = 0; r < grid.Rows(); ++r) grid.SetRowHeight(r, 300);
    grid.SetColWidth(0, 1300);
    for (int c = 1; c < grid.Cols(); ++c) grid.SetColWidth(c, 1100);
    grid.resize(grid.sizeHint());
    grid.show();
    QApplication::setActiveWindow(&grid);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
  }

  QPoint Centre(int row, int col) const { return grid.CellRect(row, col).center(); }
  void ClickCell(int row, int col) { testing::ClickCell(&grid, row, col); }

  CVSFlexGrid grid;
};

TEST(FlexGridUnits, TwipsBecomePixelsAtTheLogicalResolution) {
  EXPECT_EQ(CVSFlexGrid::TwipsToPixels(15, 96), 1);
  EXPECT_EQ(CVSFlexGrid::TwipsToPixels(300, 96), 20);
  EXPECT_EQ(CVSFlexGrid::TwipsToPixels(1300, 96), 87);  // 86.67 rounds up
  EXPECT_EQ(CVSFlexGrid::TwipsToPixels(1100, 96), 73);
  EXPECT_EQ(CVSFlexGrid::TwipsToPixels(300, 120), 25);
  EXPECT_EQ(CVSFlexGrid::TwipsToPixels(0, 96), 0);
}

TEST_F(FlexGridTest, SizesFollowTheScreenResolutionAndShapeKeepsContents) {
  int dpi = grid.logicalDpiY();
  EXPECT_EQ(grid.RowHeightPixels(1), CVSFlexGrid::TwipsToPixels(300, dpi));
  EXPECT_EQ(grid.ColWidthPixels(0), CVSFlexGrid::TwipsToPixels(1300, grid.logicalDpiX()));
  EXPECT_EQ(grid.CellRect(1, 2).size(), QSize(grid.ColWidthPixels(2), grid.RowHeightPixels(1)));
  // Sized to its cells, the grid needs no scroll bars.
  EXPECT_FALSE(grid.horizontalScrollBar()->isVisible());
  EXPECT_FALSE(grid.verticalScrollBar()->isVisible());

  grid.SetTextMatrix(2, 3, "第 2");
  grid.SetTextMatrix(3, 4, "23 時");
  EXPECT_EQ(grid.TextMatrix(2, 3), "第 2");
  EXPECT_EQ(grid.TextMatrix(9, 9), "");  // outside: empty, no crash
  grid.SetRows(3);
  grid.SetRows(4);
  EXPECT_EQ(grid.TextMatrix(2, 3), "第 2");  // kept
  EXPECT_EQ(grid.TextMatrix(3, 4), "");      // cut off and regrown empty
  EXPECT_EQ(grid.FixedRows(), 1);
  EXPECT_EQ(grid.FixedCols(), 1);
}

TEST_F(FlexGridTest, EqualHeaderTextsMergeOnlyInFlaggedFixedRows) {
  grid.SetTextMatrix(0, 2, "曜日");
  grid.SetTextMatrix(0, 3, "曜日");
  grid.SetTextMatrix(1, 1, "x");
  grid.SetTextMatrix(1, 2, "x");
  EXPECT_EQ(grid.MergedRange(0, 2), std::make_pair(2, 2));  // not flagged yet

  grid.SetMergeCells(CVSFlexGrid::kMergeFixedOnly);
  grid.SetMergeRow(0, true);
  grid.SetMergeRow(1, true);
  EXPECT_EQ(grid.MergedRange(0, 2), std::make_pair(2, 3));
  EXPECT_EQ(grid.MergedRange(0, 3), std::make_pair(2, 3));
  EXPECT_EQ(grid.CellRect(0, 3), grid.CellRect(0, 2));
  EXPECT_EQ(grid.CellRect(0, 2).width(), 2 * grid.ColWidthPixels(2));
  EXPECT_EQ(grid.MergedRange(0, 1), std::make_pair(1, 1));  // empty cells stay apart
  EXPECT_EQ(grid.MergedRange(1, 1), std::make_pair(1, 1));  // data cells never join in mode 5

  // The merged header is drawn once: no grid line between the two columns.
  QImage image = grid.viewport()->grab().toImage();
  QRect merged = grid.CellRect(0, 2);
  int boundary = merged.left() + grid.ColWidthPixels(2) - 1;
  EXPECT_NE(image.pixelColor(boundary, merged.top() + 2), QColor(0x80, 0x80, 0x80));
  QRect data = grid.CellRect(1, 2);
  EXPECT_EQ(image.pixelColor(data.right(), data.top() + 3), QColor(0xC0, 0xC0, 0xC0));
}

TEST_F(FlexGridTest, CellColoursAreWindowsRgbValuesAndArePainted) {
  grid.SetRow(2);
  grid.SetCol(3);
  grid.SetCellBackColor(0x0099CCFF);  // red FF, green CC, blue 99
  grid.SetCellForeColor(0x00FF0000);  // blue
  EXPECT_EQ(grid.CellBackColor(), QColor(0xFF, 0xCC, 0x99));
  EXPECT_EQ(grid.CellForeColor(), QColor(0x00, 0x00, 0xFF));
  grid.SetRow(0);
  grid.SetCol(1);
  grid.SetCellBackColor(0x0000FFFF);
  grid.SetRow(1);  // away, so the coloured cell is not drawn as the current one
  grid.SetCol(1);
  QImage image = grid.viewport()->grab().toImage();
  QRect cell = grid.CellRect(2, 3);
  EXPECT_EQ(image.pixelColor(cell.left() + 3, cell.top() + 3), QColor(0xFF, 0xCC, 0x99));
  QRect header = grid.CellRect(0, 1);
  EXPECT_EQ(image.pixelColor(header.left() + 3, header.top() + 3), QColor(0xFF, 0xFF, 0x00));
  // An uncoloured fixed cell is grey, a data cell white.
  QRect corner = grid.CellRect(0, 0);
  EXPECT_EQ(image.pixelColor(corner.left() + 4, corner.top() + 4), QColor(0xD4, 0xD0, 0xC8));
  QRect plain = grid.CellRect(3, 4);
  EXPECT_EQ(image.pixelColor(plain.left() + 4, plain.top() + 4), QColor(Qt::white));
}

TEST_F(FlexGridTest, AlignmentDefaultsAndSetting) {
  grid.SetRow(1);
  grid.SetCol(1);
  EXPECT_EQ(grid.CellAlignment(), CVSFlexGrid::kAlignGeneral);
  grid.SetCellAlignment(CVSFlexGrid::kAlignCenterCenter);
  EXPECT_EQ(grid.CellAlignment(), CVSFlexGrid::kAlignCenterCenter);
  grid.SetCellAlignment(42);  // not an alignment: ignored
  EXPECT_EQ(grid.CellAlignment(), CVSFlexGrid::kAlignCenterCenter);
  grid.SetCellFontBold(true);
  EXPECT_TRUE(grid.CellFontBold());
  QPixmap picture(8, 8);
  picture.fill(Qt::red);
  grid.SetCellPicture(picture);
  EXPECT_TRUE(grid.HasCellPicture());
  grid.SetCol(2);
  EXPECT_FALSE(grid.CellFontBold());
  EXPECT_FALSE(grid.HasCellPicture());
}

TEST_F(FlexGridTest, CursorMovesReportOldAndNewCellAndCollapseTheSelection) {
  QSignalSpy spy(&grid, &CVSFlexGrid::AfterRowColChange);
  grid.SetRow(1);
  grid.SetCol(1);
  spy.clear();
  grid.SetRow(3);
  ASSERT_EQ(spy.size(), 1);
  EXPECT_EQ(spy[0], (QList<QVariant>{1, 1, 3, 1}));
  grid.SetRow(3);  // no move, no event
  EXPECT_EQ(spy.size(), 1);
  // A jump to another row and column is one move, not two through (2, 1).
  spy.clear();
  grid.SetCurrentCell(2, 4);
  ASSERT_EQ(spy.size(), 1);
  EXPECT_EQ(spy[0], (QList<QVariant>{3, 1, 2, 4}));
  grid.SetCurrentCell(9, 1);  // outside the grid: no move
  EXPECT_EQ(grid.Row(), 2);
  grid.SetCurrentCell(3, 1);

  QTest::keyClick(&grid, Qt::Key_Right, Qt::ShiftModifier);
  QTest::keyClick(&grid, Qt::Key_Up, Qt::ShiftModifier);
  int r1, c1, r2, c2;
  grid.GetSelection(r1, c1, r2, c2);
  EXPECT_EQ((std::array{r1, c1, r2, c2}), (std::array{2, 1, 3, 2}));
  EXPECT_EQ(grid.RowSel(), 2);
  EXPECT_EQ(grid.ColSel(), 2);
  EXPECT_EQ(grid.Row(), 3);  // the anchor stays

  // Arrow keys stay inside the data cells.
  grid.SetRow(1);
  grid.GetSelection(r1, c1, r2, c2);
  EXPECT_EQ((std::array{r1, c1, r2, c2}), (std::array{1, 1, 1, 1}));
  QTest::keyClick(&grid, Qt::Key_Up);
  QTest::keyClick(&grid, Qt::Key_Left);
  EXPECT_EQ(grid.Row(), 1);
  EXPECT_EQ(grid.Col(), 1);
  QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(grid.Row(), 3);
  EXPECT_EQ(grid.Col(), 4);
}

TEST_F(FlexGridTest, MouseEventsReportTheCellUnderTheMouseBeforeTheClick) {
  Events events;
  QObject::connect(&grid, &CVSFlexGrid::MouseUp, [&](int button, int shift, int, int) {
    events.push_back("up " + std::to_string(button) + " " + std::to_string(shift) + " " +
                     std::to_string(grid.MouseRow()) + "," + std::to_string(grid.MouseCol()));
  });
  QObject::connect(&grid, &CVSFlexGrid::Click, [&] { events.push_back("click"); });
  ClickCell(2, 3);
  EXPECT_EQ(events, (Events{"up 1 0 2,3", "click"}));
  EXPECT_EQ(grid.Row(), 2);
  EXPECT_EQ(grid.Col(), 3);

  events.clear();
  QTest::mouseClick(grid.viewport(), Qt::RightButton, Qt::ShiftModifier, Centre(1, 4));
  EXPECT_EQ(events, (Events{"up 2 1 1,4", "click"}));

  // A column header picks the whole column, a row label the whole row.
  ClickCell(0, 2);
  int r1, c1, r2, c2;
  grid.GetSelection(r1, c1, r2, c2);
  EXPECT_EQ((std::array{r1, c1, r2, c2}), (std::array{1, 2, 3, 2}));
  ClickCell(3, 0);
  grid.GetSelection(r1, c1, r2, c2);
  EXPECT_EQ((std::array{r1, c1, r2, c2}), (std::array{3, 1, 3, 4}));

  // A point past the last column is no cell.
  grid.SetColWidth(4, 100);
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier,
                    QPoint(grid.viewport()->width() - 2, Centre(1, 1).y()));
  EXPECT_EQ(grid.MouseRow(), -1);
  EXPECT_EQ(grid.MouseCol(), -1);
}

// Records the key releases that reach the window around the grid.
class KeyWindow : public QWidget {
 public:
  std::vector<int> released;

 protected:
  void keyReleaseEvent(QKeyEvent* event) override { released.push_back(event->key()); }
};

TEST(FlexGridKeys, KeyUpHandlersSeeTheKeyByReferenceToChangeOrSwallowIt) {
  KeyWindow window;
  auto* grid = new CVSFlexGrid(&window);
  window.show();
  grid->setFocus();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QObject::connect(grid, &CVSFlexGrid::KeyUp, [](int* key, int) {
    if (*key == Qt::Key_Space) *key = 0;
    if (*key == Qt::Key_A) *key = Qt::Key_B;
  });
  std::vector<std::pair<int, int>> seen;
  QObject::connect(grid, &CVSFlexGrid::KeyUp,
                   [&seen](int* key, int shift) { seen.emplace_back(*key, shift); });
  QTest::keyClick(grid, Qt::Key_Space);
  QTest::keyClick(grid, Qt::Key_A, Qt::ShiftModifier | Qt::ControlModifier);
  QTest::keyClick(grid, Qt::Key_C);
  // Shift keys report their own releases too; the mask is shift 1, control 2, alt 4.
  EXPECT_EQ(seen.front(), std::make_pair(0, 0));
  EXPECT_NE(std::find(seen.begin(), seen.end(), std::make_pair(0x42, 3)), seen.end());
  EXPECT_EQ(seen.back(), std::make_pair(0x43, 0));
  EXPECT_EQ(std::count(window.released.begin(), window.released.end(), Qt::Key_Space), 0);
  EXPECT_EQ(std::count(window.released.begin(), window.released.end(), Qt::Key_A), 0);
  EXPECT_EQ(std::count(window.released.begin(), window.released.end(), Qt::Key_B), 1);
  EXPECT_EQ(std::count(window.released.begin(), window.released.end(), Qt::Key_C), 1);
}

TEST_F(FlexGridTest, ChoosingFromAColumnListValidatesThenStores) {
  grid.SetColList(2, grid::CellList{{"第 1", "第 2", "第 3", "第 4", "最終"}, true});
  grid.SetEditable(CVSFlexGrid::kEditKeyboardMouse);
  Events events;
  grid.SetEditCheck([&](int row, int col, const QString& text) {
    events.push_back("validate " + std::to_string(row) + "," + std::to_string(col) + " " +
                     text.toStdString() + " " + grid.EditText().toStdString() + " / " +
                     grid.TextMatrix(row, col).toStdString());
    return true;
  });
  QObject::connect(&grid, &CVSFlexGrid::AfterEdit, [&](int row, int col) {
    events.push_back("after " + std::to_string(row) + "," + std::to_string(col) + " " +
                     grid.TextMatrix(row, col).toStdString());
  });

  ClickCell(2, 2);
  EXPECT_FALSE(grid.IsEditing());  // the first click only moves the cursor
  ClickCell(2, 2);
  ASSERT_TRUE(grid.IsEditing());
  QListWidget* list = testing::OpenListOf(&grid);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->count(), 5);
  EXPECT_EQ(list->currentRow(), -1);  // an empty cell highlights nothing
  QWidget* editor = QApplication::focusWidget();
  ASSERT_EQ(editor, testing::OpenEditorWidget(&grid)) << "the cell's editor has the keyboard";
  EXPECT_FALSE(list->isActiveWindow()) << "the list never takes the window's place";
  QTest::keyClick(editor, Qt::Key_End);  // the last item
  EXPECT_EQ(list->currentRow(), 4);
  EXPECT_EQ(grid.Editing().highlighted(), 4);
  QTest::keyClick(editor, Qt::Key_Return);
  EXPECT_FALSE(grid.IsEditing());
  EXPECT_FALSE(list->isVisible());
  EXPECT_EQ(events, (Events{"validate 2,2 最終 最終 / ", "after 2,2 最終"}));

  // Reopening with Enter shows the stored item; Escape leaves the cell alone.
  events.clear();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  ASSERT_TRUE(grid.IsEditing());
  EXPECT_EQ(grid.EditText(), "最終");
  EXPECT_EQ(list->currentRow(), 4);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  EXPECT_FALSE(grid.IsEditing());
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(grid.TextMatrix(2, 2), "最終");
}

// Keys typed into list cells, sent to whichever widget has the keyboard as a user's keys are (the
// rule itself is proven on the editing machine): the first key opens the cell (or Enter opens the
// list first), "<" is BackSpace, and the last key ends the edit. A refused key beeps and leaves
// the typing on show; the grid keeps the keyboard afterwards.
TEST_F(FlexGridTest, TypedKeysPickTheListItemTheyStartAndEnterStoresIt) {
  grid::CellList hours{{}, true}, programs{{}, true};
  for (int h = 0; h < 24; ++h) hours.items.push_back(std::to_string(h) + " 時");
  for (int p = 1; p <= 99; ++p) programs.items.push_back(std::to_string(p));
  grid.SetColList(1, hours);
  grid.SetColList(2, grid::CellList{{"第 1", "第 2", "第 3", "第 4", "最終"}, true});
  grid.SetColList(3, programs);
  grid.SetColList(4, grid::CellList{{"ON", "OFF"}, false});
  grid.SetEditable(CVSFlexGrid::kEditKeyboardMouse);
  enum Open { ByTyping, ListFirst };
  struct Case {
    int col;
    QString before;
    Open open;
    std::string keys;
    Qt::Key end;
    QString shown;  // what the cell's editor shows before the last key
    QString stored;
  };
  const Case cases[] = {
      {1, "", ByTyping, "8", Qt::Key_Return, "8", "8 時"},
      {1, "", ByTyping, "12", Qt::Key_Return, "12", "12 時"},
      {1, "", ByTyping, "08", Qt::Key_Return, "08", "8 時"},
      {1, "5 時", ByTyping, "24", Qt::Key_Return, "24", "5 時"},  // no hour 24: kept
      {1, "", ByTyping, "29<3", Qt::Key_Return, "23", "23 時"},
      {1, "", ByTyping, "4x", Qt::Key_Return, "4x", ""},
      {1, "3 時", ByTyping, "8", Qt::Key_Escape, "8", "3 時"},
      {1, "1 時", ListFirst, "", Qt::Key_Return, "1 時", "1 時"},
      {1, "", ListFirst, "23", Qt::Key_Tab, "23", "23 時"},
      {2, "", ByTyping, "2", Qt::Key_Return, "2", "第 2"},
      {2, "第 1", ListFirst, "7", Qt::Key_Return, "7", "第 1"},
      {3, "", ByTyping, "45", Qt::Key_Return, "45", "45"},
      {3, "9", ByTyping, "100", Qt::Key_Return, "100", "9"},
      {3, "9", ListFirst, "45", Qt::Key_Return, "45", "45"},
      {4, "", ByTyping, "of", Qt::Key_Return, "of", "OFF"},
  };
  for (const Case& c : cases) {
    const std::string name = std::to_string(c.col) + " " + c.before.toStdString() + " " + c.keys;
    grid.SetTextMatrix(1, c.col, c.before);
    grid.SetCurrentCell(1, c.col);
    if (c.open == ListFirst) QTest::keyClick(&grid, Qt::Key_Return);
    for (char key : c.keys) {
      if (key == '<')
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
      else
        QTest::keyClick(QApplication::focusWidget(), key);
    }
    EXPECT_TRUE(grid.IsEditing()) << name;
    EXPECT_EQ(grid.EditText(), c.shown) << name;
    EXPECT_EQ(qobject_cast<QLineEdit*>(testing::OpenEditorWidget(&grid))->text(), c.shown) << name;
    QTest::keyClick(QApplication::focusWidget(), c.end);
    EXPECT_FALSE(grid.IsEditing()) << name;
    EXPECT_EQ(grid.TextMatrix(1, c.col), c.stored) << name;
    EXPECT_EQ(grid.focusWidget(), &grid) << name << ": the grid keeps the keyboard";
  }

  // Japanese, as an input method commits it, picks its item in the open list the same way.
  grid.SetTextMatrix(1, 2, "第 1");
  grid.SetCurrentCell(1, 2);
  QTest::keyClick(&grid, Qt::Key_Return);
  testing::CommitText(QApplication::focusWidget(), "最");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(grid.TextMatrix(1, 2), "最終");
}

TEST_F(FlexGridTest, TypingOpensATextEditorOnlyWhenEditable) {
  grid.SetRow(1);
  grid.SetCol(1);
  testing::CommitText(&grid, "夏時間");
  EXPECT_FALSE(grid.IsEditing());  // read-only grid
  QTest::keyClick(&grid, Qt::Key_5);
  EXPECT_FALSE(grid.IsEditing());

  grid.SetEditable(CVSFlexGrid::kEditKeyboardMouse);
  QSignalSpy after(&grid, &CVSFlexGrid::AfterEdit);
  testing::CommitText(&grid, "夏時間");
  ASSERT_TRUE(grid.IsEditing());
  auto* line = OpenEditorOf<QLineEdit>(grid);
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(grid.EditText(), "夏時間");
  EXPECT_EQ(grid.TextMatrix(1, 1), "");  // not stored before the edit ends
  testing::CommitText(line, "です");
  QTest::keyClick(line, Qt::Key_Return);
  EXPECT_EQ(grid.TextMatrix(1, 1), "夏時間です");
  EXPECT_EQ(after.size(), 1);

  // Moving the cursor ends an open edit and stores it.
  QTest::keyClick(&grid, Qt::Key_7);
  QTest::keyClick(OpenEditorOf<QLineEdit>(grid), Qt::Key_8);
  ClickCell(2, 1);
  EXPECT_EQ(grid.TextMatrix(1, 1), "78");
  EXPECT_FALSE(grid.IsEditing());

  // A refused edit keeps the editor open and the cell unchanged.
  grid.SetEditCheck([](int, int, const QString&) { return false; });
  QTest::keyClick(&grid, Qt::Key_9);
  QTest::keyClick(OpenEditorOf<QLineEdit>(grid), Qt::Key_Return);
  EXPECT_TRUE(grid.IsEditing());
  EXPECT_EQ(grid.TextMatrix(2, 1), "");
  QTest::keyClick(OpenEditorOf<QLineEdit>(grid), Qt::Key_Escape);
}

TEST_F(FlexGridTest, FixedRowsAndColumnsStayWhileTheDataScrolls) {
  grid.SetRows(101);
  grid.SetCols(21);
  for (int r = 0; r < grid.Rows(); ++r) grid.SetRowHeight(r, 300);
  grid.SetTextMatrix(0, 0, "corner");
  grid.SetTextMatrix(80, 0, "80");
  grid.resize(300, 200);
  QApplication::processEvents();
  EXPECT_TRUE(grid.CellRect(80, 1).isEmpty());

  grid.SetRow(80);
  grid.SetCol(15);
  QApplication::processEvents();  // the cursor is brought into view once the editor is done
  EXPECT_TRUE(grid.verticalScrollBar()->isVisible());
  QRect current = grid.CellRect(80, 15);
  ASSERT_FALSE(current.isEmpty());
  EXPECT_LE(current.bottom(), grid.viewport()->height());
  EXPECT_EQ(grid.CellRect(0, 0).topLeft(), QPoint(0, 0));
  EXPECT_EQ(grid.CellRect(0, 15).top(), 0);
  EXPECT_EQ(grid.CellRect(80, 0).left(), 0);
  EXPECT_GT(grid.TopRow(), 1);

  grid.SetLeftCol(10);
  grid.SetTopRow(1);
  EXPECT_EQ(grid.LeftCol(), 10);
  EXPECT_EQ(grid.TopRow(), 1);
  EXPECT_EQ(grid.CellRect(1, 10).topLeft(),
            QPoint(grid.ColWidthPixels(0), grid.RowHeightPixels(0)));
  EXPECT_TRUE(grid.CellRect(1, 9).isEmpty());

  // Clicking a scrolled cell hits the cell drawn there.
  grid.SetTopRow(50);
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, Centre(51, 11));
  EXPECT_EQ(grid.Row(), 51);
  EXPECT_EQ(grid.Col(), 11);
}

TEST_F(FlexGridTest, ARefusedMoveKeepsTheCursorAndIsAskedOnce) {
  grid.SetCurrentCell(1, 1);
  Events events;
  bool refuse = true;
  grid.SetLeaveCheck([&](int oldRow, int oldCol, int newRow, int newCol) {
    events.push_back("before " + std::to_string(oldRow) + "," + std::to_string(oldCol) + ">" +
                     std::to_string(newRow) + "," + std::to_string(newCol));
    return !refuse;
  });
  QObject::connect(&grid, &CVSFlexGrid::AfterRowColChange,
                   [&](int, int, int, int) { events.push_back("after"); });
  grid.SetCurrentCell(3, 2);
  QTest::keyClick(&grid, Qt::Key_Down);
  ClickCell(2, 4);
  EXPECT_EQ(events, (Events{"before 1,1>3,2", "before 1,1>2,1", "before 1,1>2,4"}));
  EXPECT_EQ(grid.Row(), 1);
  EXPECT_EQ(grid.Col(), 1);

  events.clear();
  refuse = false;
  grid.SetCurrentCell(3, 2);
  EXPECT_EQ(events, (Events{"before 1,1>3,2", "after"}));
  events.clear();
  grid.SetCurrentCell(3, 2);  // no move: nothing to ask
  EXPECT_TRUE(events.empty());
}

TEST_F(FlexGridTest, ABadEditLeftByAMoveIsCheckedOnceAndTheMoveRefused) {
  grid.SetEditable(CVSFlexGrid::kEditKeyboardMouse);
  grid.SetCurrentCell(1, 1);
  int checks = 0, leaves = 0;
  grid.SetEditCheck([&](int, int, const QString& text) {
    ++checks;
    return text != "0";
  });
  grid.SetLeaveCheck([&](int, int, int, int) {
    ++leaves;
    return true;
  });
  QTest::keyClick(&grid, Qt::Key_0);
  auto* line = OpenEditorOf<QLineEdit>(grid);
  ASSERT_NE(line, nullptr);
  QTest::keyClick(line, Qt::Key_Down);  // stores and leaves in one key
  QApplication::processEvents();
  EXPECT_EQ(checks, 1);
  EXPECT_EQ(leaves, 0);
  EXPECT_TRUE(grid.IsEditing());
  EXPECT_EQ(grid.Row(), 1);

  // A click elsewhere takes the focus from the editor before it tries to store: one check only.
  ClickCell(3, 3);
  QApplication::processEvents();
  QApplication::processEvents();
  EXPECT_EQ(checks, 2);
  EXPECT_EQ(grid.Row(), 1);
  EXPECT_EQ(grid.TextMatrix(1, 1), "");
  QTest::keyClick(OpenEditorOf<QLineEdit>(grid), Qt::Key_Escape);
}

// A click on a button of the window while a cell is open, as the window system delivers it: the
// first click acts, with the cell committed before it; Cancel finds it open and unchecked, to ask
// about it.
TEST(FlexGridDialog, AClickOnAButtonCommitsTheOpenCellFirstThenActs) {
  struct Case {
    const char* name;
    int col;
    Qt::Key key;
    bool cancel;
    QString stored;
    int checks;
  };
  const Case cases[] = {
      {"line editor, OK", 1, Qt::Key_5, false, "5", 1},
      {"line editor, Cancel", 1, Qt::Key_5, true, "open", 0},
      {"open list, OK", 2, Qt::Key_2, false, "第 2", 1},
      {"open list, Cancel", 2, Qt::Key_2, true, "open", 0},
  };
  for (const Case& c : cases) {
    QWidget window;
    auto* grid = new CVSFlexGrid(&window);
    auto* ok = new QPushButton("OK", &window);
    auto* cancel = new QPushButton("キャンセル", &window);
    grid->setGeometry(0, 0, 300, 100);
    ok->setGeometry(0, 110, 80, 25);
    cancel->setGeometry(100, 110, 80, 25);
    grid->SetCols(3);
    grid->SetColList(2, grid::CellList{{"第 1", "第 2", "最終"}, true});
    grid->SetEditable(CVSFlexGrid::kEditKeyboardMouse);
    grid->DropEditOnFocusTo(cancel);
    int checks = 0;
    grid->SetEditCheck([&](int, int, const QString&) {
      ++checks;
      return true;
    });
    std::vector<QString> seenByButton;
    for (QPushButton* button : {ok, cancel})
      QObject::connect(button, &QPushButton::clicked, [&] {
        seenByButton.push_back(grid->IsEditing() ? "open" : grid->TextMatrix(1, c.col));
      });
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    grid->setFocus();
    grid->SetCurrentCell(1, c.col);
    QTest::keyClick(grid, c.key);
    ASSERT_TRUE(grid->IsEditing()) << c.name;
    testing::ClickAsTheUser(c.cancel ? cancel : ok);
    EXPECT_EQ(seenByButton, std::vector<QString>{c.stored}) << c.name;
    EXPECT_EQ(grid->IsEditing(), c.cancel) << c.name;
    EXPECT_EQ(checks, c.checks) << c.name;
  }
}

TEST_F(FlexGridTest, WithoutAFixedColumnTheFirstColumnIsData) {
  // The calendar's Sunday column is the grid's first.
  grid.SetFixedCols(0);
  grid.SetEditable(CVSFlexGrid::kEditKeyboardMouse);
  ClickCell(2, 0);
  EXPECT_EQ(grid.Row(), 2);
  EXPECT_EQ(grid.Col(), 0);
  grid.SetCurrentCell(1, 3);
  QTest::keyClick(&grid, Qt::Key_Home);
  EXPECT_EQ(grid.Col(), 0);
  QTest::keyClick(&grid, Qt::Key_Left);
  EXPECT_EQ(grid.Col(), 0);
  QTest::keyClick(&grid, Qt::Key_4);
  ASSERT_TRUE(grid.IsEditing());
  QTest::keyClick(OpenEditorOf<QLineEdit>(grid), Qt::Key_Return);
  EXPECT_EQ(grid.TextMatrix(1, 0), "4");
  // The header row still picks a whole column, now the first one too.
  ClickCell(0, 0);
  int r1, c1, r2, c2;
  grid.GetSelection(r1, c1, r2, c2);
  EXPECT_EQ((std::array{r1, c1, r2, c2}), (std::array{1, 0, 3, 0}));
}

// A refused edit keeps the cell's editor open, with the keyboard and its text selected, however the
// user tried to leave the cell; typing then starts the cell's text anew, and Escape drops the edit
// without closing the window around the grid.
TEST(FlexGridDialog, ARefusedEditKeepsTheKeyboardAndEscapeStopsAtTheCell) {
  enum class Leave { ClickElsewhere, KeyDown, Enter };
  for (Leave leave : {Leave::ClickElsewhere, Leave::KeyDown, Leave::Enter}) {
    const int name = static_cast<int>(leave);
    QDialog dialog;
    auto* grid = new CVSFlexGrid(&dialog);
    grid->setGeometry(0, 0, 400, 120);
    grid->SetEditable(CVSFlexGrid::kEditKeyboardMouse);
    int refusals = 0;
    grid->SetEditCheck([&](int, int, const QString& text) {
      refusals += text == "0" ? 1 : 0;
      return text != "0";
    });
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    grid->setFocus();
    grid->SetCurrentCell(1, 1);
    grid->SetTextMatrix(1, 1, "7");

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_0);
    switch (leave) {
      case Leave::ClickElsewhere:
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                          grid->CellRect(2, 3).center());
        break;
      case Leave::KeyDown:
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        break;
      case Leave::Enter:
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        break;
    }
    QApplication::processEvents();
    EXPECT_EQ(refusals, 1) << name;
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr) << name << ": the editor has the keyboard";
    EXPECT_EQ(editor->selectedText(), "0") << name;
    QTest::keyClick(editor, Qt::Key_5);
    EXPECT_EQ(grid->EditText(), "5") << name;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(grid->IsEditing()) << name;
    EXPECT_TRUE(dialog.isVisible()) << name << ": Escape ended the edit, not the window";
    EXPECT_EQ(grid->TextMatrix(1, 1), "7") << name;
    EXPECT_EQ(QApplication::focusWidget(), grid) << name;
  }
}

// Whole rows are picked on their labels and whole columns on their headers: a press picks one, and
// a drag along them or a Shift+click on another makes a range of them.
TEST_F(FlexGridTest, LabelsAndHeadersPickRangesByDragOrShiftClick) {
  grid.SetRows(8);
  for (int r = 0; r < grid.Rows(); ++r) grid.SetRowHeight(r, 300);
  grid.resize(grid.sizeHint());
  struct Case {
    const char* name;
    std::pair<int, int> from;  // the cell pressed on
    std::pair<int, int> to;    // the cell the mouse goes to
    bool shiftClick;           // else a drag from `from` to `to`
    std::array<int, 4> selection;
  };
  const Case cases[] = {
      {"drag down the labels", {2, 0}, {5, 0}, false, {2, 1, 5, 4}},
      {"drag up the labels", {6, 0}, {3, 0}, false, {3, 1, 6, 4}},
      {"drag from a label over the data", {1, 0}, {4, 2}, false, {1, 1, 4, 4}},
      {"shift+click on a label", {2, 0}, {7, 0}, true, {2, 1, 7, 4}},
      {"drag along the headers", {0, 1}, {0, 3}, false, {1, 1, 7, 3}},
      {"shift+click on a header", {0, 4}, {0, 2}, true, {1, 2, 7, 4}},
      {"a label alone", {3, 0}, {3, 0}, false, {3, 1, 3, 4}},
  };
  for (const Case& c : cases) {
    const QPoint from = Centre(c.from.first, c.from.second);
    const QPoint to = Centre(c.to.first, c.to.second);
    if (c.shiftClick) {
      QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, from);
      QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ShiftModifier, to);
    } else {
      QTest::mousePress(grid.viewport(), Qt::LeftButton, Qt::NoModifier, from);
      // QTest's move carries no button; a real drag's does.
      QMouseEvent move(QEvent::MouseMove, to, grid.viewport()->mapToGlobal(to), Qt::NoButton,
                       Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(grid.viewport(), &move);
      QTest::mouseRelease(grid.viewport(), Qt::LeftButton, Qt::NoModifier, to);
    }
    int r1, c1, r2, c2;
    grid.GetSelection(r1, c1, r2, c2);
    EXPECT_EQ((std::array{r1, c1, r2, c2}), c.selection) << c.name;
  }
}

// A picture filling its cell reaches both side edges, so a bar continues into the next cell; inset
// and natural pictures leave the edges alone.
TEST_F(FlexGridTest, PicturesFillTheirCellOrKeepTheirSize) {
  QPixmap bar(40, 16);
  bar.fill(Qt::blue);
  struct Case {
    CVSFlexGrid::PictureFit fit;
    bool reachesEdges;
    QSize natural;  // size drawn, when not filling
  };
  const Case cases[] = {{CVSFlexGrid::PictureFit::Fill, true, {}},
                        {CVSFlexGrid::PictureFit::Natural, false, {40, 16}},
                        {CVSFlexGrid::PictureFit::Inset, false, {}}};
  for (const Case& c : cases) {
    for (int col : {2, 3}) {
      grid.SetCurrentCell(2, col);
      grid.SetCellPicture(bar);
      grid.SetCellPictureFit(c.fit);
    }
    grid.SetCurrentCell(3, 1);
    QImage image = grid.viewport()->grab().toImage();
    QRect left = grid.CellRect(2, 2);
    const int y = left.center().y();
    EXPECT_EQ(image.pixelColor(left.right(), y) == QColor(Qt::blue), c.reachesEdges);
    EXPECT_EQ(image.pixelColor(left.left(), y) == QColor(Qt::blue), c.reachesEdges);
    if (c.natural.isValid()) {
      int width = 0;
      for (int x = left.left(); x <= left.right(); ++x)
        width += image.pixelColor(x, y) == QColor(Qt::blue) ? 1 : 0;
      EXPECT_EQ(width, c.natural.width());
    }
  }
}

TEST_F(FlexGridTest, ColumnDefaultsAndColoursWithoutMovingTheCursor) {
  QSignalSpy moves(&grid, &CVSFlexGrid::AfterRowColChange);
  grid.SetColAlignment(2, CVSFlexGrid::kAlignLeftCenter);
  grid.SetColForeColor(2, 0x00FF0000);
  grid.SetCellForeColorAt(3, 2, 0x000000FF);
  grid.SetCellBackColorAt(0, 2, 0x0000FFFF);
  grid.SetTextMatrix(1, 2, "1111");
  grid.SetTextMatrix(3, 2, "2222");
  EXPECT_EQ(moves.size(), 0);
  grid.SetCurrentCell(1, 2);
  EXPECT_EQ(grid.CellAlignment(), CVSFlexGrid::kAlignLeftCenter);
  grid.SetCellAlignment(CVSFlexGrid::kAlignRightCenter);  // a cell's own alignment wins
  EXPECT_EQ(grid.CellAlignment(), CVSFlexGrid::kAlignRightCenter);
  grid.SetCurrentCell(2, 2);
  EXPECT_EQ(grid.CellAlignment(), CVSFlexGrid::kAlignLeftCenter);
  grid.SetCurrentCell(2, 1);
  EXPECT_EQ(grid.CellAlignment(), CVSFlexGrid::kAlignGeneral);
  grid.SetCurrentCell(3, 2);
  EXPECT_EQ(grid.CellForeColor(), QColor(Qt::red));

  grid.SetCurrentCell(2, 4);
  QImage image = grid.viewport()->grab().toImage();
  // Text is smoothed: look for a pixel that is mostly the colour.
  auto bluish = [&](QRect rect) {
    for (int x = rect.left(); x <= rect.right(); ++x)
      for (int y = rect.top(); y <= rect.bottom(); ++y) {
        QColor pixel = image.pixelColor(x, y);
        if (pixel.blue() > 160 && pixel.red() < 100 && pixel.green() < 100) return true;
      }
    return false;
  };
  EXPECT_TRUE(bluish(grid.CellRect(1, 2)));   // the column's colour
  EXPECT_FALSE(bluish(grid.CellRect(3, 2)));  // the cell's own red
  EXPECT_EQ(image.pixelColor(grid.CellRect(0, 2).topLeft() + QPoint(3, 3)), QColor(Qt::yellow));
}

}  // namespace
}  // namespace tavrin
