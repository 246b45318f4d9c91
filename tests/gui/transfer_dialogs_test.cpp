// The four transfer commands of the running program: the cable dialogs against vl3400-sim on a
// pseudo-terminal (write, read, a fault, cancel, no port, a port closed to the user, a port that
// goes away) with the serial window beside them, and the USB dialogs with temporary folders as
// sticks.
#include <grp.h>
#include <sys/stat.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "PseudoTerminal.h"
#include "RunningAppFixture.h"
#include "WithoutPermissionOverride.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/CTavrinApp.h"
#include "app/ui/CTavrinView.h"
#include "app/ui/CommandIds.h"
#include "document/TavrinDoc.h"
#include "framework/ui/ControlIds.h"
#include "platform/ControlNames.h"
#include "transfer/ui/CableTransferDialog.h"
#include "transfer/ui/SerialDiagnosticsDialog.h"
#include "transfer/ui/SerialSettingsDialog.h"

namespace tavrin {
namespace {

using testing::ClickAsTheUser;
using testing::WhenModal;

// Every message box is recorded, and `onShow` sees the windows as they stand when it opens.
class WatchedMessages : public testing::FakeMessages {
 public:
  std::function<void()> onShow;
  MsgAnswer Show(const std::string& text, const std::string& caption, MsgButtons buttons,
                 MsgIcon icon) override {
    if (onShow) onShow();
    return FakeMessages::Show(text, caption, buttons, icon);
  }
};

// The timer's stand-in on a pseudo-terminal of its own, which becomes COM1.
class Simulator {
 public:
  explicit Simulator(const QStringList& arguments) : previous_(qgetenv("TAVRIN_PORTS")) {
    process_.start(QStringLiteral(TAVRIN_SIM_PATH), arguments);
    QByteArray output;
    while (!output.contains('\n') && process_.waitForReadyRead(5000)) {
      output += process_.readAllStandardOutput();
    }
    const QByteArray line = output.left(output.indexOf('\n'));
    if (line.startsWith("PTY ")) pty_ = line.mid(4);
    qputenv("TAVRIN_PORTS", pty_);
  }
  ~Simulator() {
    qputenv("TAVRIN_PORTS", previous_);
    if (!process_.waitForFinished(1000)) process_.kill();
    process_.waitForFinished(1000);
  }
  bool ok() const { return !pty_.isEmpty(); }
  QString pty() const { return QString::fromUtf8(pty_); }
  // The timer's end of the line goes, as a USB adapter pulled out.
  void Kill() { process_.kill(); }
  // The simulator's exit code once it is done.
  int Finish() {
    process_.waitForFinished(10000);
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
  }
  QString errors() { return QString::fromUtf8(process_.readAllStandardError()); }

 private:
  QProcess process_;
  QByteArray pty_;
  QByteArray previous_;
};

class TransferDialogsTest : public testing::RunningAppFixture {
 protected:
  TransferDialogsTest() {
    profile_.WriteInt("USB_X", 210);
    profile_.WriteInt("USB_Y", 220);
    watched_.unanswered = MsgAnswer::Cancel;
  }
  void StartWith(const QStringList& arguments = {}) {
    WriteHolidayFile();
    app_ = std::make_unique<CTavrinApp>(AppServices{&profile_, &watched_, &dialogs_, &clock_});
    ASSERT_TRUE(app_->InitInstance(arguments));
  }
  // A saved settings file in the work folder, opened as the document.
  void StartWithSavedFile() {
    QFile::copy(QStringLiteral(TAVRIN_SOURCE_DIR "/tests/golden/image/school/image.BIN"),
                work_.filePath("plan.BIN"));
    StartWith({work_.filePath("plan.BIN")});
    ASSERT_FALSE(app_->doc()->IsUntitled());
  }
  CTavrinView& view() { return *app_->view(); }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& shown : watched_.shown) texts.push_back(shown.text);
    return texts;
  }
  QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
  }
  QString Backup(const char* name) { return data_.file(QStringLiteral("backups/") + name); }
  // What the open cable dialog shows, each time it changes.
  void FollowCableDialog() {
    WhenModal(
        [this](QWidget* modal) {
          dialog_ = qobject_cast<CableTransferDialog*>(modal);
          ASSERT_NE(dialog_, nullptr);
          EXPECT_EQ(dialog_->pos(), QPoint(210, 220));
          auto* status = FindControl<QLabel>(dialog_, ids::transfer::kStatus);
          auto* progress = dialog_->findChild<QProgressBar*>();
          auto* poll = new QTimer(dialog_);
          QObject::connect(poll, &QTimer::timeout, [this, status, progress] {
            if (statuses_.isEmpty() || statuses_.back() != status->text()) {
              statuses_ << status->text();
            }
            if (progress->value() > 0 && progress->value() < progress->maximum()) sawPart_ = true;
          });
          poll->start(5);
        },
        10000);
  }

  QTemporaryDir work_;
  WatchedMessages watched_;
  QPointer<CableTransferDialog> dialog_;
  QStringList statuses_;
  bool sawPart_ = false;
};

