// The Alt-key sequence of the main form, the special menu, the about box and the settings-file
// display, driven through the running program.
#include <pty.h>
#include <unistd.h>

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QWindow>

#include "RunningAppFixture.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/CTavrinApp.h"
#include "app/ui/CTavrinView.h"
#include "app/ui/CommandIds.h"
#include "framework/ui/ControlIds.h"
#include "platform/ControlNames.h"
#include "transfer/ui/SerialDiagnosticsDialog.h"
#include "transfer/ui/SerialSettingsDialog.h"

namespace tavrin {
namespace {

using testing::ClickAsTheUser;
using testing::ClickLabelled;
using testing::CloseBox;
using testing::IfNoModal;
using testing::WhenModal;

class MaintenanceWindowsTest : public testing::RunningAppFixture {
 protected:
  void Start(const QStringList& arguments = {}) {
    RunningAppFixture::Start(arguments);
    QApplication::setActiveWindow(app_->frame());
  }
  // Presses `key` with Alt and reports the title of the modal window it opened (closing it), or
  // an empty text when none opened.
  QString AltKeyOpens(Qt::Key key) {
    QString title;
    WhenModal(
        [&title](QWidget* modal) {
          title = modal->windowTitle();
          CloseBox(modal);
        },
        600, IfNoModal::Ignore);
    AltKey(key);
    QTest::qWait(700);  // lets the watcher give up when nothing opened
    return title;
  }
  QString FieldText(QWidget* dialog, int id) {
    auto* field = FindControl<QLineEdit>(dialog, id);
    return field != nullptr ? field->text() : QStringLiteral("<missing>");
  }
};

// Alt with a menu's letter opens that menu, 表示 among them; only the V right after Alt+J opens the
// special menu instead.
TEST_F(MaintenanceWindowsTest, EveryMenuOpensByItsLetterAndJThenVOpensTheSpecialMenu) {
  Start();
  struct Case {
    std::vector<Qt::Key> keys;
    QString opens;  // the last key's window: a menu's title or a modal window's
  };
  const std::vector<Case> cases = {
      {{Qt::Key_V}, "表示(&V)"},
      {{Qt::Key_F}, "ファイル(&F)"},
      {{Qt::Key_C}, "接続処理(&C)"},
      {{Qt::Key_H}, "ヘルプ(&H)"},
      {{Qt::Key_J, Qt::Key_V}, "特殊メニュー"},
      {{Qt::Key_J, Qt::Key_X, Qt::Key_V}, "表示(&V)"},  // X disarmed the sequence
      {{Qt::Key_J, Qt::Key_V, Qt::Key_V}, "表示(&V)"},  // one opening per arming
      {{Qt::Key_X}, ""},
  };
  for (const Case& c : cases) {
    QString opened;
    for (Qt::Key key : c.keys) {
      // The window manager gives the main window back its activation after a closed window.
      QApplication::setActiveWindow(app_->frame());
      opened = AltKeyOpens(key);
      if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        opened = menu->title();
        QTest::keyClick(menu, Qt::Key_Escape);
      }
    }
    EXPECT_EQ(opened, c.opens) << c.keys.size() << " keys ending in " << c.keys.back();
  }
}

TEST_F(MaintenanceWindowsTest, AltAOpensTheAboutBoxWithoutAHolidayFile) {
  Start();
  QString program, holiday, title;
  WhenModal([&](QWidget* modal) {
    title = modal->windowTitle();
    program = FindControl<QLabel>(modal, ids::about::kProgramVersion)->text();
    holiday = FindControl<QLabel>(modal, ids::about::kHolidayVersion)->text();
    CloseBox(modal);
  });
  AltKey(Qt::Key_A);
  EXPECT_EQ(title, QStringLiteral("Tavrin のバージョン情報"));
  EXPECT_EQ(program, QStringLiteral("Tavrin　　Version 1.06"));
  EXPECT_EQ(holiday, QStringLiteral("祭日設定ファイル　 未定義 "));
}

TEST_F(MaintenanceWindowsTest, AboutBoxShowsTheHolidayFileVersion) {
  data_.Write("Tavrin-Holidays.ini", "[System]\r\nVersion=V2.01\r\n[2026]\r\n05=3,4,5\r\n");
  Start();
  QString holiday;
  WhenModal([&](QWidget* modal) {
    holiday = FindControl<QLabel>(modal, ids::about::kHolidayVersion)->text();
    CloseBox(modal);
  });
  Command(ID_APP_ABOUT);
  EXPECT_EQ(holiday, QStringLiteral("祭日設定ファイル　　Version V2.01"));
}

TEST_F(MaintenanceWindowsTest, SettingsDisplayShowsBothFiles) {
  data_.Write("Tavrin-Holidays.ini",
              "[System]\r\nVersion=V2.01\r\n[2026]\r\n01=1,12\r\n05=3,4,5\r\n[2027]\r\n01=1\r\n");
  data_.Write("Tavrin.ini",
              "[Chime]\r\n3 = Bell\r\n4 = A melody with a name far wider than its list\r\n"
              "[Sign]\r\nDayoftheweek=*\r\n");
  Start();
  QStringList months2026, months2027, chimes;
  int scrollRange = -1;
  int expectedRange = -2;
  QString holidayRead, iniRead, years, radio, dayMark, folder;
  OpenSpecialMenu([&](QWidget* menu) {
    WhenModal([&](QWidget* modal) {
      holidayRead = FieldText(modal, ids::display::kHolidayFileRead);
      iniRead = FieldText(modal, ids::display::kSettingsFileRead);
      years = FieldText(modal, ids::display::kYearCount);
      radio = FieldText(modal, ids::display::kRadioButton);
      dayMark = FieldText(modal, ids::display::kDayMark);
      folder = FieldText(modal, ids::display::kDataFolder);
      auto* list = FindControl<QListWidget>(modal, ids::display::kMonths);
      for (int i = 0; i < list->count(); ++i) months2026 << list->item(i)->text();
      testing::PickFromList(FindControl<QComboBox>(modal, ids::display::kYears), 1);
      for (int i = 0; i < list->count(); ++i) months2027 << list->item(i)->text();
      auto* chimeList = FindControl<QListWidget>(modal, ids::display::kChimes);
      for (int i = 0; i < chimeList->count(); ++i) chimes << chimeList->item(i)->text();
      // The list scrolls sideways to the widest line plus one average character.
      const QFontMetrics metrics(chimeList->font());
      expectedRange = metrics.horizontalAdvance(chimes.last()) + metrics.averageCharWidth() -
                      chimeList->viewport()->width();
      scrollRange = chimeList->horizontalScrollBar()->maximum();
      CloseBox(modal);
    });
    ClickLabelled(menu, QStringLiteral("設定ファイル情報"));
    CloseBox(menu);
  });
  EXPECT_EQ(holidayRead, "O");
  EXPECT_EQ(iniRead, "O");
  EXPECT_EQ(years, "2");
  ASSERT_EQ(months2026.size(), 12);
  EXPECT_EQ(months2026[0], QStringLiteral("  1 = 1, 12"));
  EXPECT_EQ(months2026[4], QStringLiteral("  5 = 3, 4, 5"));
  EXPECT_EQ(months2027[0], QStringLiteral("  1 = 1"));
  EXPECT_EQ(chimes,
            (QStringList{QStringLiteral("  3 = Bell"),
                         QStringLiteral("  4 = A melody with a name far wider than its list")}));
  EXPECT_GT(expectedRange, 0);
  EXPECT_EQ(scrollRange, expectedRange);
  EXPECT_EQ(radio, "ON");
  EXPECT_EQ(dayMark, "*");
  EXPECT_EQ(folder, data_.path());
}

TEST_F(MaintenanceWindowsTest, SettingsDisplayWithoutFilesShowsX) {
  Start();
  QString holidayRead, years;
  int months = -1;
  OpenSpecialMenu([&](QWidget* menu) {
    WhenModal([&](QWidget* modal) {
      holidayRead = FieldText(modal, ids::display::kHolidayFileRead);
      years = FieldText(modal, ids::display::kYearCount);
      months = FindControl<QListWidget>(modal, ids::display::kMonths)->count();
      CloseBox(modal);
    });
    ClickLabelled(menu, QStringLiteral("設定ファイル情報"));
    CloseBox(menu);
  });
  EXPECT_EQ(holidayRead, "X");
  EXPECT_EQ(years, "0");
  EXPECT_EQ(months, 0);
}

TEST_F(MaintenanceWindowsTest, SpecialMenuButtonShowsItsInformationBox) {
  Start();
  messages_.shown.clear();
  OpenSpecialMenu([](QWidget* menu) {
    ClickLabelled(menu, QStringLiteral("USB データ・ファイル名"));
    CloseBox(menu);
  });
  ASSERT_FALSE(messages_.shown.empty());
  EXPECT_EQ(messages_.shown.back().caption, "USB データ・ファイル名");
  EXPECT_EQ(messages_.shown.back().text, "\"VL-3400.BIN\"    ");
  EXPECT_EQ(messages_.shown.back().icon, MsgIcon::Information);
}

TEST_F(MaintenanceWindowsTest, TheCurrentDataFolderIsTheFolderOfTheSettingsFileOrNothing) {
  const QString school = QStringLiteral(TAVRIN_SOURCE_DIR "/examples/school.BIN");
  const struct {
    const char* name;
    std::string stored;  // OBJDIR from the last run
    QStringList arguments;
    std::string shown;
  } cases[] = {
      {"first start", "", {}, "\"\"    "},
      {"a folder from the last run", "/srv/plans", {}, "\"/srv/plans\"    "},
      {"a file opened at the start",
       "/srv/plans",
       {school},
       "\"" TAVRIN_SOURCE_DIR "/examples\"    "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    profile_.WriteString("OBJDIR", c.stored);
    Start(c.arguments);
    messages_.shown.clear();
    OpenSpecialMenu([](QWidget* menu) {
      ClickLabelled(menu, QStringLiteral("現在のデータ・フォルダ"));
      CloseBox(menu);
    });
    ASSERT_FALSE(messages_.shown.empty());
    EXPECT_EQ(messages_.shown.back().caption, "現在のデータ・フォルダ");
    EXPECT_EQ(messages_.shown.back().text, c.shown);
    app_.reset();
  }
}

TEST_F(MaintenanceWindowsTest, RegistryResetKeepsTheTransferDialogPosition) {
  profile_.WriteInt("USB_X", 333);
  profile_.WriteInt("USB_Y", 444);
  profile_.WriteInt("PROG_X", 555);
  profile_.WriteString("OBJDIR", "/somewhere");
  Start();
  messages_.answers.push_back(MsgAnswer::Yes);
  OpenSpecialMenu([](QWidget* menu) {
    ClickLabelled(menu, QStringLiteral("レジストリの初期化"));
    CloseBox(menu);
  });
  EXPECT_EQ(messages_.shown.back().text, "レジストリを初期化しますか？　　　");
  EXPECT_EQ(profile_.ReadInt("USB_X"), 333);
  EXPECT_EQ(profile_.ReadInt("USB_Y"), 444);
  EXPECT_EQ(profile_.ReadInt("PROG_X"), 150);
  EXPECT_EQ(profile_.ReadString("OBJDIR"), "");
}

// A pseudo-terminal stands in for COM1.
class PseudoPort {
 public:
  PseudoPort() {
    if (openpty(&master_, &slave_, name_, nullptr, nullptr) == 0) {
      previous_ = qgetenv("TAVRIN_PORTS");
      qputenv("TAVRIN_PORTS", QByteArray(name_));
    }
  }
  ~PseudoPort() {
    if (master_ < 0) return;
    qputenv("TAVRIN_PORTS", previous_);
    ::close(master_);
    ::close(slave_);
  }
  bool ok() const { return master_ >= 0; }

 private:
  int master_ = -1;
  int slave_ = -1;
  char name_[128] = {};
  QByteArray previous_;
};

TEST_F(MaintenanceWindowsTest, SerialWindowIsModelessConnectsAndRemembersItsPlace) {
  profile_.WriteInt("SERIAL_X", 210);
  profile_.WriteInt("SERIAL_Y", 220);
  Start();
  // Plugged in after start-up: connecting takes the port list afresh.
  PseudoPort port;
  ASSERT_TRUE(port.ok());
  OpenSerialWindow();
  SerialDiagnosticsDialog* window = app_->view()->diagnosticsWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_FALSE(window->isModal());
  EXPECT_EQ(window->pos(), QPoint(210, 220));
  auto* connectButton = FindControl<QPushButton>(window, ids::serial::kConnect);
  EXPECT_EQ(connectButton->text(), QStringLiteral("接続"));

  ClickAsTheUser(connectButton);  // opens COM1, the pseudo-terminal
  EXPECT_TRUE(app_->view()->link().PortOpen());
  EXPECT_EQ(connectButton->text(), QStringLiteral("切断"));
  EXPECT_EQ(window->field(ids::serial::kLinkState)->text(), QString());
  ClickAsTheUser(connectButton);
  EXPECT_FALSE(app_->view()->link().PortOpen());
  EXPECT_EQ(connectButton->text(), QStringLiteral("接続"));

  window->move(260, 270);
  ClickAsTheUser(FindControl<QPushButton>(window, kIdOk));
  EXPECT_FALSE(window->isVisible());
  OpenSerialWindow();
  EXPECT_EQ(app_->view()->diagnosticsWindow(), window);  // created once
  EXPECT_EQ(window->pos(), QPoint(260, 270));

  window->move(280, 290);
  CloseBox(app_->frame());  // closes the window too, which stores its place
  EXPECT_FALSE(app_->frame()->isVisible());
  EXPECT_EQ(profile_.ReadInt("SERIAL_X"), 280);
  EXPECT_EQ(profile_.ReadInt("SERIAL_Y"), 290);
}

// The serial window the special menu opens takes clicks while the menu is open and after it
// closes. The clicks go through the window system, which drops them on
// a window a modal one blocks.
TEST_F(MaintenanceWindowsTest, SerialWindowWorksBesideTheSpecialMenuAndAfterIt) {
  Start();
  PseudoPort port;
  ASSERT_TRUE(port.ok());
  auto clickConnect = [this] {
    SerialDiagnosticsDialog* window = app_->view()->diagnosticsWindow();
    auto* button = FindControl<QPushButton>(window, ids::serial::kConnect);
    ClickAsTheUser(button);
    return app_->view()->link().PortOpen();
  };
  // Round one opens the window from the menu; round two finds it open when the menu opens.
  for (const bool openBefore : {false, true}) {
    bool openedBesideMenu = false;
    OpenSpecialMenu([&](QWidget* menu) {
      if (!openBefore) ClickLabelled(menu, QStringLiteral("シリアル通信"));
      openedBesideMenu = clickConnect();
      CloseBox(menu);
    });
    EXPECT_TRUE(openedBesideMenu) << openBefore;
    EXPECT_FALSE(clickConnect()) << openBefore;
    // Afterwards it stays above the main window, as when opened from the connection menu.
    EXPECT_EQ(app_->view()->diagnosticsWindow()->windowHandle()->transientParent(),
              app_->frame()->windowHandle());
  }
  CloseBox(app_->frame());
  EXPECT_FALSE(app_->frame()->isVisible());
}

TEST_F(MaintenanceWindowsTest, SerialSettingsChoiceReachesTheProfile) {
  Start();
  OpenSerialWindow();
  WhenModal([](QWidget* modal) {
    testing::PickFromList(FindControl<QComboBox>(modal, ids::transfer::kPorts), 2);
    testing::PickFromList(FindControl<QComboBox>(modal, ids::transfer::kSpeeds), 0);
    ClickLabelled(modal, QStringLiteral("OK"));
  });
  ClickAsTheUser(
      FindControl<QPushButton>(app_->view()->diagnosticsWindow(), ids::serial::kSettings));
  EXPECT_EQ(app_->view()->link().Port(), 3);
  EXPECT_EQ(app_->view()->link().Parameters().speed, 9600);
  CloseBox(app_->frame());
  EXPECT_FALSE(app_->frame()->isVisible());
  EXPECT_EQ(profile_.ReadInt("PORTNO"), 2);
  EXPECT_EQ(profile_.ReadInt("BAUDRATE"), 0);
}

TEST(SerialSettingsDialogTest, OffersSixteenPortsAndThreeSpeeds) {
  SerialSettingsDialog dialog(3, 2);
  auto* ports = FindControl<QComboBox>(&dialog, ids::transfer::kPorts);
  auto* speeds = FindControl<QComboBox>(&dialog, ids::transfer::kSpeeds);
  ASSERT_EQ(ports->count(), 16);
  EXPECT_EQ(ports->itemText(15), QStringLiteral("COM16"));
  EXPECT_EQ(ports->currentText(), QStringLiteral("COM4"));
  EXPECT_EQ(speeds->currentText(), QStringLiteral("38400"));
  SerialSettingsDialog outOfRange(0, 7);
  EXPECT_EQ(outOfRange.speedIndex(), 0);
}

}  // namespace
}  // namespace tavrin
