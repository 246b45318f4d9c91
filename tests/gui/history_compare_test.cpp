// The edit menu's undo and redo after an editor's OK, the comparison with a file and the agenda
// saved as an iCalendar file, in the running program. Run with --show-compare, --show-agenda or
// --show-menu to leave that window on screen for a few seconds (for screenshots under Xvfb).
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <cstring>

#include "RunningAppFixture.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/CTavrinApp.h"
#include "app/ui/CTavrinView.h"
#include "app/ui/CommandIds.h"
#include "document/TavrinDoc.h"
#include "framework/ui/ControlIds.h"
#include "model/ImageLayout.h"
#include "platform/CVSFlexGrid.h"
#include "platform/ControlNames.h"
#include "review/ui/AgendaWindow.h"
#include "review/ui/CompareWindow.h"

namespace tavrin {
namespace {

using testing::WhenModal;

const QString kSchoolImage =
    QStringLiteral(TAVRIN_SOURCE_DIR "/tests/golden/image/school/image.BIN");

class HistoryCompareTest : public testing::RunningAppFixture {
 protected:
  void StartWithSavedFile() {
    ASSERT_TRUE(QFile::copy(kSchoolImage, work_.filePath("plan.BIN")));
    Start({work_.filePath("plan.BIN")});
    ASSERT_EQ(caption(), QStringLiteral("Tavrin - plan.BIN"));
  }
  CMainFrame& frame() { return *app_->frame(); }
  CTavrinView& view() { return *app_->view(); }
  QString caption() { return frame().windowTitle(); }
  QAction* action(int id) { return frame().action(id); }
  void Keys(QKeySequence keys) { QTest::keySequence(testing::Focused(&frame()), keys); }

