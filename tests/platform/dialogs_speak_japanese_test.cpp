// The desktop's message boxes and Qt's own dialogs as the user meets them: Japanese throughout,
// and no caption cut by a box narrower than its title.
#include <gtest/gtest.h>

#include <utime.h>

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "app/ui/CTavrinApp.h"
#include "platform/QtFileDialogs.h"
#include "platform/QtMessageSink.h"

namespace tavrin {
namespace {

TEST(QtDialogs, QtsOwnDialogsSpeakJapanese) {
  ASSERT_TRUE(CTavrinApp::InstallJapaneseTranslations()) << "qt6-translations-l10n is missing";
  QDialogButtonBox buttons(QDialogButtonBox::Cancel | QDialogButtonBox::Open);
  EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
  EXPECT_NE(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Look in:"));
}

// What the open dialog's list shows of each entry of `folder`: name, size, type and date, as
// the user reads them, and the type the dialog offers; the dialog is then cancelled.
struct OpenDialogSeen {
  QStringList rows;
  QString fileType;
};
OpenDialogSeen SeeOpenDialog(const QString& folder) {
  OpenDialogSeen seen;
  QTimer::singleShot(0, [&seen] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    // The list fills from a thread of its own.
    auto* list = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
    EXPECT_TRUE(
        QTest::qWaitFor([list] { return list->model()->rowCount(list->rootIndex()) >= 3; }, 5000));
    QTest::qWait(200);
    const QModelIndex root = list->rootIndex();
    for (int row = 0; row < list->model()->rowCount(root); ++row) {
      QStringList cells;
      for (int column = 0; column < 4; ++column)
        cells << list->model()->index(row, column, root).data().toString();
      // A file's type is the system's word for its kind; a folder's the program's.
      if (!cells[1].isEmpty()) cells.removeAt(2);
      seen.rows << cells.join(QStringLiteral(" | "));
    }
    seen.rows.sort();
    seen.fileType = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))->currentText();
    dialog->reject();
  });
  QtFileDialogs dialogs;
  FileDialogRequest request;
  request.title = "開く";
  request.filter = "プログラム設定ファイル(*.BIN) |*.BIN|";
  request.initialFolder = folder.toStdString();
  EXPECT_EQ(dialogs.Run(request), std::nullopt);
  return seen;
}

TEST(QtDialogs, TheOpenDialogListsFilesInJapaneseWhateverTheSystemsLocale) {
  ASSERT_TRUE(CTavrinApp::InstallJapaneseTranslations());
  ASSERT_EQ(QLocale::system().language(), QLocale::C);
  QTemporaryDir folder;
  ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("plans")));
  for (const char* name : {"a.BIN", "b.bin", "c.TXT"}) {
    QFile file(folder.filePath(QString::fromLatin1(name)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(6594, '\0'));
  }
  // 2026-12-09 05:04 local time, on every entry.
  const QDateTime when(QDate(2026, 12, 9), QTime(5, 4));
  for (const char* name : {"plans", "a.BIN", "b.bin", "c.TXT"}) {
    const utimbuf times{when.toSecsSinceEpoch(), when.toSecsSinceEpoch()};
    ASSERT_EQ(utime(folder.filePath(QString::fromLatin1(name)).toLocal8Bit().constData(), &times),
              0);
  }
  const OpenDialogSeen seen = SeeOpenDialog(folder.path());
  // Both cases of the extension, and not the text file.
  EXPECT_EQ(seen.rows,
            QStringList({"a.BIN | 6.44 KiB | 2026/12/09 5:04", "b.bin | 6.44 KiB | 2026/12/09 5:04",
                         "plans |  | フォルダー | 2026/12/09 5:04"}));
  EXPECT_EQ(seen.fileType, QStringLiteral("プログラム設定ファイル(*.BIN)"));
}

TEST(QtDialogs, MessageBoxesAreWideEnoughForTheirCaption) {
  // The special menu's boxes: a long caption over a short text.
  const std::string captions[] = {"プログラム名称ファイル・パス", "デフォルト・データ・フォルダ",
                                  "Tavrin"};
  for (const std::string& caption : captions) {
    int width = 0, needed = 0;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      width = box->width();
      needed = QtMessageSink::CaptionWidth(*box);
      box->button(QMessageBox::Ok) != nullptr ? box->button(QMessageBox::Ok)->click()
                                              : box->buttons().front()->click();
    });
    QtMessageSink sink;
    EXPECT_EQ(sink.Show("\"x\"    ", caption, MsgButtons::Ok, MsgIcon::Information), MsgAnswer::Ok);
    EXPECT_GE(width, needed) << caption;
    EXPECT_GT(needed, 140) << caption;
  }
}

}  // namespace
}  // namespace tavrin

int main(int argc, char** argv) {
  // A system that speaks English: the program's dialogs must not follow it.
  qputenv("LC_ALL", "C");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
