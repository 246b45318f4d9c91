// The desktop's message boxes and Qt's own dialogs as the user meets them: Japanese throughout,
// and no caption cut by a box narrower than its title.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "app/ui/CTavrinApp.h"
#include "platform/QtMessageSink.h"

namespace tavrin {
namespace {

TEST(QtDialogs, QtsOwnDialogsSpeakJapanese) {
  ASSERT_TRUE(CTavrinApp::InstallJapaneseTranslations()) << "qt6-translations-l10n is missing";
  QDialogButtonBox buttons(QDialogButtonBox::Cancel | QDialogButtonBox::Open);
  EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
  EXPECT_NE(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Look in:"));
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
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