TEST_F(TransferDialogsTest, AllFourCommandsCanBeChosen) {
  StartWith();
  for (int id : {ID_USB_WRITE, ID_USB_READ, ID_CABLE_WRITE, ID_CABLE_READ}) {
    EXPECT_TRUE(app_->frame()->action(id)->isEnabled()) << id;
  }
}

TEST_F(TransferDialogsTest, CableWriteServesTheSavedFileToTheTimer) {
  StartWithSavedFile();
  Simulator timer({"fn11", "--out", work_.filePath("received.BIN"), "--size", "128"});
  ASSERT_TRUE(timer.ok());
  QString buttonAtMessage, statusAtMessage, portAtMessage;
  int bytesAtMessage = 0;
  watched_.onShow = [&] {
    buttonAtMessage = FindControl<QPushButton>(dialog_, kIdCancel)->text();
    statusAtMessage = FindControl<QLabel>(dialog_, ids::transfer::kStatus)->text();
    portAtMessage = FindControl<QLabel>(dialog_, ids::transfer::kPort)->text();
    bytesAtMessage = dialog_->findChild<QProgressBar*>()->value();
  };
  FollowCableDialog();
  Command(ID_CABLE_WRITE);

  EXPECT_EQ(timer.Finish(), 0) << timer.errors().toStdString();
  EXPECT_TRUE(dialog_.isNull());  // gone after the message
  EXPECT_EQ(Texts(), std::vector<std::string>{"\"plan.BIN\" の書き込みが正常に終了しました。"});
  EXPECT_EQ(watched_.shown[0].caption, "ケーブル接続で書き込み");
  EXPECT_EQ(buttonAtMessage, QStringLiteral("OK"));
  EXPECT_EQ(statusAtMessage, QStringLiteral("通信完了"));
  EXPECT_EQ(portAtMessage, QStringLiteral("COM1 (%1) で通信しています。").arg(timer.pty()));
  EXPECT_EQ(bytesAtMessage, 6594);
  EXPECT_TRUE(sawPart_);
  EXPECT_TRUE(statuses_.contains(QStringLiteral("通信中")));
  EXPECT_EQ(Read(work_.filePath("received.BIN")), Read(work_.filePath("plan.BIN")));
  EXPECT_EQ(Read(Backup("20260401-090000-cable-write.BIN")), Read(work_.filePath("plan.BIN")));
  const QByteArray trace = Read(Backup("last-transfer.trace"));
  EXPECT_TRUE(trace.contains(" rx 10 02") && trace.contains(" tx 06")) << trace.left(200).data();
  EXPECT_FALSE(app_->doc()->IsModified());
  EXPECT_FALSE(view().link().PortOpen());
}

TEST_F(TransferDialogsTest, CableReadMakesTheTimersImageANewChangedDocument) {
  StartWithSavedFile();
  Simulator timer({"fn13", "--image", work_.filePath("plan.BIN"), "--size", "512"});
  ASSERT_TRUE(timer.ok());
  const ScheduleModel before = view().viewModel().model();
  view().viewModel().model() = ScheduleModel{};
  FollowCableDialog();
  Command(ID_CABLE_READ);

  EXPECT_EQ(timer.Finish(), 0) << timer.errors().toStdString();
  EXPECT_EQ(Texts(), std::vector<std::string>{
                         "年間プログラムタイマからのデータの読み込みが正常に終了しました。"});
  EXPECT_EQ(watched_.shown[0].caption, "ケーブル接続で読み込み");
  EXPECT_TRUE(app_->doc()->IsUntitled());
  EXPECT_TRUE(app_->doc()->IsModified());
  EXPECT_EQ(app_->frame()->windowTitle(), QStringLiteral("Tavrin - 新規作成 *"));
  EXPECT_EQ(view().viewModel().model(), before);
  EXPECT_EQ(Read(Backup("20260401-090000-cable-read.BIN")), Read(work_.filePath("plan.BIN")));
}

