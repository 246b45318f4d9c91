#include "app/ui/StartupHooks.h"

#include <sys/resource.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "app/ui/CMainFrame.h"
#include "app/ui/CTavrinApp.h"
#include "app/ui/CTavrinView.h"
#include "app/ui/CommandIds.h"
#include "editors/ui/CProg2.h"
#include "editors/ui/StepDialog.h"
#include "framework/ui/ControlIds.h"
#include "platform/ControlNames.h"

namespace tavrin {
namespace {

using WallClock = std::chrono::system_clock;
WallClock::time_point processStart;

void ReportStartup(const char* probe) {
  WallClock::time_point launch = processStart;
  char* end = nullptr;
  const long long nanoseconds = std::strtoll(probe, &end, 10);
  if (end != probe && *end == '\0' && nanoseconds > 0) {
    launch = WallClock::time_point(
        std::chrono::duration_cast<WallClock::duration>(std::chrono::nanoseconds(nanoseconds)));
  }
  const auto elapsed =
      std::chrono::duration_cast<std::chrono::microseconds>(WallClock::now() - launch);
  std::fprintf(stderr, "startup-ms %.1f\n", elapsed.count() / 1000.0);
  // The processor time the program took for it, threads included, so that a busy machine
  // (which stretches the wall time) still gives a figure to compare.
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const double cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
                       (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
  std::fprintf(stderr, "startup-cpu-ms %.1f\n", cpuMs);
}

// Presses button `id` of the editor sheet once it is up: a kind of the annual page, or its
// confirmation.
void PressInSheet(int id) {
  QTimer::singleShot(200, [id] {
    if (QWidget* sheet = QApplication::activeModalWidget())
      if (auto* button = FindControl<QAbstractButton>(sheet, id)) button->click();
  });
}

// Runs `action` on the modal window of type `Window` (or the one holding it) once it is up.
template <typename Window>
void OnModal(QObject* context, std::function<void(Window&)> action) {
  QTimer::singleShot(700, context, [action] {
    QWidget* modal = QApplication::activeModalWidget();
    Window* window = modal ? qobject_cast<Window*>(modal) : nullptr;
    if (!window && modal) window = modal->findChild<Window*>();
    if (window) action(*window);
  });
}

using Hook = std::function<void(CTavrinView&)>;

Hook Command(int id) {
  return [id](CTavrinView& view) { view.OnCommand(id); };
}

Hook Editor(EditorKind kind) {
  return [kind](CTavrinView& view) { view.OpenEditor(kind); };
}

// The annual page with button `id` pressed once it is up: a kind, or the confirmation.
Hook AnnualPressing(int id) {
  return [id](CTavrinView& view) {
    PressInSheet(id);
    view.OpenEditor(EditorKind::Annual);
  };
}

// A window of the weekly list page, opened the way a user opens it in the school example:
// program 1 has steps on the time-signal channel 1 and the keep channel 2, and channel 3 is not
// in use.
Hook OnWeeklyPage(std::function<void(CTavrinView&, CProg2&)> onPage) {
  return [onPage](CTavrinView& view) {
    CTavrinView* target = &view;
    OnModal<CProg2>(&view, [target, onPage](CProg2& page) { onPage(*target, page); });
    view.OpenEditor(EditorKind::Weekly);
  };
}

Hook WeeklyConfirmation(int channel) {
  return OnWeeklyPage([channel](CTavrinView& view, CProg2& page) {
    OnModal<StepDialog>(&view, [](StepDialog& dialog) { dialog.Confirm(); });
    page.Pick(1, channel);
  });
}

const std::map<std::string, Hook>& Hooks() {
  static const std::map<std::string, Hook> hooks = {
      {"about", [](CTavrinView& view) { view.ShowAbout(); }},
      {"special-menu", [](CTavrinView& view) { view.ShowSpecialMenu(); }},
      {"settings-display", [](CTavrinView& view) { view.ShowSettingsFileDisplay(); }},
      {"guide", Command(ID_HELP_GUIDE)},
      {"channels", Editor(EditorKind::Channel)},
      {"weekly", Editor(EditorKind::Weekly)},
      {"summer-time", Editor(EditorKind::SummerTime)},
      {"radio", Editor(EditorKind::Radio)},
      {"annual", Editor(EditorKind::Annual)},
      {"annual-period", AnnualPressing(ids::annual::kPeriod)},
      {"annual-holiday", AnnualPressing(ids::annual::kHoliday)},
      {"annual-individual", AnnualPressing(ids::annual::kIndividual)},
      {"annual-confirm", AnnualPressing(ids::annual::kConfirmSingle)},
      {"weekly-steps", OnWeeklyPage([](CTavrinView&, CProg2& page) { page.Pick(1, 1); })},
      {"weekly-channel", OnWeeklyPage([](CTavrinView&, CProg2& page) { page.Pick(1, 3); })},
      {"weekly-names", OnWeeklyPage([](CTavrinView&, CProg2& page) { page.ShowNameList(); })},
      {"weekly-overview", OnWeeklyPage([](CTavrinView&, CProg2& page) { page.ShowOverview(); })},
      {"confirm-time-signal", WeeklyConfirmation(1)},
      {"confirm-keep", WeeklyConfirmation(2)},
      {"usb-write", Command(ID_USB_WRITE)},
      {"usb-read", Command(ID_USB_READ)},
      {"cable-write", Command(ID_CABLE_WRITE)},
      {"cable-read", Command(ID_CABLE_READ)},
      {"agenda", Command(ID_VIEW_AGENDA)},
      {"check", Command(ID_VIEW_CHECK)},
      {"next-year", Command(ID_EDIT_NEXT_YEAR)},
  };
  return hooks;
}

// The hook asked for; empty (set but blank) asks for none.
std::string HookName() {
  const char* hook = std::getenv("TAVRIN_TEST_HOOK");
  return hook == nullptr ? std::string() : std::string(hook);
}

}  // namespace

void MarkProcessStart() { processStart = WallClock::now(); }

void InstallStartupHooks(CTavrinApp& app) {
  if (const char* probe = std::getenv("TAVRIN_STARTUP_PROBE")) {
    const std::string value = probe;
    CMainFrame* frame = app.frame();
    // Zero-time timers run after the pending show and paint events of the main window.
    QTimer::singleShot(0, frame, [frame, value] {
      frame->repaint();
      ReportStartup(value.c_str());
      QCoreApplication::exit(0);
    });
    return;
  }
  const std::string name = HookName();
  if (name.empty()) return;
  const auto hook = Hooks().find(name);
  if (hook == Hooks().end()) return;  // refused before the program started
  CTavrinView* view = app.view();
  QTimer::singleShot(300, view, [view, open = hook->second] { open(*view); });
}

std::optional<int> RefuseUnknownTestHook() {
  const std::string name = HookName();
  if (name.empty() || Hooks().count(name) != 0) return std::nullopt;
  std::string known;
  for (const auto& [hook, open] : Hooks()) known += " " + hook;
  std::fprintf(stderr, "tavrin: unknown TAVRIN_TEST_HOOK value \"%s\"; known values:%s\n",
               name.c_str(), known.c_str());
  return 2;
}

}  // namespace tavrin
