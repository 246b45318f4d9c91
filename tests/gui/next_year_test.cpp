// The next school year in the running program: the offer when last year's file is opened, the
// window driven by the keyboard alone, its confirmation calendar, and OK as one step of the
// history; a year that cannot be made is never applied.
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <set>

#include "OverflowingYear.h"
#include "RunningAppFixture.h"
#include "app/ui/CommandIds.h"
#include "document/SettingsFiles.h"
#include "document/TavrinDoc.h"
#include "framework/ui/ControlIds.h"
#include "platform/CVSFlexGrid.h"

namespace tavrin {
namespace {

using testing::Focused;
using testing::WhenModal;

const QString kSchool = QStringLiteral(TAVRIN_SOURCE_DIR "/examples/school.BIN");  // of 2026
constexpr LocalTime kMarch2027{2027, 3, 1, 9, 0, 0};
const QString kOffer = QStringLiteral(
    "「plan.BIN」は 2026 年の予定を持つファイルです。\n2026 年 4月～2027 年 3月 "
    "の期間設定と個別設定を写して、\n次の年度（2027 年 4月～2028 年 3月）を作成しますか？");

// The control of `window` that a screen reader calls `name`.
template <typename Widget>
Widget* Named(QWidget* window, const QString& name) {
  for (Widget* widget : window->findChildren<Widget*>()) {
    if (widget->accessibleName() == name) return widget;
  }
  ADD_FAILURE() << "no control named " << name.toStdString();
  return nullptr;
}

QStringList Items(QListWidget* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
  return items;
}

// A key with Alt to the widget that has the keyboard, and time for the button it presses.
void AltKeyTo(QWidget* window, Qt::Key key) {
  QTest::keyClick(Focused(window), key, Qt::AltModifier);
  QTest::qWait(200);
}

// Runs `answer` on the next modal window that comes up over `below` within five seconds: a button's
// mnemonic clicks it a moment after the key, when `below` is still the one up.
void WhenModalOver(QWidget* below, std::function<void(QWidget*)> answer) {
  auto* poll = new QTimer(qApp);
  auto clock = std::make_shared<QElapsedTimer>();
  clock->start();
  poll->setInterval(10);
  QObject::connect(poll, &QTimer::timeout, [poll, clock, below, answer] {
    QWidget* modal = QApplication::activeModalWidget();
    const bool up = modal != nullptr && modal != below;
    if (!up && clock->elapsed() < 5000) return;
    poll->stop();
    poll->deleteLater();
    if (up) answer(modal);
  });
  poll->start();
}

class NextYearTest : public testing::RunningAppFixture {
 protected:
  // The desktop program started on a copy of `file` as plan.BIN, the clock at `now`.
  void StartWith(const QString& file, LocalTime now) {
    clock_.Set(now);
    WriteHolidayFile();
    QFile::remove(work_.filePath("plan.BIN"));
    ASSERT_TRUE(QFile::copy(file, work_.filePath("plan.BIN")));
    Start({work_.filePath("plan.BIN")});
    QTest::qWait(50);  // the offer waits for the window
  }
  std::vector<std::string> Questions() const {
    std::vector<std::string> questions;
    for (const auto& shown : messages_.shown) {
      if (shown.caption == "次の年度を作成") questions.push_back(shown.text);
    }
    return questions;
  }
  QString caption() { return app_->frame()->windowTitle(); }
  const ScheduleModel& model() { return app_->view()->viewModel().model(); }
  bool HasPeriod(const PeriodEntry& period) {
    return std::find(model().periods.begin(), model().periods.end(), period) !=
           model().periods.end();
  }

