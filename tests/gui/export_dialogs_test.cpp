// The file dialogs of the export, the PDF and the print command as the user meets them (the
// program's own dialogs, not scripted answers): each opens beside the saved document under its
// name, Enter takes that name, and a finished file says so.
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QTest>

#include "FullDisk.h"
#include "RunningAppFixture.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/CommandIds.h"
#include "review/AgendaCalendar.h"

namespace tavrin {
namespace {

using testing::ClickAsTheUser;
using testing::ClickLabelled;
using testing::Focused;
using testing::WhenModal;

class ExportDialogsTest : public testing::RunningAppFixture {
 protected:
  // The school example saved as plan.BIN in a folder of its own, opened; the dialogs are real.
  // The holiday file is there: without it the report of its absence came one second after the
  // start, among the messages of an export that took longer than that.
  void StartWithSavedFile() {
    WriteHolidayFile();
    QFile::copy(QStringLiteral(TAVRIN_SOURCE_DIR "/tests/golden/image/school/image.BIN"),
                work_.filePath("plan.BIN"));
    AppServices real = services();
    real.dialogs = nullptr;
    app_ = std::make_unique<CTavrinApp>(real);
    ASSERT_TRUE(app_->InitInstance({work_.filePath("plan.BIN")}));
  }
  // Answers the next file dialog with Enter after noting where it opened and what it offered.
  void TakeOfferedName() {
    WhenModal([this](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      ASSERT_NE(dialog, nullptr);
      folder_ = dialog->directory().absolutePath();
      auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      ASSERT_NE(name, nullptr);
      offered_ = name->text();
      QTest::keyClick(name, Qt::Key_Return);
    });
  }

