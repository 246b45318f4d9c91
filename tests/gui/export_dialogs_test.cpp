// The file dialogs of the export, the PDF and the print command as the user meets them (the
// program's own dialogs, not scripted answers): each opens beside the saved document under its
// name, Enter takes that name, and a finished file says so.
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
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
  void StartWithSavedFile() {
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

// Typed without extension, a name gets the upper-case ".BIN" the timer's files have, so the
// dialog's own question comes for another schedule saved under that name, and No writes nothing
// (the dialog completes names in any letter case as they are typed: the program's own question
// for other cases is driven through the document's tests).
TEST_F(ExportDialogsTest, SaveAsAddsTheUpperCaseExtensionAndAsksBeforeReplacingAnotherSchedule) {
  StartWithSavedFile();
  QFile::copy(work_.filePath("plan.BIN"), work_.filePath("school.BIN"));
  {
    QFile names(work_.filePath("school.TXT"));
    ASSERT_TRUE(names.open(QIODevice::WriteOnly));
    names.write(QByteArray(1600, 'S'));
  }
  // Types `name` into the dialog's name field in place of what it offers, then Enter.
  const auto typeName = [](QWidget* modal, const QString& name) {
    auto* field = modal->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(field, nullptr);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, name);
    QTest::keyClick(field, Qt::Key_Return);
  };
  const struct {
    const char* typed;
    MsgAnswer answer;  // to the program's question, when it asks
    bool dialogAsks;   // the dialog's own question about the name as typed, answered No
    bool programAsks;
    const char* written;  // the settings file saved, or nothing
  } cases[] = {
      {"school", MsgAnswer::No, true, false, nullptr},
      {"fresh", MsgAnswer::No, false, false, "fresh.BIN"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.typed) + (c.answer == MsgAnswer::Yes ? " yes" : " no"));
    messages_.shown.clear();
    messages_.answers = {c.answer};
    bool dialogAsked = false, reopened = false;
    const bool back = c.dialogAsks || (c.programAsks && c.answer == MsgAnswer::No);
    WhenModal([&](QWidget* modal) {
      if (c.dialogAsks) {
        WhenModal([&](QWidget* question) {
          dialogAsked = qobject_cast<QMessageBox*>(question) != nullptr;
          QTest::keyClick(testing::Focused(question), Qt::Key_Escape);
        });
      }
      // After No, the dialog is there again with the name typed; Escape leaves it.
      if (back) {
        WhenModal(
            [&](QWidget* again) {
              reopened = qobject_cast<QFileDialog*>(again) != nullptr;
              QTest::keyClick(testing::Focused(again), Qt::Key_Escape);
            },
            8000);
      }
      typeName(modal, QString::fromUtf8(c.typed));
    });
    Command(ID_FILE_SAVE_AS);
    QApplication::processEvents();
    EXPECT_EQ(dialogAsked, c.dialogAsks);
    EXPECT_EQ(reopened, back);
    const bool programAsked =
        !messages_.shown.empty() && messages_.shown[0].buttons == MsgButtons::YesNoDefaultNo;
    EXPECT_EQ(programAsked, c.programAsks);
    if (programAsked) {
      EXPECT_NE(messages_.shown[0].text.find("  school.BIN\n  school.TXT\n"), std::string::npos)
          << messages_.shown[0].text;
    }
    if (c.written) {
      EXPECT_EQ(QFileInfo(work_.filePath(QString::fromUtf8(c.written))).size(), 6594);
    }
    const QString stem = QString::fromUtf8(c.typed).section(QLatin1Char('.'), 0, 0);
    EXPECT_FALSE(QFileInfo::exists(work_.filePath(stem + QStringLiteral(".bin"))));
    EXPECT_EQ(QFileInfo::exists(work_.filePath(stem + QStringLiteral(".BIN"))),
              c.written != nullptr || stem == QStringLiteral("school"));
    QFile names(work_.filePath("school.TXT"));
    ASSERT_TRUE(names.open(QIODevice::ReadOnly));
    EXPECT_EQ(names.readAll(), QByteArray(1600, 'S'));
  }
}

}  // namespace
}  // namespace tavrin
