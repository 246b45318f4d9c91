// How long the weekly overview and the step dialog take from the command to the window shown and
// painted, on a schedule of 1000 steps of which program 1 holds 999 on one channel. The first
// opening of a window in the process (after a stand-in for the main window) is reported as cold,
// the median of the following ones as warm; the step dialog's 100 ms opening timer is reported on
// its own.
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "editors/WeeklyListRules.h"
#include "editors/ui/OverviewDialog.h"
#include "editors/ui/StepDialog.h"
#include "platform/CVSFlexGrid.h"
#include "platform/UiFonts.h"

namespace tavrin {
namespace {

constexpr int kWarmRuns = 15;

// Notes the first paint of a widget.
class PaintWatch : public QObject {
 public:
  bool painted = false;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted = true;
    return QObject::eventFilter(watched, event);
  }
};

void FillSchedule(ScheduleModel& model) {
  ClearModel(model);
  model.channels[0] = {kChannelTimeSignal, 0, 10, 0};
  model.channels[1] = {kChannelKeep, 0, 0, 0};
  for (int i = 0; i < kStepCount - 1; ++i) {
    WeeklyStep& step = model.steps[static_cast<std::size_t>(i)];
    step = WeeklyStep{};
    step.program = 1;
    step.channel = 1;
    step.days = {0, 1, 1, 1, 1, 1, 0};
    step.hour = static_cast<uint8_t>(i / 60 % 24);
    step.minute = static_cast<uint8_t>(i % 60);
    step.action = static_cast<uint8_t>(i % 10 + 1);
  }
  WeeklyStep& keep = model.steps[kStepCount - 1];
  keep = WeeklyStep{};
  keep.program = 2;
  keep.channel = 2;
  keep.days = {1, 0, 0, 0, 0, 0, 1};
  keep.hour = 8;
  keep.action = kKeepOn;
}

struct Timing {
  double shownMs;
  double readyMs;  // the step dialog's opening timer included; 0 for the overview
};

// `open` runs the command and returns the window, not yet shown.
Timing Measure(const std::function<QDialog*()>& open) {
  QElapsedTimer clock;
  clock.start();
  std::unique_ptr<QDialog> window(open());
  auto* grid = window->findChild<CVSFlexGrid*>();
  PaintWatch watch;
  grid->viewport()->installEventFilter(&watch);
  window->show();
  while (!watch.painted) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  Timing timing{clock.nsecsElapsed() / 1e6, 0};
  if (auto* steps = qobject_cast<StepDialog*>(window.get())) {
    while (!steps->Ready()) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    timing.readyMs = clock.nsecsElapsed() / 1e6;
  }
  grid->viewport()->removeEventFilter(&watch);
  return timing;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void Report(const char* name, const std::function<QDialog*()>& open) {
  const Timing cold = Measure(open);
  std::vector<double> shown, ready;
  for (int run = 0; run < kWarmRuns; ++run) {
    const Timing warm = Measure(open);
    shown.push_back(warm.shownMs);
    ready.push_back(warm.readyMs);
  }
  std::printf("%-14s cold %7.1f ms   warm median %7.1f ms (min %.1f, max %.1f)", name, cold.shownMs,
              Median(shown), *std::min_element(shown.begin(), shown.end()),
              *std::max_element(shown.begin(), shown.end()));
  if (cold.readyMs > 0)
    std::printf("   with the 100 ms timer: cold %.1f, warm median %.1f", cold.readyMs,
                Median(ready));
  std::printf("\n");
}

}  // namespace
}  // namespace tavrin

int main(int argc, char** argv) {
  using namespace tavrin;
  QApplication app(argc, argv);
  auto model = std::make_unique<ScheduleModel>();
  FillSchedule(*model);
  auto names = std::make_unique<ProgramNameTable>();
  auto clipboards = std::make_unique<EditorClipboards>();
  IniSettings ini;
  BuildChimeLists(ini);
  struct NoMessages : MessageSink {
    MsgAnswer Show(const std::string&, const std::string&, MsgButtons, MsgIcon) override {
      return MsgAnswer::Ok;
    }
  } messages;
  WindowPos positions[4] = {{150, 100}, {150, 100}, {150, 100}, {150, 100}};
  WeeklyContext context{*model,   *names,
                        messages, *clipboards,
                        ini,      {positions[0], positions[1], positions[2], positions[3]}};

  // The command comes from the main window, which is up already: the process has met the display
  // and the Japanese font before any editor window opens.
  QLabel mainWindow("チャンネル設定　週間プログラム　年間プログラム　サマータイム　ラジオ選局");
  mainWindow.setFont(UiGothicFont());
  mainWindow.show();
  (void)QTest::qWaitForWindowExposed(&mainWindow);

  // Which window goes first decides which one pays for the process's first window; both orders
  // are worth a look, so the order is an argument.
  const bool stepsFirst = argc > 1 && std::string(argv[1]) == "steps-first";
  auto overview = [&] { return static_cast<QDialog*>(new OverviewDialog(*model, ini)); };
  auto steps = [&] {
    const int rows = weekly::StepRows(*model, 1, 1, kChannelTimeSignal);
    return static_cast<QDialog*>(new StepDialog(context, 1, 1, kChannelTimeSignal, rows));
  };
  if (stepsFirst) {
    Report("step dialog", steps);
    Report("overview", overview);
  } else {
    Report("overview", overview);
    Report("step dialog", steps);
  }
  return 0;
}
