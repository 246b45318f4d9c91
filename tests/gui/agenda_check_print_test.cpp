// The agenda window, the schedule-check window, the question before a write with errors, and the
// printed report in the running program.
#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPaintEngine>
#include <QPainter>
#include <QPrintDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>
#include <cstdlib>

#include "RunningAppFixture.h"
#include "app/PrintCommands.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/CTavrinApp.h"
#include "app/ui/CTavrinView.h"
#include "app/ui/CommandIds.h"
#include "document/TavrinDoc.h"
#include "export/ui/ReportPainter.h"
#include "platform/ControlNames.h"
#include "review/ui/AgendaWindow.h"
#include "review/ui/CheckWindow.h"
#include "transfer/ui/CableTransferDialog.h"

namespace tavrin {
namespace {

using testing::Focused;
using testing::WhenModal;

// Keeps the texts painted on it, so that a test can read what a page says.
class TextRecorder : public QPaintDevice {
 public:
  explicit TextRecorder(QSize size) : size_(size) {}
  QPaintEngine* paintEngine() const override { return &engine_; }
  QStringList texts() const { return engine_.texts; }

 protected:
  int metric(PaintDeviceMetric metric) const override {
    switch (metric) {
      case PdmWidth:
        return size_.width();
      case PdmHeight:
        return size_.height();
      case PdmDpiX:
      case PdmDpiY:
      case PdmPhysicalDpiX:
      case PdmPhysicalDpiY:
        return 150;
      case PdmDepth:
        return 32;
      default:
        return QPaintDevice::metric(metric);
    }
  }

 private:
  class Engine : public QPaintEngine {
   public:
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    // The defaults of the two polygon calls call each other.
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawTextItem(const QPointF&, const QTextItem& item) override { texts << item.text(); }
    Type type() const override { return User; }
    QStringList texts;
  };
  QSize size_;
  mutable Engine engine_;
};

class AgendaCheckPrintTest : public testing::RunningAppFixture {
 protected:
  void StartWithSavedFile() {
    QFile::copy(QStringLiteral(TAVRIN_SOURCE_DIR "/tests/golden/image/school/image.BIN"),
                work_.filePath("plan.BIN"));
    Start({work_.filePath("plan.BIN")});
  }
  CTavrinView& view() { return *app_->view(); }
  // A saved schedule that the check finds an error in: a step on channel 3, which is not in use.
  void SaveWithAnError() {
    StartWithSavedFile();
    ScheduleModel& model = view().viewModel().model();
    ASSERT_EQ(model.channels[2].kind, 0);
    const auto free = std::find_if(model.steps.begin(), model.steps.end(),
                                   [](const WeeklyStep& step) { return !step.used(); });
    *free = WeeklyStep{1, 3, {0, 1, 1, 1, 1, 1, 0}, 9, 0, 1};
    Command(ID_FILE_SAVE);
    ASSERT_FALSE(app_->doc()->IsModified());
  }
  // Answers the question before a write with `button`; `next` answers the window after it.
  void AnswerWriteQuestion(const QString& button, std::function<void(QWidget*)> next = {}) {
    WhenModal([this, button, next](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      ASSERT_NE(box, nullptr);
      question_ = box->text();
      for (QAbstractButton* each : box->buttons()) buttons_ << each->text();
      if (next) WhenModal(next, 5000);
      testing::ClickLabelled(box, button);
    });
  }

