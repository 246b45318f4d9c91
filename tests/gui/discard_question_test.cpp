// Cancel on every editor window (Escape on the focused widget, "キャンセル", the close box) as a
// user meets it: the window closes at once when nothing was done there, and otherwise asks
// "変更を破棄しますか？" in the program's own message box, いいえ the default and the answer to
// Escape. Run with --show to leave the question over the sheet on screen for a few seconds (for
// screenshots under Xvfb).
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstring>
#include <functional>
#include <memory>

#include "EditorTestData.h"
#include "FakeEditorHost.h"
#include "GridDriving.h"
#include "GuiTestModes.h"
#include "GuiTestSupport.h"
#include "MakeStep.h"
#include "WidgetDriving.h"
#include "app/ui/OpenEditor.h"
#include "calendar/HolidayFile.h"
#include "calendar/ui/AnnualConfirmDialog.h"
#include "editors/WeeklyListRules.h"
#include "editors/ui/NameListDialog.h"
#include "editors/ui/StepDialog.h"
#include "framework/ui/CProgSheet.h"
#include "framework/ui/ControlIds.h"
#include "framework/ui/EditorPage.h"
#include "platform/CVSFlexGrid.h"
#include "platform/ControlNames.h"
#include "platform/QtMessageSink.h"

namespace tavrin {
namespace {

using testing::ClickArrow;
using testing::ClickCell;
using testing::CloseBox;
using testing::FakeEditorHost;
using testing::Focused;
using testing::WhenModal;

enum class Close { Escape, CancelButton, CloseBox };
enum class Answer { NoBox, EscapeKey, EnterKey, BoxClosed, Yes };

const std::pair<Close, const char*> kCloses[] = {
    {Close::Escape, "Escape"}, {Close::CancelButton, "キャンセル"}, {Close::CloseBox, "close box"}};

// Answers every message box that comes while it lives, as `answer` says, and records them. A
// box that should not come at all is answered いいえ, so that the test goes on to fail.
class Answering {
 public:
  explicit Answering(Answer answer) : answer_(answer) {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start();
  }
  int boxes = 0;
  QString text;
  QString caption;
  QString defaultButton;

 private:
  void Poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible() || box == answered_) return;
    answered_ = box;
    ++boxes;
    text = box->text();
    caption = box->windowTitle();
    defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
    switch (answer_) {
      case Answer::EscapeKey:
        QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Escape);
        break;
      case Answer::EnterKey:
        QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Return);
        break;
      case Answer::BoxClosed:
        CloseBox(box);
        break;
      case Answer::Yes:
        testing::ClickLabelled(box, "はい(&Y)");
        break;
      case Answer::NoBox:
        testing::ClickLabelled(box, "いいえ(&N)");
        break;
    }
  }
  Answer answer_;
  QTimer timer_;
  QPointer<QMessageBox> answered_;
};

void CloseBy(QWidget* window, Close how) {
  switch (how) {
    case Close::Escape:
      QTest::keyClick(Focused(window), Qt::Key_Escape);
      break;
    case Close::CancelButton:
      testing::Click(window, kIdCancel);
      break;
    case Close::CloseBox:
      CloseBox(window);
      break;
  }
  QApplication::processEvents();
}

// Types into the current cell, as an input method does into whatever has the focus (the grid, or
// the cell editor a click opened), and stores it with Enter.
void TypeAndEnter(CVSFlexGrid* grid, const QString& text) {
  testing::CommitText(Focused(grid->window()), text);
  ASSERT_TRUE(grid->IsEditing());
  QTest::keyClick(testing::OpenEditorWidget(grid), Qt::Key_Return);
}

// A school schedule: a time-signal channel with one step of program 1, a vacation period, a
// holiday and an individual day; the clock's month is August 2026.
struct Schedule : testing::EditorTestData {
  Schedule() {
    BuildChimeLists(ini);
    model->channels[0] = {kChannelTimeSignal, 0, 5, 0};
    model->steps[0] = testing::MakeStep(1, 1, "0100000", 8, 0, 3);
    model->basicProgram = 1;
    model->periods[0] = {kEveryYear, 7, 21, 8, 31, 4};
    model->dates[0] = {2026, 8, 20, 3};
    std::memcpy(names->names[1].data(), "Morning", 7);
    const std::string text = "[2026]\r\n08=11\r\n";
    ParseHolidayText(text.data(), text.size(), holidays);
    for (WindowPos& window : windows) window = {150, 100};
  }
  IniSettings ini;
  HolidayTable holidays;
  std::array<YearCalendar, 2> calendars{};
  std::array<WindowPos, kWindowSlotCount> windows{};
};

