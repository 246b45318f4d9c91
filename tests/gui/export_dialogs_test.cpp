// The file dialogs of the export, the PDF and the print command as the user meets them (the
// program's own dialogs, not scripted answers): each opens beside the saved document under its
// name, Enter takes that name, and a finished file says so.
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrintDialog>
#include <QTest>

#include "RunningAppFixture.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/CommandIds.h"

namespace tavrin {
namespace {

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

  QTemporaryDir work_;
  QString folder_, offered_;
};

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

}  // namespace
}  // namespace tavrin