TEST_F(TransferDialogsTest, ACableReadOfAShortImageFailsWithItsLengthAndLeavesANewDocument) {
  StartWithSavedFile();
  Simulator timer({"fn13", "--image", work_.filePath("plan.BIN"), "--fault", "short"});
  ASSERT_TRUE(timer.ok());
  FollowCableDialog();
  Command(ID_CABLE_READ);

  EXPECT_EQ(timer.Finish(), 0) << timer.errors().toStdString();
  EXPECT_EQ(Texts(), std::vector<std::string>{"年間プログラムタイマからのデータの読み込みに失敗"
                                              "しました。\n\nデータ長エラー"});
  EXPECT_TRUE(app_->doc()->IsUntitled());
  EXPECT_FALSE(app_->doc()->IsModified());
  EXPECT_FALSE(QFile::exists(Backup("20260401-090000-cable-read.BIN")));
  EXPECT_TRUE(QFile::exists(Backup("last-transfer.trace")));
}

TEST_F(TransferDialogsTest, TheSerialWindowAnswersBesideACableDialogButConnectAndResetWait) {
  StartWithSavedFile();
  OpenSerialWindow();
  SerialDiagnosticsDialog* diagnostics = view().diagnosticsWindow();
  Simulator timer(
      {"fn11", "--out", work_.filePath("received.BIN"), "--id", "OTHER", "--wait", "3"});
  ASSERT_TRUE(timer.ok());
  bool connectEnabled = true, resetEnabled = true, settingsOpened = false, closed = false;
  int eventsBefore = 0, eventsAfter = 0;
  QString status, port;
  WhenModal([&](QWidget* modal) {
    QTimer::singleShot(500, modal, [&, modal] {
      connectEnabled = FindControl<QPushButton>(diagnostics, ids::serial::kConnect)->isEnabled();
      resetEnabled = FindControl<QPushButton>(diagnostics, ids::serial::kReset)->isEnabled();
      status = FindControl<QLabel>(modal, ids::transfer::kStatus)->text();
      port = FindControl<QLabel>(modal, ids::transfer::kPort)->text();
      QLineEdit* events = diagnostics->field(ids::serial::kReceiveEvents);
      eventsBefore = events->text().toInt();
      ClickAsTheUser(FindControl<QPushButton>(diagnostics, ids::serial::kClear));
      eventsAfter = events->text().toInt();
      // The settings dialog opens over the transfer; Escape closes it.
      auto* settingsWatch = new QTimer(modal);
      QObject::connect(settingsWatch, &QTimer::timeout, [&, settingsWatch] {
        auto* settings = qobject_cast<SerialSettingsDialog*>(QApplication::activeModalWidget());
        if (settings == nullptr) return;
        settingsWatch->stop();
        settingsOpened = true;
        QTest::keyClick(settings->windowHandle(), Qt::Key_Escape);
      });
      settingsWatch->start(10);
      ClickAsTheUser(FindControl<QPushButton>(diagnostics, ids::serial::kSettings));
      settingsWatch->stop();
      ClickAsTheUser(FindControl<QPushButton>(diagnostics, kIdOk));
      closed = !diagnostics->isVisible();
      ClickAsTheUser(FindControl<QPushButton>(modal, kIdCancel));
    });
  });
  Command(ID_CABLE_WRITE);

  EXPECT_EQ(status, QStringLiteral("接続待ち"));
  EXPECT_EQ(port, QStringLiteral("COM1 (%1) で年間プログラムタイマを探しています（最長 30 秒）。")
                      .arg(timer.pty()));
  EXPECT_GT(eventsBefore, 0);
  EXPECT_LT(eventsAfter, eventsBefore);  // cleared; the timer goes on sending
  EXPECT_TRUE(settingsOpened);
  EXPECT_TRUE(closed);
  EXPECT_FALSE(connectEnabled);
  EXPECT_FALSE(resetEnabled);
  EXPECT_TRUE(FindControl<QPushButton>(diagnostics, ids::serial::kConnect)->isEnabled());
  EXPECT_TRUE(FindControl<QPushButton>(diagnostics, ids::serial::kReset)->isEnabled());
  EXPECT_FALSE(view().link().PortOpen());
  EXPECT_TRUE(watched_.shown.empty());
  EXPECT_FALSE(app_->doc()->IsUntitled());
  EXPECT_NE(timer.Finish(), 0);  // the timer was never answered
}