using Drive = std::function<void(QWidget*)>;

// One editor window: how it runs over a schedule (`drive` gets it once it is up and must end
// it), and one piece of work done in it as a user does it.
struct Window {
  const char* name;
  const char* caption;
  std::function<void(Schedule&, MessageSink&, const Drive&)> run;
  std::function<void(QWidget*)> work;
  // The work leaves a cell editor open: Escape then ends only that edit (a test of its own), so
  // only the other ways of closing apply.
  bool cellLeftOpen = false;
};

void RunSheet(EditorKind kind, Schedule& s, MessageSink& sink, const Drive& drive) {
  EditorContext context{*s.model, *s.names, sink,   *s.clipboards,
                        nullptr,  nullptr,  &s.ini, &s.windows};
  FakeEditorHost document(*s.model, *s.names);
  int x = 200, y = 150;
  SheetState state{x, y, FileState::Untitled, QString()};
  CProgSheet sheet;
  WhenModal(drive);
  OpenEditor(sheet, kind, context, document, state);
}

WeeklyPositions Positions(Schedule& s) {
  auto slot = [&s](WindowSlot w) -> WindowPos& { return s.windows[static_cast<std::size_t>(w)]; };
  return {slot(WindowSlot::Wpro), slot(WindowSlot::Pnam), slot(WindowSlot::Plst),
          slot(WindowSlot::Week)};
}

// The step dialog answers the mouse once its opening timer has fired.
bool WaitReady(QWidget* window) {
  auto* dialog = qobject_cast<StepDialog*>(window);
  return dialog && QTest::qWaitFor([dialog] { return dialog->Ready(); }, 2000);
}

void RunCalendar(Schedule& s, MessageSink& sink, const Drive& drive) {
  const YearPair years{2026, 2027};
  BuildFullCalendar(years.currentYear, years, *s.model, s.holidays, s.calendars[0]);
  BuildFullCalendar(years.nextYear, years, *s.model, s.holidays, s.calendars[1]);
  confirm::Session session(s.calendars, *s.model, years, 8);
  AnnualConfirmDialog dialog(session, *s.names, sink);
  WhenModal(drive);
  int x = 120, y = 90;
  dialog.Run(x, y);
}

// 9 typed into the program of 3 August, a vacation day.
void TypeADay(QWidget* window) {
  CVSFlexGrid* grid = FindControl<CVSFlexGrid>(window, ids::confirmation::kGrid);
  ClickCell(grid, 4, 1);
  TypeAndEnter(grid, "9");
}

const Window kWindows[] = {
    {"the sheet, a cell picked", "サマータイム",
     [](Schedule& s, MessageSink& sink, const Drive& drive) {
       RunSheet(EditorKind::SummerTime, s, sink, drive);
     },
     [](QWidget* sheet) {
       testing::Choose(FindControl<CVSFlexGrid>(sheet, ids::summer::kGrid), 1, 1, 5);
     }},
    {"the sheet, a step confirmed with OK in the step dialog", "週間プログラム",
     [](Schedule& s, MessageSink& sink, const Drive& drive) {
       RunSheet(EditorKind::Weekly, s, sink, drive);
     },
     [](QWidget* sheet) {
       WhenModal([](QWidget* dialog) {
         ASSERT_TRUE(WaitReady(dialog));
         ClickCell(FindControl<CVSFlexGrid>(dialog, ids::kGrid), 1, 1);  // Sunday as well
         testing::Click(dialog, kIdOk);
       });
       ClickCell(FindControl<CVSFlexGrid>(sheet, ids::kGrid), 2, 1);  // program 1 on CH1
     }},
    {"the step dialog, a day marked", "週間プログラム設定",
     [](Schedule& s, MessageSink& sink, const Drive& drive) {
       WeeklyContext context{*s.model, *s.names, sink, *s.clipboards, s.ini, Positions(s)};
       StepDialog dialog(context, 1, 1, kChannelTimeSignal,
                         weekly::StepRows(*s.model, 1, 1, kChannelTimeSignal));
       WhenModal([&](QWidget* window) {
         ASSERT_TRUE(WaitReady(window));
         drive(window);
       });
       dialog.exec();
     },
     [](QWidget* dialog) { ClickCell(FindControl<CVSFlexGrid>(dialog, ids::kGrid), 1, 1); }},
    {"the name list, a name typed", "プログラム名一覧",
     [](Schedule& s, MessageSink& sink, const Drive& drive) {
       NameListDialog dialog(*s.model, *s.names, sink);
       WhenModal(drive);
       dialog.exec();
     },
     [](QWidget* list) {
       CVSFlexGrid* grid = FindControl<CVSFlexGrid>(list, ids::kGrid);
       ClickCell(grid, 2, 1);
       TypeAndEnter(grid, "朝の部");
     }},
    {"the calendar, a day typed", "年間プログラムの確認", RunCalendar, TypeADay},
    {"the calendar, a day typed and its cell still open", "年間プログラムの確認", RunCalendar,
     [](QWidget* dialog) {
       CVSFlexGrid* grid = FindControl<CVSFlexGrid>(dialog, ids::confirmation::kGrid);
       ClickCell(grid, 4, 1);
       testing::CommitText(Focused(dialog), "9");
       ASSERT_TRUE(grid->IsEditing());
     },
     true},
    {"the calendar, a day recorded on leaving its month", "年間プログラムの確認", RunCalendar,
     [](QWidget* dialog) {
       TypeADay(dialog);
       ClickArrow(dialog, ids::confirmation::kMonthUpDown, Qt::UpArrow);
     }},
};

