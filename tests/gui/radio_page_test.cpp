// The radio page in the editor sheet: the station tree, the name and frequency fields, OK.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <cstring>
#include <memory>

#include "EditorTestData.h"
#include "FakeEditorHost.h"
#include "GuiTestSupport.h"
#include "WidgetDriving.h"
#include "app/ui/OpenEditor.h"
#include "framework/ui/CProgSheet.h"
#include "framework/ui/ControlIds.h"
#include "framework/ui/EditorPage.h"
#include "model/ShiftJis.h"
#include "platform/ControlNames.h"

namespace tavrin {
namespace {

using testing::Click;
using testing::ClickTreeItem;
using testing::FakeEditorHost;
using testing::FakeMessages;
using testing::WhenModal;

struct Fixture : testing::EditorTestData {
  explicit Fixture(int frequency = 0, const char* name = "") {
    model->radioFrequency = static_cast<uint16_t>(frequency);
    const std::string sjis = *ToShiftJis(name);
    std::memcpy(model->radioStation.data(), sjis.data(), sjis.size());
  }
  EditorOutcome Open(std::function<void(QWidget*)> answer) {
    FakeEditorHost document(*model);
    WhenModal(std::move(answer));
    EditorOutcome outcome = OpenEditor(sheet, EditorKind::Radio, context, document, state);
    modifiedMarks = document.modifiedMarks;
    return outcome;
  }
  FakeMessages sink;
  RadioStation remembered{853, *ToShiftJis("福島")};
  EditorContext context{*model, *names, sink, *clipboards, nullptr, &remembered};
  int x = 200;
  int y = 150;
  SheetState state{x, y, FileState::Untitled, QString()};
  CProgSheet sheet;
  int modifiedMarks = 0;
};

// The name, the frequency and the two labels around it.
QString Fields(QWidget* sheet) {
  return FindControl<QLineEdit>(sheet, ids::radio::kStation)->text() + " " +
         FindControl<QLabel>(sheet, ids::radio::kFrequencyLabel)->text() +
         FindControl<QLineEdit>(sheet, ids::radio::kFrequency)->text() +
         FindControl<QLabel>(sheet, ids::radio::kUnit)->text();
}

QTreeWidgetItem* Find(QTreeWidget* tree, const char* text) {
  const QList<QTreeWidgetItem*> found =
      tree->findItems(QString::fromUtf8(text), Qt::MatchExactly | Qt::MatchRecursive);
  return found.isEmpty() ? nullptr : found.front();
}

// As the user does: a click into the frequency field, Ctrl+A, then the keys of `text` (nothing
// but Delete for an empty text).
QLineEdit* TypeFrequency(QWidget* sheet, const QString& text) {
  auto* field = FindControl<QLineEdit>(sheet, ids::radio::kFrequency);
  // Without a window manager nothing activates the sheet; a user's click would.
  QApplication::setActiveWindow(sheet);
  QTest::mouseClick(field, Qt::LeftButton);
  EXPECT_TRUE(field->hasFocus());
  QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
  if (text.isEmpty()) QTest::keyClick(field, Qt::Key_Delete);
  QTest::keyClicks(field, text);
  return field;
}

TEST(RadioPage, TheTreeOffersTheStationsAndPickingOneFillsTheFields) {
  Fixture f;
  QStringList seen;
  const EditorOutcome outcome = f.Open([&](QWidget* sheet) {
    seen << sheet->windowTitle() << sheet->findChild<QTabWidget*>()->tabText(0);
    auto* tree = FindControl<QTreeWidget>(sheet, ids::radio::kTree);
    seen << QString::number(tree->topLevelItemCount()) + " " + tree->topLevelItem(0)->text(0) +
                " " + QString::number(tree->indentation());
    // A new document opens on the remembered station, selected in the tree.
    seen << Fields(sheet)
         << tree->currentItem()->text(0) + "/" + tree->currentItem()->parent()->text(0);
    ClickTreeItem(tree, Find(tree, "東京"));
    seen << Fields(sheet) << tree->currentItem()->parent()->text(0);
    ClickTreeItem(tree, Find(tree, "関東甲信越地方"));
    seen << Fields(sheet);  // a region changes nothing
    TypeFrequency(sheet, "85.4");
    ClickTreeItem(tree, Find(tree, "福島"));
    seen << Fields(sheet);  // the opened station comes back with its own frequency
    ClickTreeItem(tree, Find(tree, "東京"));
    EXPECT_FALSE(tree->currentItem()->icon(0).isNull());
    Click(sheet, kIdOk);
  });
  EXPECT_EQ(seen, (QStringList{"ラジオ選局 - 新規作成", "ラジオ選局リスト", "8 北海道地方 30",
                               "福島 周波数：85.3MHz", "福島/福島県", "東京 周波数：82.5MHz",
                               "東京都", "東京 周波数：82.5MHz", "福島 周波数：85.3MHz"}));
  EXPECT_EQ(outcome, EditorOutcome::Changed);
  EXPECT_EQ(f.model->radioFrequency, 825);
  EXPECT_EQ(FieldText(f.model->radioStation.data(), kStationBytes), *ToShiftJis("東京"));
  EXPECT_EQ(f.remembered.frequency, 825);
  EXPECT_TRUE(f.sink.shown.empty());
}

TEST(RadioPage, ATelevisionChannelIsShownWithoutTheFrequencyLabelsAndKept) {
  // A channel above 900 was once reset to 東京 82.5 as soon as the page opened.
  Fixture f(902, "２ｃｈ");
  QString fields;
  bool noneSelected = false;
  const EditorOutcome outcome = f.Open([&](QWidget* sheet) {
    fields = Fields(sheet);
    noneSelected = FindControl<QTreeWidget>(sheet, ids::radio::kTree)->currentItem() == nullptr;
    Click(sheet, kIdOk);
  });
  EXPECT_EQ(fields, "２ｃｈ 902");
  EXPECT_TRUE(noneSelected);
  EXPECT_EQ(outcome, EditorOutcome::Unchanged);
  EXPECT_EQ(f.modifiedMarks, 0);
  EXPECT_EQ(f.model->radioFrequency, 902);
}

TEST(RadioPage, AFrequencyThatCannotBeStoredKeepsTheSheetOpenOnTheField) {
  Fixture f(825, "東京");
  bool focused = false;
  const EditorOutcome outcome = f.Open([&](QWidget* sheet) {
    QLineEdit* frequency = TypeFrequency(sheet, "6553.6");
    Click(sheet, kIdOk);
    focused = frequency->hasFocus();
    TypeFrequency(sheet, "");
    Click(sheet, kIdOk);
    TypeFrequency(sheet, "123.4");
    Click(sheet, kIdOk);
  });
  ASSERT_EQ(f.sink.shown.size(), 2u);
  EXPECT_EQ(f.sink.shown[0].text, "＜周波数＞の設定値が不正です。");
  EXPECT_EQ(f.sink.shown[0].caption, "ラジオ選局");
  EXPECT_EQ(f.sink.shown[1].text, "＜周波数＞の指定が有りません。");
  EXPECT_TRUE(focused);
  EXPECT_EQ(outcome, EditorOutcome::Changed);
  EXPECT_EQ(f.model->radioFrequency, 1234);  // no range applies
}

// A typed 90.2 is 90.2 MHz, not television channel 902: it reopens as typed, and OK without a
// change leaves the document as it is. Keys go to the focused field; Enter presses OK.
TEST(RadioPage, ATypedFrequencyReopensAsTypedAndOkWithoutAChangeKeepsTheDocument) {
  Fixture f(825, "東京");
  const EditorOutcome typed = f.Open([&](QWidget* sheet) {
    QLineEdit* field = TypeFrequency(sheet, "90.2");
    QTest::keyClick(field, Qt::Key_Return);
  });
  EXPECT_EQ(typed, EditorOutcome::Changed);
  EXPECT_EQ(f.model->radioFrequency, 902);

  QString shown;
  const EditorOutcome again = f.Open([&](QWidget* sheet) {
    shown = Fields(sheet);
    QTest::keyClick(FindControl<QLineEdit>(sheet, ids::radio::kFrequency), Qt::Key_Return);
  });
  EXPECT_EQ(shown, "東京 周波数：90.2MHz");
  EXPECT_EQ(again, EditorOutcome::Unchanged);
  EXPECT_EQ(f.modifiedMarks, 0);
  EXPECT_EQ(f.model->radioFrequency, 902);
  EXPECT_TRUE(f.sink.shown.empty());
}

// A television channel's name beside a broadcast frequency keeps both: the number as stored.
TEST(RadioPage, AChannelNameBesideABroadcastFrequencyIsKeptAsStored) {
  Fixture f(825, "１ｃｈ");
  QString shown;
  const EditorOutcome outcome = f.Open([&](QWidget* sheet) {
    shown = Fields(sheet);
    QTest::keyClick(FindControl<QLineEdit>(sheet, ids::radio::kFrequency), Qt::Key_Return);
  });
  EXPECT_EQ(shown, "１ｃｈ 825");
  EXPECT_EQ(outcome, EditorOutcome::Unchanged);
  EXPECT_EQ(f.modifiedMarks, 0);
  EXPECT_EQ(f.model->radioFrequency, 825);
}

}  // namespace
}  // namespace tavrin