  QTemporaryDir work_;
};

// The offer comes when the file holds a year before the clock's and its next school year fits the
// clock's years; once for each file.
TEST_F(NextYearTest, LastYearsFileIsOfferedItsNextSchoolYearOnce) {
  const struct {
    LocalTime now;
    bool offered;
  } rows[] = {
      {{2026, 12, 8, 9, 0, 0}, false},  // the file's own year
      {kMarch2027, true},
      {{2030, 1, 1, 9, 0, 0}, false},  // too old to make it from
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.now.year);
    app_.reset();
    messages_.shown.clear();
    messages_.answers = {MsgAnswer::No};
    StartWith(kSchool, row.now);
    EXPECT_EQ(Questions(), row.offered ? std::vector<std::string>{kOffer.toStdString()}
                                       : std::vector<std::string>{});
    // Opened again: not asked again.
    dialogs_.answers = {work_.filePath("plan.BIN").toStdString()};
    Command(ID_FILE_OPEN);
    EXPECT_EQ(Questions().size(), row.offered ? 1u : 0u);
    EXPECT_EQ(caption(), QStringLiteral("Tavrin - plan.BIN"));
  }
}

TEST_F(NextYearTest, TheWindowWorksByKeyboardAndOkIsOneStepToUndo) {
  ASSERT_EQ(app_, nullptr);
  messages_.answers = {MsgAnswer::Yes};
  bool answered = false;
  WhenModal([&](QWidget* dialog) {
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("次の年度を作成"));
    auto* month = Named<QComboBox>(dialog, QStringLiteral("最初の月"));
    auto* lines = Named<QListWidget>(dialog, QStringLiteral("追加する設定"));
    auto* notes = Named<QListWidget>(dialog, QStringLiteral("そのまま写さない設定"));
    ASSERT_TRUE(month && lines && notes);
    EXPECT_EQ(Focused(dialog), month);
    EXPECT_EQ(month->currentText(), QStringLiteral("4 月"));
    EXPECT_EQ(Items(lines),
              (QStringList{QStringLiteral("[期間設定] 追加 2028 年 2月15日～2月19日: P3"),
                           QStringLiteral("[個別設定] 追加 2028 年 3月19日: P3")}));
    EXPECT_EQ(Items(notes), QStringList{QStringLiteral("すべてそのまま写します。")});

    // Tab reaches every control, and each has a name to say.
    std::set<QString> reached;
    for (int i = 0; i < 12; ++i) {
      QWidget* focus = Focused(dialog);
      EXPECT_FALSE(focus->accessibleName().isEmpty()) << focus->metaObject()->className();
      reached.insert(focus->accessibleName());
      QTest::keyClick(focus, Qt::Key_Tab);
    }
    EXPECT_EQ(reached,
              (std::set<QString>{QStringLiteral("最初の月"), QStringLiteral("日付を保つ"),
                                 QStringLiteral("追加する設定"),
                                 QStringLiteral("そのまま写さない設定"), QStringLiteral("確認"),
                                 QStringLiteral("OK"), QStringLiteral("キャンセル")}));

    // From July the school year reaches the individual date of 12 June 2027.
    AltKeyTo(dialog, Qt::Key_M);
    ASSERT_EQ(Focused(dialog), month);
    for (int i = 0; i < 3; ++i) QTest::keyClick(month, Qt::Key_Down);
    EXPECT_EQ(month->currentText(), QStringLiteral("7 月"));
    EXPECT_TRUE(Items(lines).contains(QStringLiteral("[個別設定] 追加 2028 年 6月12日: P1")));
    for (int i = 0; i < 3; ++i) QTest::keyClick(month, Qt::Key_Up);
    AltKeyTo(dialog, Qt::Key_W);
    EXPECT_TRUE(Named<QRadioButton>(dialog, QStringLiteral("曜日を保つ"))->isChecked());
    EXPECT_EQ(Items(lines),
              (QStringList{QStringLiteral("[期間設定] 追加 2028 年 2月14日～2月18日: P3"),
                           QStringLiteral("[個別設定] 追加 2028 年 3月17日: P3")}));

    // The confirmation calendar of the result, from April 2027, to look at only.
    bool looked = false;
    WhenModalOver(dialog, [&](QWidget* calendar) {
      EXPECT_EQ(FindControl<QLineEdit>(calendar, ids::confirmation::kYear)->text(), "2027");
      EXPECT_EQ(FindControl<QLineEdit>(calendar, ids::confirmation::kMonth)->text(), "4");
      testing::ClickArrow(calendar, ids::confirmation::kYearUpDown, Qt::UpArrow);
      testing::ClickArrow(calendar, ids::confirmation::kMonthUpDown, Qt::DownArrow);
      testing::ClickArrow(calendar, ids::confirmation::kMonthUpDown, Qt::DownArrow);
      auto* grid = FindControl<CVSFlexGrid>(calendar, ids::confirmation::kGrid);
      // Monday 14 February 2028 runs program 3 from the copied period.
      bool found = false;
      for (int row = 1; row < grid->Rows(); row += 2) {
        if (grid->TextMatrix(row, 1) != "14") continue;
        found = true;
        EXPECT_EQ(grid->TextMatrix(row + 1, 1), "3");
        testing::ClickCell(grid, row + 1, 1);
        QTest::keyClick(Focused(calendar), Qt::Key_5);  // nothing may be typed here
        EXPECT_FALSE(grid->IsEditing());
        EXPECT_EQ(grid->TextMatrix(row + 1, 1), "3");
      }
      EXPECT_TRUE(found);
      QTest::keyClick(Focused(calendar), Qt::Key_Escape);
      looked = true;
    });
    AltKeyTo(dialog, Qt::Key_K);
    EXPECT_TRUE(QTest::qWaitFor([&] { return looked; }, 3000));
    QTest::keyClick(Focused(dialog), Qt::Key_Return);
    answered = true;
  });
  StartWith(kSchool, kMarch2027);
  ASSERT_TRUE(QTest::qWaitFor([&] { return answered; }, 5000));
  QTest::qWait(50);