// What the window left behind, to compare with the schedule it opened with.
struct Left {
  std::unique_ptr<ScheduleModel> model;
  std::unique_ptr<ProgramNameTable> names;
};

TEST(DiscardQuestion, CancelAsksOnlyWhenWorkWouldBeLostAndNoIsTheDefault) {
  struct Answers {
    Answer first;  // to the question after the work; NoBox: no work done, none may come
    bool stays;    // the window stays open after it
    const char* name;
  };
  const Answers answers[] = {{Answer::NoBox, false, "nothing done"},
                             {Answer::EscapeKey, true, "Escape on the question"},
                             {Answer::EnterKey, true, "Enter on the question"},
                             {Answer::BoxClosed, true, "the question's close box"},
                             {Answer::Yes, false, "はい"}};
  QtMessageSink sink;
  for (const Window& window : kWindows)
    for (const auto& [closing, closeName] : kCloses)
      for (const Answers& a : answers) {
        if (window.cellLeftOpen && closing == Close::Escape) continue;
        const auto how = closing;  // a copy the lambda below can take
        const std::string what = std::string(window.name) + ", " + closeName + ", " + a.name;
        Schedule s;
        const Schedule opened;
        bool stayed = false;
        int boxes = 0;
        QString text, caption, defaultButton;
        window.run(s, sink, [&](QWidget* w) {
          if (a.first != Answer::NoBox) window.work(w);
          {
            Answering answering(a.first);
            CloseBy(w, how);
            stayed = w->isVisible();
            boxes = answering.boxes;
            text = answering.text;
            caption = answering.caption;
            defaultButton = answering.defaultButton;
          }
          if (w->isVisible()) {  // answered いいえ: close it for good
            Answering yes(Answer::Yes);
            CloseBy(w, how);
          }
        });
        EXPECT_EQ(stayed, a.stays) << what;
        if (a.first == Answer::NoBox) {
          EXPECT_EQ(boxes, 0) << what << ": nothing to lose, nothing to ask";
        } else {
          EXPECT_EQ(boxes, 1) << what;
          EXPECT_EQ(text, "変更を破棄しますか？") << what;
          EXPECT_EQ(caption, window.caption) << what;
          EXPECT_EQ(defaultButton, "いいえ(&N)") << what;
        }
        // Thrown away: the schedule and the names are as the window found them.
        EXPECT_TRUE(*s.model == *opened.model) << what;
        EXPECT_TRUE(*s.names == *opened.names) << what;
      }
}

// Leaves the question over the summer-time sheet on screen for four seconds, then answers it.
int ShowForScreenshot() {
  QtMessageSink sink;
  Schedule s;
  s.model->summerTimeEnabled = 1;
  s.model->summerTime = {3, 5, 1, 1, 10, 5, 1, 1};
  RunSheet(EditorKind::SummerTime, s, sink, [](QWidget* sheet) {
    sheet->move(60, 60);
    testing::Choose(FindControl<CVSFlexGrid>(sheet, ids::summer::kGrid), 1, 1, 5);
    QTimer::singleShot(4000, [] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->done(0);
    });
    QTest::keyClick(Focused(sheet), Qt::Key_Escape);
    static_cast<QDialog*>(sheet)->done(QDialog::Rejected);
  });
  return 0;
}

}  // namespace
}  // namespace tavrin

int main(int argc, char** argv) {
  return tavrin::testing::RunTestsOrMode(argc, argv, {{"--show", tavrin::ShowForScreenshot}});
}
