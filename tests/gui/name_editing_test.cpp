// Program names where the user edits them: the step dialog's name field and the program-name
// list, driven with keys and the mouse. Run with --show-refusal to leave the name list with a
// refused name on screen for a few seconds (for screenshots under Xvfb).
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstring>
#include <memory>
#include <vector>

#include "EditorTestData.h"
#include "GridDriving.h"
#include "GuiTestModes.h"
#include "GuiTestSupport.h"
#include "MakeStep.h"
#include "WidgetDriving.h"
#include "editors/WeeklyListRules.h"
#include "editors/ui/NameListDialog.h"
#include "editors/ui/StepDialog.h"
#include "framework/ui/ControlIds.h"
#include "model/ShiftJis.h"
#include "platform/CVSFlexGrid.h"
#include "platform/ControlNames.h"

namespace tavrin {
namespace {

using testing::Click;
using testing::FakeMessages;
using testing::WhenModal;

struct Fixture : testing::EditorTestData {
  Fixture() {
    BuildChimeLists(ini);
    model->channels[0] = {kChannelTimeSignal, 0, 5, 0};
    model->steps[0] = testing::MakeStep(1, 1, "0100000", 8, 0, 3);
    for (WindowPos& window : windows) window = {150, 100};
  }
  WeeklyContext Context() {
    return {*model,      *names, sink,
            *clipboards, ini,    {windows[0], windows[1], windows[2], windows[3]}};
  }
  IniSettings ini;
  FakeMessages sink;
  std::array<WindowPos, 4> windows{};
};

std::string Entry(const ProgramNameTable& names, int program) {
  return std::string(names.names[static_cast<std::size_t>(program)].data(), kNameBytes);
}

// OK and "確認(&K)" write the name box back only when the user changed it: a name whose bytes the
// box cannot show as they are keeps them.
TEST(StepDialogName, AnUntouchedNameKeepsItsBytesThroughOkAndConfirm) {
  struct Case {
    const char* what;
    std::string bytes;
    const char* typed;  // ASCII typed at the end of the name box; none: untouched
    std::string stored;
  };
  const std::string half = std::string("ABCDEFGHIJKLMNO") + "\x82";
  const Case cases[] = {
      {"bytes that do not decode", "AB\xFF\xFE", nullptr, "AB\xFF\xFE"},
      {"half a character at byte 16", half, nullptr, half},
      {"a code with two forms", "\xED\x40", nullptr, "\xED\x40"},
      {"a name typed to", "\xED\x40", "X", "\xFA\x5CX"},
  };
  for (const Case& c : cases)
    for (bool confirm : {false, true}) {
      const std::string what = std::string(c.what) + (confirm ? ", 確認 then OK" : ", OK");
      Fixture f;
      std::memcpy(f.names->names[1].data(), c.bytes.data(), c.bytes.size());
      WeeklyContext context = f.Context();
      StepDialog dialog(context, 1, 1, kChannelTimeSignal,
                        weekly::StepRows(*f.model, 1, 1, kChannelTimeSignal));
      WhenModal([&](QWidget*) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.Ready(); }, 2000));
        if (c.typed) {
          QTest::mouseClick(dialog.NameField(), Qt::LeftButton);
          QTest::keyClick(dialog.NameField(), Qt::Key_End);
          QTest::keyClicks(dialog.NameField(), c.typed);
        }
        if (confirm) {
          WhenModal([](QWidget* form) { Click(form, ids::kClose); });
          Click(&dialog, ids::kConfirm);
        }
        Click(&dialog, kIdOk);
      });
      dialog.exec();
      std::string expected = c.stored;
      expected.resize(kNameBytes, '\0');
      EXPECT_EQ(Entry(*f.names, 1), expected) << what;
    }
}

// Everything the name list shows in labels, for the note beside the grid.
QString Labels(QWidget* list) {
  QStringList texts;
  for (QLabel* label : list->findChildren<QLabel*>())
    if (label->isVisible()) texts << label->text();
  return texts.join('\n');
}