  QTemporaryDir work_;
};

TEST_F(HistoryCompareTest, UndoAndRedoTakeBackAnEditorsOkAndTheCaptionFollows) {
  StartWithSavedFile();
  QStringList menus;
  for (QAction* menu : frame().menuBar()->actions()) menus << menu->text();
  EXPECT_EQ(menus.indexOf(QStringLiteral("編集(&E)")), 1);
  EXPECT_EQ(action(ID_EDIT_UNDO)->text(), QStringLiteral("元に戻す(&U)\tCtrl+Z"));
  EXPECT_FALSE(action(ID_EDIT_UNDO)->isEnabled());
  EXPECT_FALSE(action(ID_EDIT_REDO)->isEnabled());
  const SummerTimeRule none = view().viewModel().model().summerTime;

  SetSummerTimeByHand();
  const ScheduleModel& model = view().viewModel().model();
  ASSERT_EQ(caption(), QStringLiteral("Tavrin - plan.BIN *"));
  ASSERT_EQ(model.summerTimeEnabled, 1);
  const SummerTimeRule rule = model.summerTime;
  EXPECT_EQ(rule.startMonth, 3);
  EXPECT_EQ(action(ID_EDIT_UNDO)->text(), QStringLiteral("元に戻す: サマータイム(&U)\tCtrl+Z"));
  EXPECT_TRUE(action(ID_EDIT_UNDO)->isEnabled());

  Keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
  EXPECT_EQ(caption(), QStringLiteral("Tavrin - plan.BIN"));
  EXPECT_EQ(model.summerTimeEnabled, 0);
  EXPECT_TRUE(model.summerTime == none);
  EXPECT_FALSE(app_->doc()->IsModified());
  EXPECT_FALSE(action(ID_EDIT_UNDO)->isEnabled());
  EXPECT_EQ(action(ID_EDIT_REDO)->text(), QStringLiteral("やり直し: サマータイム(&R)\tCtrl+Y"));

  Keys(QKeySequence(Qt::CTRL | Qt::Key_Y));
  EXPECT_EQ(caption(), QStringLiteral("Tavrin - plan.BIN *"));
  EXPECT_EQ(model.summerTimeEnabled, 1);
  EXPECT_TRUE(model.summerTime == rule);

  // The other accelerators of the two items.
  Keys(QKeySequence(Qt::ALT | Qt::Key_Backspace));
  EXPECT_EQ(caption(), QStringLiteral("Tavrin - plan.BIN"));
  Keys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
  EXPECT_EQ(caption(), QStringLiteral("Tavrin - plan.BIN *"));
  EXPECT_EQ(model.summerTimeEnabled, 1);
}

// Alt+E is the menu's mnemonic, not a key of the special menu's sequence.
TEST_F(HistoryCompareTest, AltEOpensTheEditMenu) {
  StartWithSavedFile();
  QMenu* edit = frame().menuBar()->actions()[1]->menu();
  ASSERT_EQ(edit->title(), QStringLiteral("編集(&E)"));
  Keys(QKeySequence(Qt::ALT | Qt::Key_E));
  EXPECT_TRUE(QTest::qWaitFor([edit] { return edit->isVisible(); }, 2000));
  QTest::keyClick(edit, Qt::Key_Escape);
  EXPECT_FALSE(edit->isVisible());
}

// The editor windows keep Ctrl+Z for themselves, even while there is something to undo.
TEST_F(HistoryCompareTest, TheEditorSheetKeepsItsOwnCtrlZ) {
  StartWithSavedFile();
  SetSummerTimeByHand();
  ASSERT_TRUE(action(ID_EDIT_UNDO)->isEnabled());
  QSignalSpy commands(&frame(), &CMainFrame::commandTriggered);
  WhenModal([](QWidget* sheet) {
    QWidget* grid = testing::Focused(sheet);
    ASSERT_EQ(grid, FindControl<CVSFlexGrid>(sheet, ids::summer::kGrid));
    QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(grid, Qt::Key_Y, Qt::ControlModifier);
    testing::Click(sheet, kIdCancel);
  });
  QTest::mouseClick(view().editorButton(3), Qt::LeftButton);
  EXPECT_EQ(commands.size(), 0);
  EXPECT_EQ(caption(), QStringLiteral("Tavrin - plan.BIN *"));
  EXPECT_EQ(view().viewModel().model().summerTimeEnabled, 1);
}

TEST_F(HistoryCompareTest, CompareListsTheDifferencesWithTheChosenFileOrThatThereAreNone) {
  StartWithSavedFile();
  QFile school(kSchoolImage);
  ASSERT_TRUE(school.open(QIODevice::ReadOnly));
  QByteArray other = school.readAll();
  other[static_cast<int>(layout::kBasicProgram)] = 2;
  QFile otherFile(work_.filePath("other.BIN"));
  ASSERT_TRUE(otherFile.open(QIODevice::WriteOnly));
  otherFile.write(other);
  otherFile.close();

  struct Shown {
    QString title, heading;
    QList<QStringList> rows;
  };
  const auto compareWith = [this](const QString& path) {
    Shown shown;
    dialogs_.answers.push_back(path.toStdString());
    WhenModal([&shown](QWidget* modal) {
      auto* window = qobject_cast<CompareWindow*>(modal);
      ASSERT_NE(window, nullptr);
      shown.title = window->windowTitle();
      shown.heading = window->heading()->text();
      QTableWidget* table = window->differences();
      for (int row = 0; row < table->rowCount(); ++row) {
        QStringList cells;
        for (int col = 0; col < 3; ++col) {
          cells << (table->item(row, col) ? table->item(row, col)->text() : QString());
        }
        shown.rows << cells;
      }
      QTest::keyClick(testing::Focused(window), Qt::Key_Escape);
    });
    Command(ID_FILE_COMPARE);
    return shown;
  };

  EXPECT_EQ(action(ID_FILE_COMPARE)->text(), QStringLiteral("比較(&M)..."));
  const Shown same = compareWith(work_.filePath("plan.BIN"));
  ASSERT_EQ(dialogs_.requests.size(), 1u);
  EXPECT_EQ(dialogs_.requests[0].title, "比較");
  EXPECT_EQ(same.title, QStringLiteral("比較"));
  EXPECT_EQ(same.heading, QStringLiteral("選んだファイル「plan.BIN」→ 開いている文書「plan.BIN」"));
  EXPECT_EQ(same.rows, (QList<QStringList>{{"違いはありません。", "", ""}}));

  const Shown differs = compareWith(work_.filePath("other.BIN"));
  EXPECT_EQ(differs.rows, (QList<QStringList>{{"基本設定", "変更", "基本設定: P2 → P1"}}));
  EXPECT_EQ(caption(), QStringLiteral("Tavrin - plan.BIN"));  // the document is left alone

  // A file that is no settings file is said so, and no window opens.
  QFile text(work_.filePath("notes.BIN"));
  ASSERT_TRUE(text.open(QIODevice::WriteOnly));
  text.write("not a schedule");
  text.close();
  dialogs_.answers.push_back(work_.filePath("notes.BIN").toStdString());
  Command(ID_FILE_COMPARE);
  ASSERT_FALSE(messages_.shown.empty());
  EXPECT_EQ(messages_.shown.back().caption, "比較");
  EXPECT_NE(messages_.shown.back().text.find("notes.BIN"), std::string::npos);
}

TEST_F(HistoryCompareTest, TheAgendaIsSavedFromItsFirstDayAsAnICalendarFile) {
  qputenv("TZ", "Asia/Tokyo");
  StartWithSavedFile();
  const QString path = work_.filePath("bells");
  dialogs_.answers.push_back(path.toStdString());
  QString button;
  WhenModal([&button](QWidget* modal) {
    auto* agenda = qobject_cast<AgendaWindow*>(modal);
    ASSERT_NE(agenda, nullptr);
    button = agenda->saveCalendarButton()->text();
    QTest::mouseClick(agenda->saveCalendarButton(), Qt::LeftButton);
    QTest::keyClick(testing::Focused(agenda), Qt::Key_Escape);
  });
  Command(ID_VIEW_AGENDA);
  EXPECT_EQ(button, QStringLiteral("iCalendarに保存..."));
  ASSERT_EQ(dialogs_.requests.size(), 1u);
  EXPECT_EQ(dialogs_.requests[0].title, "iCalendarに保存");
  EXPECT_EQ(dialogs_.requests[0].defaultFileName, "plan.ics");
  EXPECT_TRUE(dialogs_.requests[0].save);
  QFile saved(path + ".ics");
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(saved.readAll());
  EXPECT_TRUE(text.startsWith(QStringLiteral("BEGIN:VCALENDAR\r\n")));
  EXPECT_TRUE(text.contains(QStringLiteral("TZID:Asia/Tokyo\r\n")));
  // The clock's day, 1 April 2026, is the first day shown and the first day of the file.
  const int first = text.indexOf(QStringLiteral("DTSTART;TZID=Asia/Tokyo:"));
  EXPECT_EQ(text.mid(first + 24, 8), QStringLiteral("20260401"));
  EXPECT_TRUE(text.contains(QStringLiteral("DTSTART;TZID=Asia/Tokyo:20271231")));
  EXPECT_FALSE(text.contains(QStringLiteral("DTSTART;TZID=Asia/Tokyo:20260331")));
  qunsetenv("TZ");
}

// A window left on screen for screenshots, in a running program with the school example open.
int ShowForScreenshot(const char* which) {
  QTemporaryDir work;
  QFile::copy(kSchoolImage, work.filePath("plan.BIN"));
  QFile::copy(QStringLiteral(TAVRIN_SOURCE_DIR "/examples/school.TXT"), work.filePath("plan.TXT"));
  MemoryProfileStore profile;
  testing::FakeMessages messages;
  testing::FakeDialogs dialogs;
  FixedClock clock{LocalTime{2026, 6, 1, 9, 0, 0}};
  CTavrinApp app({&profile, &messages, &dialogs, &clock});
  if (!app.InitInstance({work.filePath("plan.BIN")})) return 1;
  CTavrinView& view = *app.view();
  QTimer::singleShot(4000, [] {
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    QApplication::exit(0);
  });
  if (std::strcmp(which, "--show-compare") == 0) {
    // The open document against the file as it was: a few changes made since.
    QFile::copy(work.filePath("plan.BIN"), work.filePath("previous.BIN"));
    QFile::copy(work.filePath("plan.TXT"), work.filePath("previous.TXT"));
    dialogs.answers.push_back(work.filePath("previous.BIN").toStdString());
    ScheduleModel& model = view.viewModel().model();
    model.basicProgram = 3;
    model.steps[1].minute = 20;
    model.steps[40] = {1, 1, {0, 1, 1, 1, 1, 1, 0}, 12, 40, 2};
    model.channels[2] = {kChannelTimeSignal, 0, 10, 1};
    view.viewModel().names().names[4] = {'S', 'u', 'm', 'm', 'e', 'r'};
    view.OnCommand(ID_FILE_COMPARE);
  } else if (std::strcmp(which, "--show-agenda") == 0) {
    view.OnCommand(ID_VIEW_AGENDA);
  } else {
    QTimer::singleShot(0, [&view, &app] {
      QTimer::singleShot(300, [] {
        if (QWidget* sheet = QApplication::activeModalWidget()) testing::FillSummerTimeSheet(sheet);
      });
      view.OpenEditor(EditorKind::SummerTime);
      QMenu* edit = app.frame()->menuBar()->actions()[1]->menu();
      edit->popup(app.frame()->mapToGlobal(QPoint(60, 20)));
    });
  }
  return QApplication::exec();
}

}  // namespace
}  // namespace tavrin

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  tavrin::CTavrinApp::InstallResources();
  if (argc > 1 && std::strncmp(argv[1], "--show", 6) == 0) {
    return tavrin::ShowForScreenshot(argv[1]);
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