  QTemporaryDir work_;
  QString question_;
  QStringList buttons_;
};

// Picks `date` in a date field's calendar as a user does: a click on its arrow opens the month
// shown, Page Down and Page Up go to the month, Home to its first day, Right to the day, Enter.
void PickDate(QDateEdit* field, const QDate& date) {
  QTest::mouseClick(field, Qt::LeftButton, Qt::NoModifier,
                    QPoint(field->width() - 6, field->height() / 2));
  auto* calendar = field->findChild<QCalendarWidget*>();
  ASSERT_NE(calendar, nullptr) << "no calendar";
  ASSERT_TRUE(QTest::qWaitFor([calendar] { return calendar->isVisible(); }, 2000));
  QWidget* keys = QApplication::focusWidget();
  ASSERT_TRUE(keys && calendar->isAncestorOf(keys)) << "the calendar does not have the keyboard";
  const QDate shown = field->date();
  const int months = (date.year() - shown.year()) * 12 + date.month() - shown.month();
  for (int i = 0; i < std::abs(months); ++i)
    QTest::keyClick(keys, months > 0 ? Qt::Key_PageDown : Qt::Key_PageUp);
  QTest::keyClick(keys, Qt::Key_Home);
  for (int day = 1; day < date.day(); ++day) QTest::keyClick(keys, Qt::Key_Right);
  QTest::keyClick(keys, Qt::Key_Return);
  EXPECT_FALSE(calendar->isVisible());
}

// The day headlines of the agenda window and the number of event rows under each.
QList<QPair<QString, int>> DaysOf(QTreeWidget* tree) {
  QList<QPair<QString, int>> days;
  for (int i = 0; i < tree->topLevelItemCount(); ++i) {
    QTreeWidgetItem* day = tree->topLevelItem(i);
    int events = 0;
    for (int e = 0; e < day->childCount(); ++e) {
      if (!day->child(e)->text(1).isEmpty()) ++events;
    }
    days.append({day->text(0), events});
  }
  return days;
}

TEST_F(AgendaCheckPrintTest, AgendaShowsAWeekFromTodayAndFromAnyPickedDayOfTheTwoYears) {
  StartWithSavedFile();
  QList<QPair<QString, int>> fromToday, fromDecember, atTheEnd;
  QDate earliest, latest;
  QString note, title;
  QList<QStringList> firstEvents;
  WhenModal([&](QWidget* modal) {
    auto* agenda = qobject_cast<AgendaWindow*>(modal);
    ASSERT_NE(agenda, nullptr);
    title = agenda->windowTitle();
    earliest = agenda->datePicker()->minimumDate();
    latest = agenda->datePicker()->maximumDate();
    for (QLabel* label : agenda->findChildren<QLabel*>()) note += label->text();
    fromToday = DaysOf(agenda->days());
    PickDate(agenda->datePicker(), QDate(2026, 12, 20));
    fromDecember = DaysOf(agenda->days());
    for (int row = 0; row < 3; ++row) {
      const QTreeWidgetItem* item = agenda->days()->topLevelItem(1)->child(row);
      firstEvents.append({item->text(0), item->text(1), item->text(2)});
    }
    PickDate(agenda->datePicker(), QDate(2027, 12, 29));
    atTheEnd = DaysOf(agenda->days());
    QTest::keyClick(Focused(agenda), Qt::Key_Escape);
  });
  Command(ID_VIEW_AGENDA);

  EXPECT_EQ(title, QStringLiteral("予定表"));
  EXPECT_EQ(earliest, QDate(2026, 1, 1));
  EXPECT_EQ(latest, QDate(2027, 12, 31));
  EXPECT_TRUE(note.contains(QStringLiteral("サマータイムは適用していません")))
      << note.toStdString();
  ASSERT_EQ(fromToday.size(), 7);
  EXPECT_TRUE(fromToday[0].first.startsWith(QStringLiteral("2026年4月1日（水）")));
  // The same week as tavrin-cli reads it from the saved file.
  QFile golden(QStringLiteral(TAVRIN_SOURCE_DIR "/tests/golden/agenda/school/expected.jsonl"));
  ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = golden.readAll().split('\n');
  ASSERT_EQ(fromDecember.size(), 7);
  EXPECT_TRUE(fromDecember[0].first.startsWith(QStringLiteral("2026年12月20日（日）　P1")));
  EXPECT_TRUE(fromDecember[0].first.endsWith(QStringLiteral("（基本プログラム）")));
  EXPECT_TRUE(fromDecember[6].first.startsWith(QStringLiteral("2026年12月26日（土）")));
  for (int day = 0; day < 7; ++day) {
    EXPECT_EQ(fromDecember[day].second, lines[day].count("\"time\"")) << day;
  }
  ASSERT_EQ(firstEvents.size(), 3);
  EXPECT_EQ(firstEvents[0], (QStringList{"07:30", "CH2", "ON"}));
  EXPECT_EQ(firstEvents[1].mid(0, 2), (QStringList{"08:25", "CH1"}));
  EXPECT_TRUE(firstEvents[1][2].startsWith(QStringLiteral("1.")))
      << firstEvents[1][2].toStdString();
  // Three days are left in the second year.
  ASSERT_EQ(atTheEnd.size(), 3);
  EXPECT_TRUE(atTheEnd[2].first.startsWith(QStringLiteral("2027年12月31日（金）")));
}

TEST_F(AgendaCheckPrintTest, CheckWindowListsTheFindingsOfTheWorkingSchedule) {
  StartWithSavedFile();
  view().viewModel().model().basicProgram = 0;
  QString summary;
  QList<QStringList> rows;
  WhenModal([&](QWidget* modal) {
    auto* check = qobject_cast<CheckWindow*>(modal);
    ASSERT_NE(check, nullptr);
    EXPECT_EQ(check->windowTitle(), QStringLiteral("スケジュールの確認"));
    summary = check->summary()->text();
    QTableWidget* table = check->findings();
    for (int row = 0; row < table->rowCount(); ++row) {
      rows.append(
          {table->item(row, 0)->text(), table->item(row, 1)->text(), table->item(row, 2)->text()});
    }
    QTest::keyClick(Focused(check), Qt::Key_Escape);
  });
  Command(ID_VIEW_CHECK);
  ASSERT_FALSE(rows.isEmpty());
  EXPECT_EQ(rows[0], (QStringList{"エラー", "basic-missing",
                                  "基本設定の週間プログラムが指定されていません。"}));
  EXPECT_TRUE(summary.startsWith(QStringLiteral("エラー 1 件、"))) << summary.toStdString();
}

TEST_F(AgendaCheckPrintTest, UsbWriteOfAScheduleWithErrorsAsksAndGoesOnOnlyOnContinue) {
  SaveWithAnError();
  QTemporaryDir stick;
  qputenv("TAVRIN_USB_DRIVES", stick.path().toUtf8());
  AnswerWriteQuestion(QStringLiteral("キャンセル"));
  Command(ID_USB_WRITE);
  EXPECT_EQ(buttons_, (QStringList{"続行", "キャンセル"}));
  EXPECT_TRUE(question_.startsWith(QStringLiteral("スケジュールの確認でエラーが 1 件")))
      << question_.toStdString();
  EXPECT_FALSE(QFile::exists(stick.filePath("VL-3400.BIN")));
  EXPECT_TRUE(messages_.shown.empty());

  QString next;
  AnswerWriteQuestion(QStringLiteral("続行"), [&](QWidget* modal) {
    next = modal->windowTitle();
    QTest::keyClick(Focused(modal), Qt::Key_W, Qt::AltModifier);
  });
  Command(ID_USB_WRITE);
  qunsetenv("TAVRIN_USB_DRIVES");
  EXPECT_EQ(next, QStringLiteral("USBメモリに書き込み"));
  QFile written(stick.filePath("VL-3400.BIN"));
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  QFile saved(work_.filePath("plan.BIN"));
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(written.readAll(), saved.readAll());
}

TEST_F(AgendaCheckPrintTest, CableWriteOfAScheduleWithErrorsAsksAndGoesOnOnlyOnContinue) {
  SaveWithAnError();
  qputenv("TAVRIN_PORTS", "/nonexistent/tty");
  AnswerWriteQuestion(QStringLiteral("キャンセル"));
  Command(ID_CABLE_WRITE);
  EXPECT_EQ(buttons_, (QStringList{"続行", "キャンセル"}));
  EXPECT_FALSE(view().link().PortOpen());

  bool cableDialog = false;
  AnswerWriteQuestion(QStringLiteral("続行"), [&](QWidget* modal) {
    cableDialog = qobject_cast<CableTransferDialog*>(modal) != nullptr;
    QTest::keyClick(Focused(modal), Qt::Key_Escape);
  });
  Command(ID_CABLE_WRITE);
  qunsetenv("TAVRIN_PORTS");
  EXPECT_TRUE(cableDialog);
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(AgendaCheckPrintTest, ACleanScheduleIsWrittenWithoutAQuestion) {
  StartWithSavedFile();
  QTemporaryDir stick;
  qputenv("TAVRIN_USB_DRIVES", stick.path().toUtf8());
  QString first;
  WhenModal([&](QWidget* modal) {
    first = modal->windowTitle();
    QTest::keyClick(Focused(modal), Qt::Key_W, Qt::AltModifier);
  });
  Command(ID_USB_WRITE);
  qunsetenv("TAVRIN_USB_DRIVES");
  EXPECT_EQ(first, QStringLiteral("USBメモリに書き込み"));
  EXPECT_TRUE(QFile::exists(stick.filePath("VL-3400.BIN")));
}

TEST_F(AgendaCheckPrintTest, PdfHoldsEveryPageOfTheReportWithHeaderAndPageNumbers) {
  StartWithSavedFile();
  const QString pdf = work_.filePath("plan.pdf");
  dialogs_.answers.push_back(pdf.toStdString());
  Command(ID_FILE_PDF);
  ASSERT_EQ(dialogs_.requests.size(), 1u);
  EXPECT_EQ(dialogs_.requests[0].defaultFileName, "plan.pdf");
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, pdf.toStdString() + " へのPDFの保存が正常に終了しました。");

  const PageHeader header = HeaderOfView(view().viewModel(), clock_);
  const ReportPainter report(ReportOfView(view().viewModel(), Today(clock_)),
                             QString::fromStdString(header.fileName),
                             QString::fromStdString(header.printedOn), 150);
  QFile file(pdf);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  EXPECT_TRUE(bytes.startsWith("%PDF"));
  const qsizetype pages = bytes.count("/Type /Page\n");
  EXPECT_EQ(pages, report.pageCount());
  // Channels, programs, annual settings, two calendars, the confirmations and the agenda.
  EXPECT_GE(report.pageCount(), 7);

  const QString shots = qEnvironmentVariable("TAVRIN_REPORT_PNG_DIR");
  for (int page = 0; page < report.pageCount(); ++page) {
    TextRecorder recorder(report.pageSize());
    {
      QPainter painter(&recorder);
      report.PaintPage(painter, page);
    }
    const QStringList texts = recorder.texts();
    EXPECT_TRUE(texts.contains(QStringLiteral("plan.BIN"))) << page;
    EXPECT_TRUE(texts.contains(QStringLiteral("印刷日 2026年4月1日"))) << page;
    EXPECT_TRUE(texts.contains(QStringLiteral("%1 / %2").arg(page + 1).arg(report.pageCount())))
        << page;
    QImage image(report.pageSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
      QPainter painter(&image);
      report.PaintPage(painter, page);
    }
    // Something is drawn below the header on every page.
    const QImage body = image.copy(0, image.height() / 10, image.width(), image.height() / 5);
    EXPECT_NE(body, [&] {
      QImage blank(body.size(), body.format());
      blank.fill(Qt::white);
      return blank;
    }()) << page;
    if (!shots.isEmpty()) {
      image.save(
          QDir(shots).filePath(QStringLiteral("report-%1.png").arg(page + 1, 2, 10, QChar('0'))));
    }
  }
}

TEST_F(AgendaCheckPrintTest, CtrlPOpensThePrintDialogAndItsCancelPrintsNothing) {
  StartWithSavedFile();
  bool printDialog = false;
  WhenModal([&](QWidget* modal) {
    printDialog = qobject_cast<QPrintDialog*>(modal) != nullptr;
    QTest::keyClick(Focused(modal), Qt::Key_Escape);
  });
  QTest::keyClick(testing::Focused(app_->frame()), Qt::Key_P, Qt::ControlModifier);
  EXPECT_TRUE(printDialog);
  EXPECT_TRUE(messages_.shown.empty());
}

}  // namespace
}  // namespace tavrin