// The step dialog's name box takes a character the name file cannot hold, or one past its 16 bytes,
// out at once and says why in the red note under the box, until the next edit; OK stores what the
// box shows.
TEST(StepDialogName, ARefusedCharacterIsTakenOutAndNamed) {
  const char* refused = "「😀」はシフトJISで表せない文字のため、プログラム名に使えません。";
  const char* tooLong = "名称は半角で１６文字（全角で８文字）までです。";
  struct Case {
    const char* what;
    std::vector<const char*> typed;  // one input-method commit each, at the end of the box
    const char* shown;
    const char* note;  // none when null
  };
  const Case cases[] = {
      {"a name", {"朝礼"}, "朝礼", nullptr},
      {"a refused character", {"朝😀"}, "朝", refused},
      {"a refused character, then a good one", {"朝😀", "礼"}, "朝礼", nullptr},
      {"a name of 16 bytes", {"朝の始業チャイム"}, "朝の始業チャイム", nullptr},
      {"a character past 16 bytes", {"朝の始業チャイム", "一"}, "朝の始業チャイム", tooLong},
  };
  for (const Case& c : cases) {
    Fixture f;
    WeeklyContext context = f.Context();
    StepDialog dialog(context, 1, 1, kChannelTimeSignal,
                      weekly::StepRows(*f.model, 1, 1, kChannelTimeSignal));
    QString shown, labels;
    WhenModal([&](QWidget*) {
      ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.Ready(); }, 2000));
      QTest::mouseClick(dialog.NameField(), Qt::LeftButton);
      QTest::keyClick(dialog.NameField(), Qt::Key_End);
      for (const char* typed : c.typed)
        testing::CommitText(QApplication::focusWidget(), QString::fromUtf8(typed));
      shown = dialog.NameField()->text();
      labels = Labels(&dialog);
      Click(&dialog, kIdOk);
    });
    dialog.exec();
    EXPECT_EQ(shown, QString::fromUtf8(c.shown)) << c.what;
    for (const char* note : {refused, tooLong})
      EXPECT_EQ(labels.contains(QString::fromUtf8(note)), c.note == note)
          << c.what << ": " << labels.toStdString();
    EXPECT_EQ(FromShiftJis(FieldText(f.names->names[1].data(), kNameBytes)), c.shown) << c.what;
  }
}

// A character the name file cannot hold is named in a note as soon as it is typed and refused
// when the edit is stored; OK with the cell editor open stores its text, or, refused, keeps the
// list open on it: never drops it.
TEST(NameListEdit, ARefusedCharacterIsNamedAndOkNeverDropsTheOpenEdit) {
  const char* note = "「😀」はシフトJISで表せない文字のため、プログラム名に使えません。";
  struct Case {
    const char* what;
    const char* typed;  // into program 2's name cell, left open
    bool enterFirst;    // Enter before OK
    bool listOpen;      // after OK
    bool noted;
    const char* stored;  // program 2's name once the list closed
  };
  const Case cases[] = {
      {"a name, OK with the edit open", "朝の部", false, false, false, "朝の部"},
      {"a name stored with Enter, then OK", "朝の部", true, false, false, "朝の部"},
      {"a refused character, OK with the edit open", "朝😀", false, true, true, nullptr},
      {"a refused character, Enter, then OK", "朝😀", true, true, true, nullptr},
  };
  for (const Case& c : cases) {
    Fixture f;
    NameListDialog list(*f.model, *f.names, f.sink);
    bool open = false, editing = false;
    QString labels, labelsAsTyped;
    WhenModal([&](QWidget*) {
      CVSFlexGrid* grid = list.Grid();
      QApplication::setActiveWindow(&list);
      ASSERT_TRUE(QTest::qWaitForWindowActive(&list));
      ASSERT_EQ(grid->Row(), 1);  // program 1's name: no program has one yet
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
      testing::CommitText(QApplication::focusWidget(), QString::fromUtf8(c.typed));
      ASSERT_TRUE(grid->IsEditing());
      labelsAsTyped = Labels(&list);
      if (c.enterFirst) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
      Click(&list, kIdOk);
      open = list.isVisible();
      editing = grid->IsEditing();
      labels = Labels(&list);
      if (!open) return;
      // Put right, the name goes in.
      QLineEdit* editor = qobject_cast<QLineEdit*>(testing::OpenEditorWidget(grid));
      ASSERT_NE(editor, nullptr);
      // A refused edit stays open with its text selected: the user goes to its end first.
      QTest::keyClick(editor, Qt::Key_End);
      QTest::keyClick(editor, Qt::Key_Backspace);  // the refused character goes
      Click(&list, kIdOk);
    });
    list.exec();
    EXPECT_EQ(open, c.listOpen) << c.what;
    EXPECT_EQ(editing, c.listOpen) << c.what << ": the refused edit stays open";
    EXPECT_EQ(labelsAsTyped.contains(QString::fromUtf8(note)), c.noted)
        << c.what << ", as typed: " << labelsAsTyped.toStdString();
    EXPECT_EQ(labels.contains(QString::fromUtf8(note)), c.noted)
        << c.what << ": " << labels.toStdString();
    EXPECT_EQ(FromShiftJis(FieldText(f.names->names[2].data(), kNameBytes)),
              c.stored ? c.stored : "朝")
        << c.what;
  }
}

// Leaves the name list with a refused name under its note on screen for four seconds.
int ShowRefusal() {
  Fixture f;
  std::memcpy(f.names->names[1].data(), "\x92\xa9\x82\xcc\x95\x94", 6);  // 朝の部
  f.model->steps[1] = testing::MakeStep(2, 1, "0111110", 12, 0, 2);
  NameListDialog list(*f.model, *f.names, f.sink);
  list.move(60, 60);
  QTimer::singleShot(200, [&] {
    QApplication::setActiveWindow(&list);
    testing::CommitText(list.Grid(), QString::fromUtf8("昼の部♥"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  });
  QTimer::singleShot(4000, [&] { list.done(QDialog::Rejected); });
  list.exec();
  return 0;
}

}  // namespace
}  // namespace tavrin

int main(int argc, char** argv) {
  return tavrin::testing::RunTestsOrMode(argc, argv, {{"--show-refusal", tavrin::ShowRefusal}});
}