// The adapter is pulled out at 1024 of 6594 bytes: the dialog says so at once, and never
// "通信完了".
TEST_F(TransferDialogsTest, APortThatGoesAwayDuringTheTransferSaysWhatToDo) {
  StartWithSavedFile();
  Simulator timer(
      {"fn11", "--out", work_.filePath("received.BIN"), "--size", "512", "--baud", "9600"});
  ASSERT_TRUE(timer.ok());
  QElapsedTimer sinceGone;
  qint64 untilMessage = -1;
  QString statusAtMessage;
  watched_.onShow = [&] {
    untilMessage = sinceGone.isValid() ? sinceGone.elapsed() : -1;
    statusAtMessage = FindControl<QLabel>(dialog_, ids::transfer::kStatus)->text();
  };
  FollowCableDialog();
  int bytesAtPull = 0;
  QTimer pull;
  QObject::connect(&pull, &QTimer::timeout, [&] {
    const int bytes = dialog_ ? dialog_->findChild<QProgressBar*>()->value() : 0;
    if (bytes < 1024 || sinceGone.isValid()) return;
    bytesAtPull = bytes;
    timer.Kill();
    sinceGone.start();
  });
  pull.start(5);
  Command(ID_CABLE_WRITE);

  EXPECT_EQ(Texts(), std::vector<std::string>{"\"plan.BIN\" の書き込みに失敗しました。\n\nCOM1 (" +
                                              timer.pty().toStdString() +
                                              ") が切断されました。\nUSBケーブルを接続し直して"
                                              "から、もう一度実行して下さい。"});
  // At once, not after the timer's 30 seconds of silence.
  EXPECT_GE(untilMessage, 0);
  EXPECT_LT(untilMessage, 2000);
  EXPECT_EQ(bytesAtPull, 1024);
  EXPECT_EQ(statusAtMessage, QStringLiteral("通信失敗"));
  EXPECT_FALSE(statuses_.contains(QStringLiteral("通信完了"))) << statuses_.join('|').toStdString();
  EXPECT_FALSE(view().link().PortOpen());
}

// The device's group is the way in: here uucp, not the usual dialout.
TEST_F(TransferDialogsTest, APortClosedToTheUserIsNamedWithTheWayIn) {
  StartWithSavedFile();
  testing::PseudoTerminal line;
  const struct group* uucp = ::getgrnam("uucp");
  ASSERT_NE(uucp, nullptr);
  ASSERT_EQ(::chown(line.slave.c_str(), 0, uucp->gr_gid), 0);
  ASSERT_EQ(::chmod(line.slave.c_str(), 0060), 0);
  qputenv("TAVRIN_PORTS", QByteArray::fromStdString(line.slave));
  QString status;
  WhenModal([&](QWidget* modal) {
    status = FindControl<QLabel>(modal, ids::transfer::kStatus)->text();
    QTest::keyClick(testing::Focused(modal), Qt::Key_Escape);
  });
  {
    testing::WithoutPermissionOverride user;
    Command(ID_CABLE_WRITE);
  }
  qunsetenv("TAVRIN_PORTS");
  EXPECT_EQ(status,
            QString::fromStdString(
                "COM1 (" + line.slave +
                ") を使用する権限がありません。\n次のコマンドでユーザーを uucp グループに追加"
                "し、ログインし直して下さい。\nsudo usermod -aG uucp $USER"));
  EXPECT_TRUE(watched_.shown.empty());
}

