// The annual page and its confirmation calendar, driven through their widgets in the editor sheet.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QToolTip>
#include <cstring>
#include <deque>
#include <memory>

#include "EditorTestData.h"
#include "FakeEditorHost.h"
#include "GridDriving.h"
#include "GuiTestSupport.h"
#include "WidgetDriving.h"
#include "app/ui/OpenEditor.h"
#include "calendar/HolidayFile.h"
#include "framework/ui/CProgSheet.h"
#include "framework/ui/ControlIds.h"
#include "framework/ui/EditorPage.h"
#include "platform/CVSFlexGrid.h"
#include "platform/ControlNames.h"

namespace tavrin {
namespace {

using testing::Choose;
using testing::Click;
using testing::ClickArrow;
using testing::ClickCell;
using testing::FakeEditorHost;
using testing::FakeMessages;
using testing::Type;
using testing::WhenModal;

CVSFlexGrid* Grid(QWidget* window, int id) { return FindControl<CVSFlexGrid>(window, id); }

// A school year: vacation from 21 July to 31 August, the holiday 11 August, an individual day
// 20 August; the clock stands in August 2026, a month that starts on a Saturday.
struct Fixture : testing::EditorTestData {
  Fixture() {
    const std::string text = "[2026]\r\n08=11\r\n";
    ParseHolidayText(text.data(), text.size(), holidays);
    model->basicProgram = 1;
    model->holidayEnabled = 1;
    model->holidayProgram = 2;
    model->periods[3] = {kEveryYear, 7, 21, 8, 31, 4};
    model->periods[10] = {2027, 2, 15, 2, 19, 3};
    model->dates[5] = {2026, 8, 20, 3};
  }
  EditorOutcome Open(std::function<void(QWidget*)> answer) {
    FakeEditorHost document(*model);
    WhenModal(std::move(answer));
    return OpenEditor(sheet, EditorKind::Annual, context, document, state);
  }
  // Opens the sheet and the calendar from it with Alt+K, runs `answer` on the calendar and its
  // grid with the program cell of 3 August (a vacation day) clicked, then `after` on the sheet,
  // and cancels the sheet.
  void Calendar(
      const std::function<void(QWidget*, CVSFlexGrid*)>& answer,
      const std::function<void(QWidget*)>& after = [](QWidget*) {}) {
    Open([&](QWidget* sheet) {
      WhenModal([&](QWidget* dialog) {
        CVSFlexGrid* grid = Grid(dialog, ids::confirmation::kGrid);
        ClickCell(grid, 4, 1);
        answer(dialog, grid);
      });
      QTest::keyClick(Grid(sheet, ids::annual::kBasicGrid), Qt::Key_K, Qt::AltModifier);
      after(sheet);
      Click(sheet, kIdCancel);
    });
  }
  FakeMessages sink;
  HolidayTable holidays;
  std::array<YearCalendar, 2> calendars{};
  int confirmX = 120;
  int confirmY = 90;
  CalendarContext calendar{{2026, 2027}, 8, holidays, calendars, confirmX, confirmY};
  EditorContext context{*model, *names, sink, *clipboards, &calendar, nullptr};
  int x = 200;
  int y = 150;
  SheetState state{x, y, FileState::Untitled, QString()};
  CProgSheet sheet;
};

QStringList RowTexts(CVSFlexGrid* grid, int row) {
  QStringList texts;
  for (int c = 1; c < grid->Cols(); ++c) texts << grid->TextMatrix(row, c);
  return texts;
}

QString Shown(QWidget* window) {
  QStringList shown;
  for (int id : {ids::annual::kBasicGrid, ids::annual::kPeriodGrid, ids::annual::kHolidayGrid,
                 ids::annual::kIndividualGrid, ids::annual::kHolidayEnabled, ids::annual::kCopy,
                 ids::annual::kPaste, ids::annual::kDelete, ids::annual::kConfirmRows,
                 ids::annual::kConfirmSingle})
    if (FindControl<QWidget>(window, id)->isVisible()) shown << QString::number(id);
  return shown.join(' ');
}

TEST(AnnualPage, ShowsOneKindAtATimeFilledFromTheModel) {
  Fixture f;
  QStringList seen;
  f.Open([&](QWidget* sheet) {
    EXPECT_EQ(sheet->windowTitle(), "年間プログラム - 新規作成");
    EXPECT_EQ(sheet->findChild<QTabWidget*>()->tabText(0), "　年間プログラムリスト　");
    EXPECT_TRUE(FindControl<QRadioButton>(sheet, ids::annual::kBasic)->isChecked());
    const QSize size = sheet->size();
    CVSFlexGrid* basic = Grid(sheet, ids::annual::kBasicGrid);
    seen << Shown(sheet)
         << basic->TextMatrix(0, 1) + basic->TextMatrix(1, 0) + basic->TextMatrix(1, 1);

    Click(sheet, ids::annual::kPeriod);
    CVSFlexGrid* periods = Grid(sheet, ids::annual::kPeriodGrid);
    seen << Shown(sheet) << RowTexts(periods, 0).join(',') << RowTexts(periods, 1).join(',')
         << RowTexts(periods, 2).join(',') << RowTexts(periods, 3).join(',')
         << periods->TextMatrix(200, 0) << testing::ColumnItems(periods, 1);
    EXPECT_EQ(periods->Row(), 3) << "the cursor on the first empty cell";
    EXPECT_EQ(periods->Col(), 1);

    Click(sheet, ids::annual::kHoliday);
    CVSFlexGrid* holiday = Grid(sheet, ids::annual::kHolidayGrid);
    seen << Shown(sheet) << holiday->TextMatrix(1, 0) + holiday->TextMatrix(1, 1);
    EXPECT_TRUE(FindControl<QCheckBox>(sheet, ids::annual::kHolidayEnabled)->isChecked());

    Click(sheet, ids::annual::kIndividual);
    seen << Shown(sheet) << RowTexts(Grid(sheet, ids::annual::kIndividualGrid), 0).join(',')
         << RowTexts(Grid(sheet, ids::annual::kIndividualGrid), 1).join(',');
    EXPECT_EQ(sheet->size(), size) << "the sheet keeps its size with every kind";
    Click(sheet, kIdCancel);
  });
  EXPECT_EQ(seen, (QStringList{"1144 1145", "プログラム番号基本設定1", "1055 1056 1057 1058 1064",
                               "開始年,開始月,開始日,終了月,終了日,プログラム番号",
                               "毎年,7 月,21 日,8 月,31 日,4", "2027 年,2 月,15 日,2 月,19 日,3",
                               ",,,,,", "200", "毎年|2026 年|2027 年|", "1069 1088 1145",
                               "祭日実施2", "1060 1056 1057 1058 1064",
                               "実施年,実施月,実施日,プログラム番号", "2026 年,8 月,20 日,3"}));
}

TEST(AnnualPage, SwitchingStoresTheKindLeftOrStaysOnItsFault) {
  Fixture f;
  QStringList rows;
  int faultRow = 0, faultCol = 0;
  bool stayed = false;
  // Delete the row; not split over New Year; then Cancel's question: throw the changes away.
  f.sink.answers = {MsgAnswer::Ok, MsgAnswer::No, MsgAnswer::Yes};
  f.Open([&](QWidget* sheet) {
    Click(sheet, ids::annual::kPeriod);
    CVSFlexGrid* periods = Grid(sheet, ids::annual::kPeriodGrid);
    // Rows 1 and 3 filled, row 2 empty: stored as two slots, shown again one after the other.
    Choose(periods, 2, 6, 4);  // program 5 instead of 3 in row 2
    const auto rowKey = [periods](int row, Qt::Key key) {
      ClickCell(periods, row, 0);
      QTest::keyClick(periods, key, Qt::AltModifier);
    };
    rowKey(2, Qt::Key_C);  // row 2 copied to row 3, then deleted
    rowKey(3, Qt::Key_P);
    rowKey(2, Qt::Key_D);
    Click(sheet, ids::annual::kBasic);
    Click(sheet, ids::annual::kPeriod);
    rows << RowTexts(periods, 2).join(',') << RowTexts(periods, 3).join(',');

    Choose(periods, 1, 4, 6);  // 7 月
    Choose(periods, 1, 5, 0);  // 1 日: now ends before it starts
    Click(sheet, ids::annual::kIndividual);
    stayed =
        FindControl<QRadioButton>(sheet, ids::annual::kPeriod)->isChecked() && periods->isVisible();
    faultRow = periods->Row();
    faultCol = periods->Col();
    Click(sheet, kIdCancel);
  });
  EXPECT_EQ(rows, (QStringList{"2027 年,2 月,15 日,2 月,19 日,5", ",,,,,"}));
  ASSERT_EQ(f.sink.shown.size(), 4u);
  EXPECT_EQ(f.sink.shown[0].text, "選択行を削除します。よろしいですか？");
  EXPECT_EQ(f.sink.shown[1].buttons, MsgButtons::YesNo) << "the offer to split it, declined";
  EXPECT_EQ(f.sink.shown[2].text,
            "1 行目の＜開始と終了＞の指定が不正です。\n"
            "期間は１年の中（1 月 1 日～12 月 31 日）で指定してください。");
  EXPECT_EQ(f.sink.shown[2].caption, "期間設定");
  EXPECT_TRUE(stayed);
  EXPECT_EQ(faultRow, 1);
  EXPECT_EQ(faultCol, 4);
  EXPECT_EQ(f.model->periods[0].year, 0) << "Cancel brings the slots back as they were";
  EXPECT_EQ(f.model->periods[3].program, 4);
}

TEST(AnnualPage, OkShowsTheBasicProgramMessageOnTheBasicGrid) {
  Fixture f;
  f.model->basicProgram = 0;
  bool onBasic = false;
  const EditorOutcome outcome = f.Open([&](QWidget* sheet) {
    Click(sheet, ids::annual::kPeriod);  // an empty basic program passes while switching
    Click(sheet, kIdOk);
    onBasic = FindControl<QRadioButton>(sheet, ids::annual::kBasic)->isChecked() &&
              Grid(sheet, ids::annual::kBasicGrid)->isVisible();
    Choose(Grid(sheet, ids::annual::kBasicGrid), 1, 1, 4);
    Click(sheet, kIdOk);
  });
  EXPECT_EQ(outcome, EditorOutcome::Changed);
  ASSERT_EQ(f.sink.shown.size(), 1u);
  EXPECT_EQ(f.sink.shown[0].text, "＜プログラム番号＞の指定が有りません。");
  EXPECT_EQ(f.sink.shown[0].caption, "基本設定");
  EXPECT_TRUE(onBasic);
  EXPECT_EQ(f.model->basicProgram, 5);
  EXPECT_EQ(f.model->periods[0].program, 4) << "the period grid was stored on the way";
}

TEST(AnnualPage, AltKeysCopyPasteAndDeleteWholeRows) {
  Fixture f;
  QStringList pasted;
  bool pasteAtFirst = true;
  f.Open([&](QWidget* sheet) {
    Click(sheet, ids::annual::kPeriod);
    CVSFlexGrid* periods = Grid(sheet, ids::annual::kPeriodGrid);
    pasteAtFirst = FindControl<QPushButton>(sheet, ids::annual::kPaste)->isEnabled();
    const auto pickRow = [&](int row) {
      QTest::mouseClick(periods->viewport(), Qt::LeftButton, Qt::NoModifier,
                        periods->CellRect(row, 0).center());
    };
    pickRow(1);
    QTest::keyClick(periods, Qt::Key_C, Qt::AltModifier);
    EXPECT_TRUE(FindControl<QPushButton>(sheet, ids::annual::kPaste)->isEnabled());
    pickRow(4);
    QTest::keyClick(periods, Qt::Key_P, Qt::AltModifier);
    pasted << RowTexts(periods, 4).join(',');
    f.sink.answers = {MsgAnswer::Cancel, MsgAnswer::Ok};
    QTest::keyClick(periods, Qt::Key_D, Qt::AltModifier);
    pasted << RowTexts(periods, 4).join(',');
    QTest::keyClick(periods, Qt::Key_D, Qt::AltModifier);
    pasted << RowTexts(periods, 4).join(',')
           << QString("%1,%2").arg(periods->Row()).arg(periods->Col());
    Click(sheet, kIdOk);
  });
  EXPECT_FALSE(pasteAtFirst);
  EXPECT_EQ(pasted, (QStringList{"毎年,7 月,21 日,8 月,31 日,4", "毎年,7 月,21 日,8 月,31 日,4",
                                 ",,,,,", "3,1"}));
  ASSERT_EQ(f.sink.shown.size(), 2u);
  EXPECT_EQ(f.sink.shown[0].text, "選択行を削除します。よろしいですか？");
  EXPECT_EQ(f.sink.shown[0].caption, "期間設定");
  EXPECT_EQ(f.sink.shown[0].buttons, MsgButtons::OkCancel);
  EXPECT_EQ(f.clipboards->periodCount, 1) << "the clipboard outlives the sheet";
  EXPECT_EQ(f.clipboards->periods[0].year, kEveryYear);
}

TEST(AnnualConfirm, OpensOnTheClockMonthInTheSourcesColours) {
  Fixture f;
  QStringList seen;
  QPoint at;
  f.Calendar([&](QWidget* dialog, CVSFlexGrid* grid) {
    at = dialog->pos();
    seen << dialog->windowTitle()
         << FindControl<QLineEdit>(dialog, ids::confirmation::kYear)->text() + "/" +
                FindControl<QLineEdit>(dialog, ids::confirmation::kMonth)->text();
    QStringList header, firstWeek;
    for (int c = 0; c < 7; ++c) {
      header << grid->TextMatrix(0, c);
      firstWeek << grid->TextMatrix(1, c);
    }
    seen << header.join(',') << firstWeek.join(',') << grid->TextMatrix(3, 0)
         << grid->TextMatrix(11, 1);
    // Holiday 11 (red), individual 20 (blue), vacation 3 (black), all bold.
    for (auto [row, col] : {std::pair{6, 2}, {8, 4}, {4, 1}}) {
      grid->SetCurrentCell(row, col);
      seen << grid->TextMatrix(row, col) + " " + grid->CellForeColor().name() + " " +
                  (grid->CellFontBold() ? "bold" : "plain");
    }
    grid->SetCurrentCell(5, 2);
    seen << grid->CellBackColor().name();  // a holiday in Sunday's colour
    EXPECT_EQ(grid->FixedCols(), 0);
    Click(dialog, kIdCancel);
  });
  EXPECT_EQ(at, QPoint(120, 90));
  EXPECT_EQ(seen,
            (QStringList{"年間プログラムの確認", "2026/8", "日,月,火,水,木,金,土", ",,,,,,1", "2",
                         "31", "2 #ff0000 bold", "3 #0000ff bold", "4 #000000 bold", "#ffccff"}));
  EXPECT_TRUE(f.sink.shown.empty());
}

TEST(AnnualConfirm, ATypedDayBecomesAnIndividualSettingThatSurvivesTheSheetsOk) {
  // The individual grid, shown before the calendar, once wrote the old dates back on OK.
  Fixture f;
  QStringList seen;
  const EditorOutcome outcome = f.Open([&](QWidget* sheet) {
    Click(sheet, ids::annual::kIndividual);
    Click(sheet, ids::annual::kBasic);
    WhenModal([&](QWidget* dialog) {
      CVSFlexGrid* grid = Grid(dialog, ids::confirmation::kGrid);
      ClickCell(grid, 4, 1);  // 3 August, a vacation day
      Type(grid, "9");
      QTest::keyClick(testing::OpenEditorWidget(grid), Qt::Key_Return);
      seen << grid->TextMatrix(4, 1) + " " + grid->CellForeColor().name();
      ClickCell(grid, 6, 2);  // the holiday: the same value keeps its colour
      Type(grid, "2");
      QTest::keyClick(testing::OpenEditorWidget(grid), Qt::Key_Return);
      seen << grid->TextMatrix(6, 2) + " " + grid->CellForeColor().name();
      Click(dialog, kIdOk);
    });
    Click(sheet, ids::annual::kConfirmSingle);
    seen << RowTexts(Grid(sheet, ids::annual::kIndividualGrid), 2).join(',');
    Click(sheet, kIdOk);
  });
  EXPECT_EQ(seen, (QStringList{"9 #0000ff", "2 #ff0000", "2026 年,8 月,3 日,9"}));
  EXPECT_EQ(outcome, EditorOutcome::Changed);
  EXPECT_EQ(f.model->dates[0], (DateEntry{2026, 8, 20, 3}));
  EXPECT_EQ(f.model->dates[1], (DateEntry{2026, 8, 3, 9}));
  EXPECT_EQ(f.model->dates[2].year, 0) << "re-entering the holiday's own value adds nothing";
  EXPECT_TRUE(f.sink.shown.empty());
}

TEST(AnnualConfirm, CancelTakesBackTheDaysRecordedWhileChangingMonths) {
  Fixture f;
  QStringList fields;
  f.sink.answers = {MsgAnswer::Yes};  // the close box's question: throw the days away
  f.Calendar(
      [&](QWidget* dialog, CVSFlexGrid* grid) {
        Type(grid, "9");
        // Leaving August records 3 August.
        ClickArrow(dialog, ids::confirmation::kMonthUpDown, Qt::UpArrow);
        fields << FindControl<QLineEdit>(dialog, ids::confirmation::kMonth)->text()
               << QString::number(f.model->dates[0].program);
        auto* year = FindControl<QLineEdit>(dialog, ids::confirmation::kYear);
        for (Qt::ArrowType arrow : {Qt::UpArrow, Qt::DownArrow})
          for (int i = 0; i < 3; ++i) {
            ClickArrow(dialog, ids::confirmation::kYearUpDown, arrow);
            fields << year->text();
          }
        testing::CloseBox(dialog);  // the close box cancels as well
      },
      [&](QWidget*) {
        EXPECT_EQ(f.model->dates[0].year, 0) << "Cancel took the recorded day back";
        EXPECT_EQ(f.calendars[0].months[7].cells[2].program, 4);
      });
  EXPECT_EQ(fields, (QStringList{"9", "9", "2027", "2027", "2027", "2026", "2026", "2026"}));
}

// The calendar's OK writes its days into the working model at once; the sheet's Cancel, once
// answered, takes them back with the rest of the sheet's work.
TEST(AnnualConfirm, TheSheetsCancelTakesBackADayTheCalendarRecorded) {
  Fixture f;
  f.sink.answers = {MsgAnswer::Yes};  // the sheet's Cancel: throw the changes away
  DateEntry recorded{};
  f.Calendar(
      [&](QWidget* dialog, CVSFlexGrid* grid) {
        Type(grid, "9");
        QTest::keyClick(testing::OpenEditorWidget(grid), Qt::Key_Return);
        Click(dialog, kIdOk);
      },
      [&](QWidget*) { recorded = f.model->dates[0]; });
  EXPECT_EQ(recorded, (DateEntry{2026, 8, 3, 9})) << "in the first free slot";
  EXPECT_EQ(f.model->dates[0].year, 0);
  ASSERT_EQ(f.sink.shown.size(), 1u);
  EXPECT_EQ(f.sink.shown[0].text, "変更を破棄しますか？");
}

TEST(AnnualConfirm, ABadDayIsRefusedOnceAndCancelLeavesWithoutAWord) {
  Fixture f;
  int row = 0;
  bool editing = false;
  f.Calendar([&](QWidget* dialog, CVSFlexGrid* grid) {
    Type(grid, "0");
    QTest::keyClick(testing::OpenEditorWidget(grid), Qt::Key_Down);
    QApplication::processEvents();
    row = grid->Row();
    editing = grid->IsEditing();
    // A person's click lets the editor see its focus go before the button is released.
    auto* cancel = FindControl<QPushButton>(dialog, kIdCancel);
    QTest::mousePress(cancel, Qt::LeftButton);
    QApplication::processEvents();
    QTest::mouseRelease(cancel, Qt::LeftButton);
  });
  ASSERT_EQ(f.sink.shown.size(), 1u);
  EXPECT_EQ(f.sink.shown[0].text, "2026年8月3日 のプログラム番号の指定が不正です。");
  EXPECT_EQ(f.sink.shown[0].caption, "年間プログラムの確認");
  EXPECT_EQ(row, 4);
  EXPECT_TRUE(editing);
}

TEST(AnnualConfirm, WithEveryIndividualSlotTakenTheDayStaysAndTheDialogWithIt) {
  Fixture f;
  for (int i = 0; i < kDateCount; ++i)
    f.model->dates[i] = {2027, 1, static_cast<uint8_t>(i % 28 + 1), 5};
  QStringList seen;
  f.Calendar([&](QWidget* dialog, CVSFlexGrid* grid) {
    Type(grid, "9");
    Click(dialog, kIdOk);
    seen << (dialog->isVisible() ? "open" : "closed")
         << grid->TextMatrix(4, 1) + " " + grid->CellForeColor().name();
    Click(dialog, kIdCancel);
  });
  EXPECT_EQ(seen, (QStringList{"open", "4 #000000"}));
  ASSERT_EQ(f.sink.shown.size(), 1u);
  EXPECT_EQ(f.sink.shown[0].text,
            "個別設定が200件に達しているため、2026年8月3日 のプログラム番号を登録できません。");
}

// A period over New Year is offered as two rows; declined, or where it cannot be split, the
// refusal says that a period stays within one year.
TEST(AnnualPage, APeriodOverNewYearIsOfferedAsTwoRows) {
  const std::string refusal =
      "3 行目の＜開始と終了＞の指定が不正です。\n"
      "期間は１年の中（1 月 1 日～12 月 31 日）で指定してください。";
  struct Case {
    const char* what;
    int yearItem;  // in the year list: 毎年, 2026 年, 2027 年
    std::deque<MsgAnswer> answers;
    std::vector<std::string> shown;  // the messages, in order
    std::vector<PeriodEntry> added;  // after the two rows already there; none: cancelled
  };
  const Case cases[] = {
      {"every year, split",
       0,
       {MsgAnswer::Yes},
       {"3 行目の期間は年をまたいでいます。\n次の２行に分けて設定しますか？\n\n"
        "毎年 12 月 25 日 ～ 12 月 31 日\n毎年 1 月 1 日 ～ 1 月 7 日"},
       {{kEveryYear, 12, 25, 12, 31, 5}, {kEveryYear, 1, 1, 1, 7, 5}}},
      {"this year and the next, split",
       1,
       {MsgAnswer::Yes},
       {"3 行目の期間は年をまたいでいます。\n次の２行に分けて設定しますか？\n\n"
        "2026 年 12 月 25 日 ～ 12 月 31 日\n2027 年 1 月 1 日 ～ 1 月 7 日"},
       {{2026, 12, 25, 12, 31, 5}, {2027, 1, 1, 1, 7, 5}}},
      {"declined", 0, {MsgAnswer::No, MsgAnswer::Yes}, {"", refusal, "変更を破棄しますか？"}, {}},
      {"the image's second year has no next one",
       2,
       {MsgAnswer::Yes},
       {refusal, "変更を破棄しますか？"},
       {}},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.sink.answers = c.answers;
    const EditorOutcome outcome = f.Open([&](QWidget* sheet) {
      Click(sheet, ids::annual::kPeriod);
      CVSFlexGrid* periods = Grid(sheet, ids::annual::kPeriodGrid);
      // Row 3: 12/25 to 1/7, program 5.
      for (auto [col, item] : {std::pair{1, c.yearItem}, {2, 11}, {3, 24}, {4, 0}, {5, 6}, {6, 4}})
        Choose(periods, 3, col, item);
      Click(sheet, kIdOk);
      if (sheet->isVisible()) Click(sheet, kIdCancel);
    });
    EXPECT_EQ(outcome, c.added.empty() ? EditorOutcome::Cancelled : EditorOutcome::Changed)
        << c.what;
    ASSERT_EQ(f.sink.shown.size(), c.shown.size()) << c.what;
    for (std::size_t i = 0; i < c.shown.size(); ++i) {
      if (!c.shown[i].empty()) {
        EXPECT_EQ(f.sink.shown[i].text, c.shown[i]) << c.what << " " << i;
      }
    }
    if (c.added.empty()) {
      EXPECT_EQ(f.model->periods[3], (PeriodEntry{kEveryYear, 7, 21, 8, 31, 4})) << c.what;
      continue;
    }
    EXPECT_EQ(f.model->periods[0], (PeriodEntry{kEveryYear, 7, 21, 8, 31, 4})) << c.what;
    EXPECT_EQ(f.model->periods[1], (PeriodEntry{2027, 2, 15, 2, 19, 3})) << c.what;
    EXPECT_EQ(f.model->periods[2], c.added[0]) << c.what;
    EXPECT_EQ(f.model->periods[3], c.added[1]) << c.what;
  }
}

// The tip of the cell under the mouse: the mouse moved there, then the tip event Qt sends once it
// has rested.
QString TipAt(CVSFlexGrid* grid, int row, int col) {
  QToolTip::hideText();
  const QPoint at = grid->CellRect(row, col).center();
  QTest::mouseMove(grid->viewport(), at);
  QHelpEvent help(QEvent::ToolTip, at, grid->viewport()->mapToGlobal(at));
  QApplication::sendEvent(grid->viewport(), &help);
  return QToolTip::isVisible() ? QToolTip::text() : QString();
}

// Programs show their names wherever one is chosen or shown: the lists and cells of the page and
// the tips of the calendar, where a day no setting claims shows the basic program in grey, as
// the printed calendar does.
TEST(AnnualPage, ProgramsShowTheirNamesAndTheCalendarShowsBasicDays) {
  Fixture f;
  std::memcpy(f.names->names[1].data(), "\x92\xa9", 2);          // 朝
  std::memcpy(f.names->names[4].data(), "\x89\xc4\x8b\x78", 4);  // 夏休
  QStringList seen;
  const EditorOutcome outcome = f.Open([&](QWidget* sheet) {
    CVSFlexGrid* basic = Grid(sheet, ids::annual::kBasicGrid);
    seen << basic->TextMatrix(1, 1)
         << testing::ColumnItems(basic, 1).split('|').mid(0, 5).join(',');
    Click(sheet, ids::annual::kPeriod);
    seen << Grid(sheet, ids::annual::kPeriodGrid)->TextMatrix(1, 6);
    WhenModal([&](QWidget* dialog) {
      CVSFlexGrid* grid = Grid(dialog, ids::confirmation::kGrid);
      // August: the holiday, the individual day, a vacation day.
      for (auto [row, col] : {std::pair{6, 2}, {8, 4}, {4, 1}}) seen << TipAt(grid, row, col);
      ClickArrow(dialog, ids::confirmation::kMonthUpDown, Qt::DownArrow);
      // July: 1 July before the vacation runs the basic program, 21 July starts it.
      for (auto [row, col] : {std::pair{2, 3}, {8, 2}}) {
        grid->SetCurrentCell(row, col);
        seen << grid->TextMatrix(row, col) + " " + grid->CellForeColor().name() + " " +
                    (grid->CellFontBold() ? "bold" : "plain") + " " + TipAt(grid, row, col);
      }
      Click(dialog, kIdCancel);
    });
    Click(sheet, ids::annual::kConfirmRows);
    Click(sheet, ids::annual::kBasic);
    Choose(basic, 1, 1, 3);  // "4 夏休"
    seen << basic->TextMatrix(1, 1);
    Click(sheet, kIdOk);
  });
  EXPECT_EQ(seen,
            (QStringList{"1 朝", "1 朝,2,3,4 夏休,5", "4 夏休", "2（祭日設定）", "3（個別設定）",
                         "4 夏休（期間設定）", "1 #808080 plain 1 朝（基本設定）",
                         "4 #000000 bold 4 夏休（期間設定）", "4 夏休"}));
  EXPECT_EQ(outcome, EditorOutcome::Changed);
  EXPECT_EQ(f.model->basicProgram, 4) << "the name is for the eye; the number is stored";
  EXPECT_TRUE(f.sink.shown.empty());
}

}  // namespace
}  // namespace tavrin