  const PeriodEntry copied{2028, 2, 14, 2, 18, 3};
  EXPECT_TRUE(HasPeriod(copied));
  EXPECT_EQ(caption(), QStringLiteral("Tavrin - plan.BIN *"));
  QAction* undo = app_->frame()->action(ID_EDIT_UNDO);
  EXPECT_EQ(undo->text(), QStringLiteral("元に戻す: 次の年度を作成(&U)\tCtrl+Z"));
  QTest::keySequence(Focused(app_->frame()), QKeySequence(Qt::CTRL | Qt::Key_Z));
  EXPECT_FALSE(HasPeriod(copied));
  EXPECT_EQ(caption(), QStringLiteral("Tavrin - plan.BIN"));
}

QString OverflowingFile(const QTemporaryDir& folder) {
  const QString path = folder.filePath(QStringLiteral("full.BIN"));
  EXPECT_TRUE(WriteSettingsFile(path.toStdString(), testing::OverflowingYearImage()).ok());
  return path;
}

TEST_F(NextYearTest, AYearThatCannotBeMadeCannotBeApplied) {
  messages_.answers = {MsgAnswer::No};
  StartWith(OverflowingFile(work_), kMarch2027);
  ASSERT_EQ(Questions().size(), 1u);
  const ScheduleModel before = model();
  EXPECT_EQ(app_->frame()->action(ID_EDIT_NEXT_YEAR)->text(),
            QStringLiteral("次の年度を作成(&N)..."));
  bool answered = false;
  WhenModal([&](QWidget* dialog) {
    auto* ok = Named<QPushButton>(dialog, QStringLiteral("OK"));
    EXPECT_FALSE(ok->isEnabled());
    EXPECT_FALSE(Named<QPushButton>(dialog, QStringLiteral("確認"))->isEnabled());
    bool said = false;
    for (QLabel* label : dialog->findChildren<QLabel*>()) {
      said = said || label->text() == QStringLiteral(
                                          "期間設定が 1 件、個別設定が 1 件足りないため、"
                                          "次の年度を作成できません（それぞれ 200 件までです）。");
    }
    EXPECT_TRUE(said);
    QTest::keyClick(Focused(dialog), Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible());
    QTest::keyClick(Focused(dialog), Qt::Key_Escape);
    answered = true;
  });
  Command(ID_EDIT_NEXT_YEAR);
  ASSERT_TRUE(QTest::qWaitFor([&] { return answered; }, 5000));
  EXPECT_TRUE(model() == before);
  EXPECT_EQ(caption(), QStringLiteral("Tavrin - plan.BIN"));
  EXPECT_FALSE(app_->frame()->action(ID_EDIT_UNDO)->isEnabled());
}

}  // namespace
}  // namespace tavrin