TEST_F(TransferDialogsTest, WithoutAPortTheReadDialogSaysSoAndCanOnlyBeCancelled) {
  StartWith();
  qputenv("TAVRIN_PORTS", "/nonexistent/tty");
  QString status;
  WhenModal([&](QWidget* modal) {
    modal->move(300, 310);
    status = FindControl<QLabel>(modal, ids::transfer::kStatus)->text();
    QTest::keyClick(testing::Focused(modal), Qt::Key_Escape);
  });
  Command(ID_CABLE_READ);
  qunsetenv("TAVRIN_PORTS");
  EXPECT_EQ(status, QStringLiteral("ポートが存在しません。"));
  EXPECT_TRUE(watched_.shown.empty());
  EXPECT_FALSE(view().link().PortOpen());
  testing::CloseBox(app_->frame());
  EXPECT_FALSE(app_->frame()->isVisible());
  EXPECT_EQ(profile_.ReadInt("USB_X"), 300);
  EXPECT_EQ(profile_.ReadInt("USB_Y"), 310);
}

TEST_F(TransferDialogsTest, UsbDialogsOfferTheDrivesAndCarryTheFileBothWays) {
  StartWithSavedFile();
  QTemporaryDir first, stick;
  qputenv("TAVRIN_USB_DRIVES", (first.path() + ":" + stick.path()).toUtf8());
  QString title, text, okText;
  QStringList drives;
  WhenModal([&](QWidget* modal) {
    EXPECT_EQ(modal->pos(), QPoint(210, 220));
    title = modal->windowTitle();
    text = FindControl<QLabel>(modal, ids::transfer::kText)->text();
    okText = FindControl<QPushButton>(modal, kIdOk)->text();
    auto* list = FindControl<QComboBox>(modal, ids::transfer::kDrives);
    for (int i = 0; i < list->count(); ++i) drives << list->itemText(i);
    EXPECT_EQ(list->currentIndex(), 0);
    testing::PickFromList(list, 1);
    modal->move(230, 240);
    QTest::keyClick(testing::Focused(modal), Qt::Key_W, Qt::AltModifier);
  });
  Command(ID_USB_WRITE);
  EXPECT_EQ(title, QStringLiteral("USBメモリに書き込み"));
  EXPECT_EQ(text, QStringLiteral(" \"plan.BIN\" をUSBメモリに書き込みます。"));
  EXPECT_EQ(okText, QStringLiteral("書き込み開始(&W)"));
  EXPECT_EQ(drives, (QStringList{first.path(), stick.path()}));
  EXPECT_EQ(Texts(), std::vector<std::string>{"plan.BIN の書き込みが正常に終了しました。"});
  EXPECT_EQ(Read(stick.filePath("VL-3400.BIN")), Read(work_.filePath("plan.BIN")));
  EXPECT_FALSE(QFile::exists(first.filePath("VL-3400.BIN")));

  WhenModal([&](QWidget* modal) {
    EXPECT_EQ(modal->pos(), QPoint(230, 240));
    title = modal->windowTitle();
    text = FindControl<QLabel>(modal, ids::transfer::kText)->text();
    okText = FindControl<QPushButton>(modal, kIdOk)->text();
    testing::PickFromList(FindControl<QComboBox>(modal, ids::transfer::kDrives), 1);
    QTest::keyClick(testing::Focused(modal), Qt::Key_R, Qt::AltModifier);
  });
  Command(ID_USB_READ);
  qunsetenv("TAVRIN_USB_DRIVES");
  EXPECT_EQ(title, QStringLiteral("USBメモリから読み込み"));
  EXPECT_EQ(text, QStringLiteral("USBメモリからファイルを読み込みます。"));
  EXPECT_EQ(okText, QStringLiteral("読み込み開始(&R)"));
  EXPECT_EQ(watched_.shown.back().text, "USBメモリからのファイルの読み込みが正常に終了しました。");
  EXPECT_EQ(watched_.shown.back().caption, "USBメモリから読み込み");
  EXPECT_TRUE(app_->doc()->IsUntitled());
  EXPECT_TRUE(app_->doc()->IsModified());
  EXPECT_TRUE(QFile::exists(Backup("20260401-090000-usb-read.BIN")));
}

}  // namespace
}  // namespace tavrin