  // Answers the next file dialog as a user does: the name typed over the offered one, Enter, and
  // Yes to the dialog's question whether to replace the file that is there.
  static void TypeNameAndReplace(const QString& name) {
    WhenModal([name](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      ASSERT_NE(dialog, nullptr);
      auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      ASSERT_NE(field, nullptr);
      QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
      QTest::keyClicks(field, name);
      WhenModal([](QWidget* question) {
        auto* box = qobject_cast<QMessageBox*>(question);
        ASSERT_NE(box, nullptr);
        ClickAsTheUser(box->button(QMessageBox::Yes));
      });
      QTest::keyClick(field, Qt::Key_Return);
    });
  }
  static QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  QTemporaryDir work_;
  QString folder_, offered_;
};

// The open settings file and its name file are inputs of every output the desktop program
// writes: chosen as the export, the PDF or the calendar, each is refused in the words tavrin-cli
// uses for it, and stays as it was, though the file dialog's own question was answered Yes.
TEST_F(ExportDialogsTest, AnOutputChosenAsTheOpenSettingsOrNameFileIsRefused) {
  QFile::copy(QStringLiteral(TAVRIN_SOURCE_DIR "/examples/school.TXT"), work_.filePath("plan.TXT"));
  StartWithSavedFile();
  const QString settings = work_.filePath("plan.BIN");
  const QString names = work_.filePath("plan.TXT");
  const QByteArray settingsBefore = Bytes(settings);
  const QByteArray namesBefore = Bytes(names);
  ASSERT_EQ(namesBefore.size(), 1600);
  const struct {
    const char* what;
    int command;  // the calendar is saved from the agenda's window
    QString file;
  } rows[] = {
      {"export over the settings file", ID_FILE_EXPORT, settings},
      {"export over the name file", ID_FILE_EXPORT, names},
      {"PDF over the settings file", ID_FILE_PDF, settings},
      {"PDF over the name file", ID_FILE_PDF, names},
      {"calendar over the settings file", ID_VIEW_AGENDA, settings},
      {"calendar over the name file", ID_VIEW_AGENDA, names},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    messages_.shown.clear();
    const QString typed = QFileInfo(row.file).fileName();
    if (row.command == ID_VIEW_AGENDA) {
      WhenModal([typed](QWidget* agenda) {
        TypeNameAndReplace(typed);
        ClickLabelled(agenda, QString::fromUtf8(kCalendarSaveButton));
        QTest::keyClick(Focused(agenda), Qt::Key_Escape);
      });
    } else {
      TypeNameAndReplace(typed);
    }
    Command(row.command);
    ASSERT_EQ(messages_.shown.size(), 1u);
    const std::string path = row.file.toStdString();
    EXPECT_EQ(messages_.shown[0].text, path + " は入力のファイル " + path +
                                           " と同じファイルです。上書きせずにそのままにしました。");
    EXPECT_EQ(messages_.shown[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(Bytes(settings), settingsBefore);
    EXPECT_EQ(Bytes(names), namesBefore);
  }
}

TEST_F(ExportDialogsTest, CsvAndPdfAreOfferedBesideTheDocumentUnderItsNameAndSayWhenDone) {
  StartWithSavedFile();
  const struct {
    int command;
    const char* name;
    const char* done;
  } cases[] = {
      {ID_FILE_EXPORT, "plan.CSV", " へのエクスポートが正常に終了しました。"},
      {ID_FILE_PDF, "plan.pdf", " へのPDFの保存が正常に終了しました。"},
  };
  for (const auto& c : cases) {
    messages_.shown.clear();
    TakeOfferedName();
    Command(c.command);
    const QString path = work_.filePath(QString::fromUtf8(c.name));
    EXPECT_EQ(folder_, QFileInfo(work_.path()).absoluteFilePath()) << c.name;
    EXPECT_EQ(offered_, QString::fromUtf8(c.name));
    EXPECT_GT(QFileInfo(path).size(), 1000) << c.name;
    ASSERT_EQ(messages_.shown.size(), 1u) << c.name;
    EXPECT_EQ(messages_.shown[0].text, path.toStdString() + c.done);
    EXPECT_EQ(messages_.shown[0].icon, MsgIcon::Information);
  }
}

TEST_F(ExportDialogsTest, PrintingToAFileOffersThePdfBesideTheDocument) {
  StartWithSavedFile();
  const QString offered = work_.filePath("plan.pdf");
  QString fileName;
  WhenModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<QPrintDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    auto* field = modal->findChild<QLineEdit*>(QStringLiteral("filename"));
    ASSERT_NE(field, nullptr);
    fileName = field->text();
    // Enter on another name (a folder) would stop at Qt's own warning.
    QTest::keyClick(testing::Focused(modal), fileName == offered ? Qt::Key_Return : Qt::Key_Escape);
  });
  QTest::keyClick(testing::Focused(app_->frame()), Qt::Key_P, Qt::ControlModifier);
  EXPECT_EQ(fileName, offered);
  EXPECT_GT(QFileInfo(offered).size(), 1000);
}

// A PDF that cannot be written whole leaves the file it was to replace as it was, and nothing
// beside it: the disk fills up half way through the report.
TEST_F(ExportDialogsTest, APdfThatCannotBeWrittenWholeLeavesTheEarlierFile) {
  StartWithSavedFile();
  const QString pdf = work_.filePath("plan.pdf");
  {
    QFile earlier(pdf);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("an earlier report");
  }
  messages_.shown.clear();
  {
    const testing::FullDisk full(4096);
    TypeNameAndReplace(QStringLiteral("plan.pdf"));
    Command(ID_FILE_PDF);
  }
  ASSERT_EQ(messages_.shown.size(), 1u);
  const std::string text = messages_.shown[0].text;
  EXPECT_TRUE(text.starts_with(pdf.toStdString() + " への書き込みに失敗しました。")) << text;
  EXPECT_NE(text.find(" はディスクかシステムが許すより大きくなります。"), std::string::npos)
      << text;
  EXPECT_EQ(Bytes(pdf), QByteArray("an earlier report"));
  EXPECT_EQ(QDir(work_.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
            (QStringList{"plan.BIN", "plan.pdf"}));
}

}  // namespace
}  // namespace tavrin
