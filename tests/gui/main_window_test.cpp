// The desktop program's shell: start-up, caption and file-name field through the file commands,
// the close prompt, the stored position, the single instance and the form without radio.
#include <sys/stat.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>
#include <filesystem>
#include <functional>

#include "RunningAppFixture.h"
#include "WithoutPermissionOverride.h"
#include "app/UserGuide.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/CTavrinApp.h"
#include "app/ui/CTavrinView.h"
#include "app/ui/CommandIds.h"
#include "document/TavrinDoc.h"
#include "framework/ui/ControlIds.h"
#include "model/ShiftJis.h"
#include "platform/ControlNames.h"

namespace tavrin {
namespace {

using testing::WhenModal;

class MainWindowTest : public testing::RunningAppFixture {
 protected:
  CMainFrame& frame() { return *app_->frame(); }
  CTavrinView& view() { return *app_->view(); }
  QString caption() { return frame().windowTitle(); }
  QString fileField() { return view().fileNameField()->text(); }
  // The basic program 99 needs no registered steps, so the schedule may be saved.
  void MakeSaveable() { view().viewModel().model().basicProgram = 99; }
  // The school example as "plan.BIN" in the data folder, with the holiday file, so that no
  // report of a missing one comes between the messages.
  void SeedSchool() {
    for (const char* name : {"plan.BIN", "plan.TXT"}) {
      const QString source = QStringLiteral(TAVRIN_SOURCE_DIR "/examples/school.") +
                             QString::fromLatin1(name).right(3);
      ASSERT_TRUE(QFile::copy(source, data_.file(QString::fromLatin1(name))));
    }
    ASSERT_TRUE(QFile::copy(QStringLiteral(TAVRIN_SOURCE_DIR "/src/resources/Tavrin-Holidays.ini"),
                            data_.file(QStringLiteral("Tavrin-Holidays.ini"))));
  }
};

TEST_F(MainWindowTest, StartsAsAFixedWindowWithMenusToolbarAndNewDocument) {
  Start();
  EXPECT_TRUE(frame().isVisible());
  EXPECT_EQ(frame().size(), QSize(800, 500));
  EXPECT_EQ(frame().minimumSize(), frame().maximumSize());
  EXPECT_FALSE(frame().windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(frame().pos(), QPoint(150, 100));
  EXPECT_EQ(frame().findChild<QStatusBar*>(), nullptr);
  EXPECT_EQ(caption(), QStringLiteral("Tavrin - 新規作成"));
  EXPECT_EQ(fileField(), QStringLiteral("新規作成"));
  EXPECT_TRUE(view().fileNameField()->isReadOnly());

  QStringList menus;
  for (QAction* menu : frame().menuBar()->actions()) menus << menu->text();
  EXPECT_EQ(menus,
            (QStringList{"ファイル(&F)", "編集(&E)", "表示(&V)", "接続処理(&C)", "ヘルプ(&H)"}));
  EXPECT_EQ(frame().action(ID_FILE_NEW)->text(), QStringLiteral("新規作成(&N)\tCtrl+N"));
  EXPECT_EQ(frame().action(ID_FILE_SAVE)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
  EXPECT_EQ(frame().action(ID_FILE_PRINT)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
  EXPECT_EQ(frame().action(ID_APP_EXIT)->text(), QStringLiteral("アプリケーションの終了(&X)"));
  EXPECT_EQ(frame().action(ID_CABLE_READ)->text(), QStringLiteral("ケーブル接続で読み込み(&D)..."));

  QStringList tips;
  for (QAction* action : frame().toolBar()->actions()) tips << action->toolTip();
  EXPECT_EQ(tips, (QStringList{"新規ファイル", "開く", "保存"}));
  EXPECT_EQ(frame().toolBar()->widgetForAction(frame().action(ID_FILE_NEW))->size(), QSize(70, 40));
  EXPECT_EQ(frame().logo()->x(), 500);
  EXPECT_FALSE(frame().logo()->pixmap().isNull());

  const QStringList texts{"チャンネル設定", "週間プログラム", "年間プログラム", "サマータイム",
                          "ラジオ選局"};
  for (int i = 0; i < 5; ++i) {
    QToolButton* button = view().editorButton(i);
    EXPECT_EQ(button->text(), texts[i]);
    EXPECT_EQ(button->iconSize(), QSize(100, 85));
    EXPECT_TRUE(button->isVisible()) << i;
  }
}

// The accelerators without a handler belong to the main window only: they do nothing there, and a
// dialog's field keeps its editing keys. Undo, with nothing to undo, does nothing either.
TEST_F(MainWindowTest, EditAndPaneAcceleratorsStayOnTheMainWindow) {
  Start();
  const std::vector<std::pair<int, QList<QKeySequence>>> table = {
      {ID_EDIT_UNDO, {Qt::CTRL | Qt::Key_Z, Qt::ALT | Qt::Key_Backspace}},
      {ID_EDIT_REDO, {Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z}},
      {ID_EDIT_CUT, {Qt::CTRL | Qt::Key_X, Qt::SHIFT | Qt::Key_Delete}},
      {ID_EDIT_COPY, {Qt::CTRL | Qt::Key_C, Qt::CTRL | Qt::Key_Insert}},
      {ID_EDIT_PASTE, {Qt::CTRL | Qt::Key_V, Qt::SHIFT | Qt::Key_Insert}},
      {ID_NEXT_PANE, {Qt::Key_F6}},
      {ID_PREV_PANE, {Qt::SHIFT | Qt::Key_F6}}};
  for (const auto& [id, keys] : table) {
    ASSERT_NE(frame().action(id), nullptr) << id;
    EXPECT_EQ(frame().action(id)->shortcuts(), keys) << id;
    EXPECT_EQ(frame().action(id)->shortcutContext(), Qt::WindowShortcut) << id;
  }
  QSignalSpy commands(&frame(), &CMainFrame::commandTriggered);
  QTest::keyClick(testing::Focused(&frame()), Qt::Key_F6);
  // Greyed: nothing to undo.
  QTest::keyClick(testing::Focused(&frame()), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(commands.size(), 1);
  EXPECT_EQ(caption(), QStringLiteral("Tavrin - 新規作成"));  // nothing happened

  commands.clear();
  QString undone = QStringLiteral("<not run>");
  WhenModal([&](QWidget* modal) {
    auto* field = modal->findChild<QLineEdit*>();
    QTest::mouseClick(field, Qt::LeftButton);
    ASSERT_EQ(testing::Focused(modal), field);
    QTest::keyClicks(field, "abc");
    QTest::keyClick(field, Qt::Key_F6);
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);  // the field's own undo
    undone = field->text();
    testing::CloseBox(modal);
  });
  QDialog dialog(&frame());
  new QLineEdit(&dialog);
  dialog.exec();
  EXPECT_EQ(undone, QString());
  EXPECT_EQ(commands.size(), 0);
}

// A keyboard user sees where the keys go from the start, and F10 opens the menu bar at its first
// menu; F9 and F11 open nothing.
TEST_F(MainWindowTest, FocusMarkFromTheStartAndF10OpensTheMenus) {
  Start();
  EXPECT_TRUE(frame().testAttribute(Qt::WA_KeyboardFocusChange));
  QMenu* first = frame().menuBar()->actions().first()->menu();
  for (Qt::Key key : {Qt::Key_F9, Qt::Key_F11}) {
    QTest::keyClick(testing::Focused(&frame()), key);
    EXPECT_FALSE(first->isVisible()) << key;
  }
  QTest::keyClick(testing::Focused(&frame()), Qt::Key_F10);
  EXPECT_TRUE(QTest::qWaitFor([first] { return first->isVisible(); }, 2000));
  QTest::keyClick(first, Qt::Key_Escape);
}

TEST_F(MainWindowTest, CaptionAndFileFieldFollowTheFileCommands) {
  WriteHolidayFile();
  Start();
  const std::string path = (data_.path() + "/plan.BIN").toStdString();
  MakeSaveable();

  dialogs_.answers.push_back(path);
  Command(ID_FILE_SAVE);  // untitled: the save dialog comes first
  ASSERT_EQ(dialogs_.requests.size(), 1u);
  EXPECT_EQ(dialogs_.requests[0].title, "名前を付けて保存");
  EXPECT_EQ(dialogs_.requests[0].defaultFileName, "");
  EXPECT_EQ(caption(), QStringLiteral("Tavrin - plan.BIN"));
  EXPECT_EQ(fileField(), QStringLiteral("plan.BIN"));

  SetSummerTimeByHand();
  EXPECT_EQ(caption(), QStringLiteral("Tavrin - plan.BIN *"));
  Command(ID_FILE_SAVE);  // named: no dialog
  EXPECT_EQ(dialogs_.requests.size(), 1u);
  EXPECT_EQ(caption(), QStringLiteral("Tavrin - plan.BIN"));

  Command(ID_FILE_NEW);
  EXPECT_EQ(caption(), QStringLiteral("Tavrin - 新規作成"));
  EXPECT_EQ(fileField(), QStringLiteral("新規作成"));
  SetSummerTimeByHand();
  EXPECT_EQ(caption(), QStringLiteral("Tavrin - 新規作成 *"));

  // Open asks about the changes first; No drops them.
  messages_.answers.push_back(MsgAnswer::No);
  dialogs_.answers.push_back(path);
  Command(ID_FILE_OPEN);
  EXPECT_EQ(dialogs_.requests.back().title, "開く");
  EXPECT_EQ(caption(), QStringLiteral("Tavrin - plan.BIN"));
  EXPECT_EQ(fileField(), QStringLiteral("plan.BIN"));

  const std::string other = (data_.path() + "/copy.BIN").toStdString();
  MakeSaveable();
  dialogs_.answers.push_back(other);
  Command(ID_FILE_SAVE_AS);
  EXPECT_EQ(dialogs_.requests.back().defaultFileName, "plan.BIN");
  EXPECT_EQ(caption(), QStringLiteral("Tavrin - copy.BIN"));
}

TEST_F(MainWindowTest, ExportWritesTheReportAndLeavesTheDocumentAlone) {
  Start();
  dialogs_.answers.push_back((data_.path() + "/report").toStdString());
  Command(ID_FILE_EXPORT);
  ASSERT_EQ(dialogs_.requests.size(), 1u);
  EXPECT_EQ(dialogs_.requests[0].defaultExtension, "csv");
  EXPECT_TRUE(QFile::exists(data_.file("report.CSV")));
  EXPECT_EQ(caption(), QStringLiteral("Tavrin - 新規作成"));
  EXPECT_FALSE(app_->doc()->IsModified());
}

TEST_F(MainWindowTest, EveryEditorButtonCanBePressedAndSummerTimeRunsTheSheet) {
  WriteHolidayFile();
  Start();
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(view().editorButton(i)->isEnabled()) << i;
  // A saved schedule: its image is what packing the working model gives.
  MakeSaveable();
  dialogs_.answers.push_back((data_.path() + "/plan.BIN").toStdString());
  Command(ID_FILE_SAVE_AS);
  ASSERT_EQ(caption(), QStringLiteral("Tavrin - plan.BIN"));
  const ScheduleModel before = view().viewModel().model();

  QString title;
  messages_.answers.push_back(MsgAnswer::Yes);  // Cancel asks before it throws the change away
  WhenModal([&](QWidget* modal) {
    title = modal->windowTitle();
    testing::Click(modal, ids::summer::kEnabled);  // a change that Cancel must drop
    testing::Click(modal, kIdCancel);
  });
  QTest::mouseClick(view().editorButton(3), Qt::LeftButton);
  EXPECT_EQ(title, QStringLiteral("サマータイム - plan.BIN"));
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, "変更を破棄しますか？");
  EXPECT_TRUE(view().viewModel().model() == before);
  EXPECT_EQ(caption(), QStringLiteral("Tavrin - plan.BIN"));

  WhenModal([](QWidget* modal) { testing::Click(modal, kIdOk); });
  QTest::mouseClick(view().editorButton(3), Qt::LeftButton);
  EXPECT_FALSE(app_->doc()->IsModified());  // OK without a change
  EXPECT_EQ(caption(), QStringLiteral("Tavrin - plan.BIN"));

  WhenModal(testing::FillSummerTimeSheet);
  QTest::mouseClick(view().editorButton(3), Qt::LeftButton);
  EXPECT_TRUE(app_->doc()->IsModified());
  EXPECT_EQ(caption(), QStringLiteral("Tavrin - plan.BIN *"));
}

// Without a window manager nobody hands the keyboard back when a window closes: the Escape meant
// for the sheet under a closed calendar went nowhere, and the sheet stayed over the main window,
// so the next click there was lost. The offscreen platform, like a bare X server, activates a
// window only when asked; windows shown are activated here as the platform does on showing them.
TEST_F(MainWindowTest, AClosedWindowHandsTheKeyboardBackToTheWindowBelow) {
  Start();
  QApplication::setActiveWindow(&frame());
  QString afterCalendar = "<not run>";
  bool sheetClosedByEscape = false;
  WhenModal([&](QWidget* sheet) {
    QApplication::setActiveWindow(sheet);
    WhenModal([](QWidget* calendar) {
      QApplication::setActiveWindow(calendar);
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_K, Qt::AltModifier);
    QApplication::processEvents();
    afterCalendar = QApplication::activeWindow() ? QApplication::activeWindow()->windowTitle()
                                                 : QStringLiteral("<none>");
    if (QWidget* focus = QApplication::focusWidget()) QTest::keyClick(focus, Qt::Key_Escape);
    sheetClosedByEscape = !sheet->isVisible();
    if (sheet->isVisible()) static_cast<QDialog*>(sheet)->reject();
  });
  QTest::mouseClick(view().editorButton(2), Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_EQ(afterCalendar, QStringLiteral("年間プログラム - 新規作成"));
  EXPECT_TRUE(sheetClosedByEscape);
  EXPECT_EQ(QApplication::activeWindow(), &frame());
}

// Automation and assistive tools send their keys to a window: xdotool presses Escape through the
// X server while the radio sheet has the keyboard, and sends the release to the sheet's window by
// another route once the sheet has lost it. The sheet closed on the press, so the server held
// Escape down and repeated it into the main window, which closed every sheet a click opened. The
// sheet keeps the keyboard until Escape comes up, however the key comes, and the main window's
// buttons then open their sheets.
TEST_F(MainWindowTest, EscapeClosesTheSheetWhenItComesUpHoweverItIsSent) {
  enum class Delivery { KeyboardToFocus, SentToWindow, PostedToWindow };
  const std::pair<Delivery, const char*> deliveries[] = {
      {Delivery::KeyboardToFocus, "keyboard"},
      {Delivery::SentToWindow, "sent to the window"},
      {Delivery::PostedToWindow, "posted to the window"},
  };
  WriteHolidayFile();
  Start();
  for (const auto& [delivery, name] : deliveries) {
    bool keptAfterPress = false;
    bool closedAfterRelease = false;
    WhenModal([&, delivery = delivery](QWidget* sheet) {
      QWidget* focus = testing::Focused(sheet);
      for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        if (delivery == Delivery::KeyboardToFocus) {
          QTest::sendKeyEvent(type == QEvent::KeyPress ? QTest::Press : QTest::Release, focus,
                              Qt::Key_Escape, '\x1b', Qt::NoModifier);
        } else if (delivery == Delivery::SentToWindow) {
          QKeyEvent key(type, Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
          QCoreApplication::sendEvent(sheet->windowHandle(), &key);
        } else {
          QCoreApplication::postEvent(
              sheet->windowHandle(),
              new QKeyEvent(type, Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b")));
        }
        QApplication::processEvents();
        if (type == QEvent::KeyPress) keptAfterPress = sheet->isVisible();
      }
      closedAfterRelease = !sheet->isVisible();
      if (sheet->isVisible()) static_cast<QDialog*>(sheet)->done(QDialog::Rejected);
    });
    testing::ClickAsTheUser(view().editorButton(4));
    EXPECT_TRUE(keptAfterPress) << name << ": the sheet closed while Escape was down";
    EXPECT_TRUE(closedAfterRelease) << name << ": Escape's release left the sheet open";
    QString opened = QStringLiteral("<none>");
    WhenModal(
        [&](QWidget* sheet) {
          opened = sheet->windowTitle();
          testing::Click(sheet, kIdCancel);
        },
        2000, testing::IfNoModal::Ignore);
    testing::ClickAsTheUser(view().editorButton(3));
    EXPECT_EQ(opened, QStringLiteral("サマータイム - 新規作成")) << name;
  }
}

TEST_F(MainWindowTest, RadioPageOkOnASavedTelevisionChannelLeavesTheDocumentUnmodified) {
  // Opening the radio page once wrote the remembered 東京 82.5 over the document's station.
  Start();
  MakeSaveable();
  ScheduleModel& model = view().viewModel().model();
  model.radioFrequency = 901;
  const std::string channel = *ToShiftJis("１ｃｈ");
  std::copy(channel.begin(), channel.end(), model.radioStation.begin());
  dialogs_.answers.push_back((data_.path() + "/tv.BIN").toStdString());
  Command(ID_FILE_SAVE_AS);
  ASSERT_EQ(caption(), QStringLiteral("Tavrin - tv.BIN"));

  QString shown;
  WhenModal([&](QWidget* modal) {
    shown = FindControl<QLineEdit>(modal, ids::radio::kStation)->text() + " " +
            FindControl<QLineEdit>(modal, ids::radio::kFrequency)->text();
    testing::Click(modal, kIdOk);
  });
  QTest::mouseClick(view().editorButton(4), Qt::LeftButton);
  EXPECT_EQ(shown, QStringLiteral("１ｃｈ 901"));
  EXPECT_FALSE(app_->doc()->IsModified());
  EXPECT_EQ(model.radioFrequency, 901);
  EXPECT_EQ(view().viewModel().currentStation().frequency, 901);
}

TEST_F(MainWindowTest, CommandLinePathOpensThatFile) {
  {
    Start();
    MakeSaveable();
    dialogs_.answers.push_back((data_.path() + "/given.BIN").toStdString());
    Command(ID_FILE_SAVE_AS);
    app_.reset();
  }
  Start({data_.path() + "/given.BIN"});
  EXPECT_EQ(caption(), QStringLiteral("Tavrin - given.BIN"));
}

TEST_F(MainWindowTest, CloseAsksAboutChangesAndCancelKeepsTheWindow) {
  WriteHolidayFile();
  Start();
  SetSummerTimeByHand();
  messages_.answers.push_back(MsgAnswer::Cancel);
  testing::CloseBox(&frame());
  EXPECT_TRUE(frame().isVisible());
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, "\"新規ファイル\" は変更されています。　保存しますか？");
  EXPECT_EQ(messages_.shown[0].caption, "Tavrin");
  EXPECT_EQ(messages_.shown[0].buttons, MsgButtons::YesNoCancel);
  EXPECT_EQ(messages_.shown[0].icon, MsgIcon::Exclamation);
  EXPECT_FALSE(profile_.ReadInt("MAIN_X").has_value());  // nothing written yet

  frame().move(321, 234);
  messages_.answers.push_back(MsgAnswer::No);
  testing::CloseBox(&frame());
  EXPECT_FALSE(frame().isVisible());
  EXPECT_EQ(profile_.ReadInt("MAIN_X"), 321);
  EXPECT_EQ(profile_.ReadInt("MAIN_Y"), 234);
  EXPECT_EQ(profile_.ReadInt("BAUDRATE"), 1);  // every value reaches the profile at exit
}

TEST_F(MainWindowTest, UnchangedDocumentClosesWithoutAQuestion) {
  Start();
  testing::CloseBox(&frame());
  EXPECT_FALSE(frame().isVisible());
  EXPECT_TRUE(messages_.shown.empty() ||
              messages_.shown[0].caption == "祭日設定");  // only the holiday notice may appear
}

TEST_F(MainWindowTest, ExitCommandDoesNotTakeThePosition) {
  profile_.WriteInt("MAIN_X", 200);
  profile_.WriteInt("MAIN_Y", 120);
  Start();
  frame().move(400, 300);
  Command(ID_APP_EXIT);
  // The command asked the application to quit. This process goes on with more tests, whose
  // modal windows would take that request as theirs and close at once: the request is answered
  // here by a loop of its own.
  QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
  QCoreApplication::exec();
  EXPECT_EQ(profile_.ReadInt("MAIN_X"), 200);
  EXPECT_EQ(profile_.ReadInt("MAIN_Y"), 120);
}

TEST_F(MainWindowTest, NegativeStoredPositionFallsBackToTheDefault) {
  profile_.WriteInt("MAIN_X", -5);
  profile_.WriteInt("MAIN_Y", 60);
  Start();
  EXPECT_EQ(frame().pos(), QPoint(150, 60));
}

TEST_F(MainWindowTest, SecondCopyRaisesTheRunningWindowAndStartsNothing) {
  Start();
  frame().showMinimized();
  ASSERT_TRUE(frame().isMinimized());
  CTavrinApp second(services());
  EXPECT_FALSE(second.InitInstance({}));
  EXPECT_EQ(second.frame(), nullptr);
  EXPECT_TRUE(QTest::qWaitFor([this] { return !frame().isMinimized(); }, 3000));
  app_.reset();  // the first copy ends: the next start succeeds
  CTavrinApp third(services());
  EXPECT_TRUE(third.InitInstance({}));
}

// A later start with a file hands it to the running window, which opens it after its usual
// question about the open schedule's changes. The later start runs in another working folder, so
// its relative path must arrive made absolute.
TEST_F(MainWindowTest, SecondStartWithAFileOpensItInTheRunningWindow) {
  SeedSchool();
  struct Case {
    const char* name;
    bool modified;
    MsgAnswer answer;
    QString caption;  // the running window's afterwards
  };
  const Case cases[] = {
      {"unchanged: opened without a question", false, MsgAnswer::Cancel, "Tavrin - plan.BIN"},
      {"changed, No: opened after the question", true, MsgAnswer::No, "Tavrin - plan.BIN"},
      {"changed, Cancel: the changes stay", true, MsgAnswer::Cancel, "Tavrin - 新規作成 *"},
  };
  const QString home = QDir::currentPath();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Start();
    messages_.shown.clear();
    messages_.answers = {c.answer};
    if (c.modified) {
      app_->doc()->SetModified(true);
      view().viewModel().UpdateTitle();
    }
    ASSERT_TRUE(QDir::setCurrent(data_.path()));
    {
      CTavrinApp second(services());
      EXPECT_FALSE(second.InitInstance({QStringLiteral("plan.BIN")}));
      EXPECT_EQ(second.frame(), nullptr);
    }
    ASSERT_TRUE(QDir::setCurrent(home));
    if (c.modified) {
      ASSERT_TRUE(QTest::qWaitFor([this] { return !messages_.shown.empty(); }, 3000));
      EXPECT_EQ(messages_.shown[0].text, "\"新規ファイル\" は変更されています。　保存しますか？");
      EXPECT_EQ(messages_.shown[0].buttons, MsgButtons::YesNoCancel);
    } else {
      EXPECT_TRUE(QTest::qWaitFor([this] { return caption() == "Tavrin - plan.BIN"; }, 3000));
      EXPECT_TRUE(messages_.shown.empty());
    }
    QTest::qWait(50);
    EXPECT_EQ(caption(), c.caption);
    app_.reset();
  }
}

TEST_F(MainWindowTest, AFileHandedOverWhileAnEditorIsOpenWaitsUntilItCloses) {
  SeedSchool();
  Start();
  QString whileOpen;
  WhenModal([&](QWidget* sheet) {
    {
      CTavrinApp second(services());
      EXPECT_FALSE(second.InitInstance({data_.file(QStringLiteral("plan.BIN"))}));
    }
    QTest::qWait(600);  // the request has arrived; the sheet still works on the open schedule
    whileOpen = caption();
    static_cast<QDialog*>(sheet)->reject();
  });
  QTest::mouseClick(view().editorButton(3), Qt::LeftButton);
  EXPECT_EQ(whileOpen, QStringLiteral("Tavrin - 新規作成"));
  EXPECT_TRUE(QTest::qWaitFor([this] { return caption() == "Tavrin - plan.BIN"; }, 3000));
}

TEST_F(MainWindowTest, WithoutRadioFourButtonsStandInOneRow) {
  data_.Write("Tavrin.ini", "[SYSTEM]\r\nradioset = off\r\n");
  Start();
  EXPECT_FALSE(view().editorButton(4)->isVisible());
  const QRect first = view().editorButton(0)->geometry();
  for (int i = 0; i < 4; ++i) {
    const QRect rect = view().editorButton(i)->geometry();
    EXPECT_TRUE(view().editorButton(i)->isVisible());
    EXPECT_EQ(rect.topLeft(), QPoint(60 + i * (first.width() + 40), 120)) << i;
    EXPECT_EQ(rect.size(), first.size());
  }
}

TEST_F(MainWindowTest, FirstStartFillsTheDataFolderWithoutReplacingAUsersFile) {
  data_.Write("Tavrin.ini", "[System]\r\nRadioSet=OFF\r\n");
  AppServices withShipped = services();
  withShipped.shippedData = {TAVRIN_SOURCE_DIR "/src/resources"};
  app_ = std::make_unique<CTavrinApp>(withShipped);
  ASSERT_TRUE(app_->InitInstance({}));
  QFile holidays(data_.file(QStringLiteral("Tavrin-Holidays.ini")));
  QFile shipped(QStringLiteral(TAVRIN_SOURCE_DIR "/src/resources/Tavrin-Holidays.ini"));
  ASSERT_TRUE(holidays.open(QIODevice::ReadOnly) && shipped.open(QIODevice::ReadOnly));
  EXPECT_EQ(holidays.readAll(), shipped.readAll());
  EXPECT_FALSE(view().editorButton(4)->isVisible());  // the user's own Tavrin.ini still rules
  QTest::qWait(1300);
  EXPECT_TRUE(messages_.shown.empty());  // the holiday file was there in time
}

// A data file that goes on past what a real one holds is read as far as that, and said so once the
// window is up: the settings before the end still count.
TEST_F(MainWindowTest, OversizedDataFilesAreSaidToBeCut) {
  struct Case {
    const char* what;
    bool bigIni;
    bool bigHolidays;
  };
  const Case cases[] = {{"Tavrin.ini", true, false},
                        {"the holiday file", false, true},
                        {"both", true, true},
                        {"neither", false, false}};
  const std::string padding(300 * 1024, ';');
  for (const Case& c : cases) {
    data_.Write(
        QStringLiteral("Tavrin.ini"),
        QByteArray::fromStdString("[System]\r\nRadioSet=OFF\r\n" + (c.bigIni ? padding : "")));
    data_.Write(QStringLiteral("Tavrin-Holidays.ini"),
                QByteArray::fromStdString("[System]\r\nVersion=V1\r\n[2026]\r\n01=01\r\n" +
                                          (c.bigHolidays ? padding : "")));
    messages_.shown.clear();
    Start();
    EXPECT_FALSE(view().editorButton(4)->isVisible()) << c.what << ": the settings still count";
    QTest::qWait(1300);
    std::vector<std::string> said;
    for (const auto& shown : messages_.shown) said.push_back(shown.text);
    std::vector<std::string> expected;
    for (auto [big, name] :
         {std::pair{c.bigIni, "Tavrin.ini"}, {c.bigHolidays, "Tavrin-Holidays.ini"}})
      if (big)
        expected.push_back(
            data_.file(QString::fromUtf8(name)).toStdString() +
            " は大きすぎるため、先頭の 256 KB だけを読み込みました。\n残りは無視しました。");
    EXPECT_EQ(said, expected) << c.what;
    app_.reset();
  }
}

// Whatever stands in the place of "Tavrin.ini", both programs say the same of it in their own
// language and go on with the defaults; only a missing one is the defaults without a word.
TEST_F(MainWindowTest, BothProgramsSayWhatStandsInThePlaceOfTavrinIni) {
  WriteHolidayFile();
  const std::string ini = data_.file(QStringLiteral("Tavrin.ini")).toStdString();
  const struct {
    const char* what;
    std::function<void()> make;
    bool unreadable;      // only without root's override of file permissions
    std::string cli;      // its line on standard error; empty: none
    std::string desktop;  // its message once the window is up; empty: none
  } rows[] = {
      {"a regular file",
       [&] { data_.Write(QStringLiteral("Tavrin.ini"), "[System]\r\nRadioSet=OFF\r\n"); }, false,
       "", ""},
      {"a FIFO", [&] { ASSERT_EQ(mkfifo(ini.c_str(), 0600), 0); }, false,
       "tavrin-cli: warning: " + ini + " is not a regular file; the default settings are used",
       ini + " は通常のファイルではありません。\n既定の設定を使います。"},
      {"a looping symbolic link", [&] { std::filesystem::create_symlink(ini, ini); }, false,
       "tavrin-cli: warning: " + ini + ": too many symbolic links; the default settings are used",
       ini + " はシンボリックリンクが多すぎるか、循環しています。\n既定の設定を使います。"},
      {"a folder", [&] { std::filesystem::create_directory(ini); }, false,
       "tavrin-cli: warning: " + ini + " is a folder; the default settings are used",
       ini + " はフォルダーです。\n既定の設定を使います。"},
      {"an unreadable file",
       [&] {
         data_.Write(QStringLiteral("Tavrin.ini"), "[System]\r\nRadioSet=OFF\r\n");
         std::filesystem::permissions(ini, std::filesystem::perms::none);
       },
       true, "tavrin-cli: warning: " + ini + ": permission denied; the default settings are used",
       ini + " を使う権限がありません。\n既定の設定を使います。"},
      {"a missing file", [] {}, false, "", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    std::filesystem::remove_all(ini);
    row.make();

    QProcess cli;
    QStringList arguments = {QStringLiteral(TAVRIN_CLI_PATH),
                             QStringLiteral("dump"),
                             QStringLiteral(TAVRIN_SOURCE_DIR "/examples/school.BIN"),
                             QStringLiteral("--data-dir"),
                             data_.path(),
                             QStringLiteral("--now=2026-04-01T09:00:00")};
    // A program started as root gets the override back; a bounding set without it keeps it off.
    if (row.unreadable) {
      arguments.prepend(QStringLiteral("--bounding-set=-dac_override,-dac_read_search"));
    }
    cli.start(row.unreadable ? QStringLiteral("setpriv") : arguments.takeFirst(), arguments);
    ASSERT_TRUE(cli.waitForFinished(10000));
    EXPECT_EQ(cli.exitCode(), 0);
    const QString err = QString::fromUtf8(cli.readAllStandardError());
    QStringList cliLines = err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(cliLines.join(QLatin1Char('\n')).toStdString(), row.cli) << "tavrin-cli";

    messages_.shown.clear();
    {
      const testing::WithoutPermissionOverride asAUser;
      Start();
    }
    QTest::qWait(1300);
    std::string said;
    for (const auto& shown : messages_.shown) said += shown.text;
    EXPECT_EQ(said, row.desktop) << "tavrin";
    app_.reset();
  }
}

TEST_F(MainWindowTest, ChimeLinesNumberedOutsideTheCodesAreSaidByLine) {
  WriteHolidayFile();
  std::string twelve = "[Chime]\r\n";
  std::string listed;
  for (int line = 2; line <= 13; ++line) {
    twelve += "16=x\r\n";
    if (line <= 11) listed += "\n" + std::to_string(line) + " 行目：16=x";
  }
  const struct {
    const char* name;
    std::string ini;
    std::string lines;  // of the message, after its first
  } cases[] = {
      {"one of each side", "[System]\r\nRadioSet=OFF\r\n[Chime]\r\n1=a\r\n16=\x92\xa9\r\n0=c\r\n",
       "\n5 行目：16=朝\n6 行目：0=c"},
      {"the first ten of twelve", twelve, listed + "\nほか 2 行"},
      {"all within the codes", "[Chime]\r\n1=a\r\n15=b\r\n", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    data_.Write(QStringLiteral("Tavrin.ini"), QByteArray::fromStdString(c.ini));
    messages_.shown.clear();
    Start();
    QTest::qWait(1300);
    std::vector<std::string> said;
    for (const auto& shown : messages_.shown) said.push_back(shown.text);
    std::vector<std::string> expected;
    if (!c.lines.empty())
      expected.push_back(data_.file(QStringLiteral("Tavrin.ini")).toStdString() +
                         " の [Chime] の次の行は、チャイムの番号が 1～15 の外なので使いませんで"
                         "した。\n" +
                         c.lines);
    EXPECT_EQ(said, expected);
    app_.reset();
  }
}

TEST_F(MainWindowTest, MissingHolidayFileIsReportedOneSecondAfterStart) {
  Start();
  EXPECT_TRUE(messages_.shown.empty());
  QTest::qWait(700);
  EXPECT_TRUE(messages_.shown.empty());  // not before its second
  ASSERT_TRUE(QTest::qWaitFor([this] { return !messages_.shown.empty(); }, 3000));
  EXPECT_EQ(messages_.shown[0].caption, "祭日設定");
  EXPECT_EQ(messages_.shown[0].text,
            "祭日設定ファイルが存在しないかまたは壊れています。\n祭日設定が正しく実行できません。");
  EXPECT_EQ(messages_.shown[0].icon, MsgIcon::Exclamation);
}

}  // namespace
}  // namespace tavrin
