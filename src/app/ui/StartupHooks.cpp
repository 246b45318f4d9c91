#include "app/ui/StartupHooks.h"

#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/ui/CMainFrame.h"
#include "app/ui/CTavrinApp.h"
#include "app/ui/CTavrinView.h"
#include "app/ui/CommandIds.h"

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
  const char* hook = std::getenv("TAVRIN_TEST_HOOK");
  if (hook == nullptr) return;
  const std::string name = hook;
  CTavrinView* view = app.view();
  QTimer::singleShot(300, view, [view, name] {
    if (name == "about") {
      view->ShowAbout();
    } else if (name == "special-menu") {
      view->ShowSpecialMenu();
    } else if (name == "settings-display") {
      view->ShowSettingsFileDisplay();
    } else if (name == "summer-time") {
      view->OpenEditor(EditorKind::SummerTime);
    } else if (name == "usb-write") {
      view->OnCommand(ID_USB_WRITE);
    } else if (name == "usb-read") {
      view->OnCommand(ID_USB_READ);
    } else if (name == "cable-write") {
      view->OnCommand(ID_CABLE_WRITE);
    } else if (name == "cable-read") {
      view->OnCommand(ID_CABLE_READ);
    }
  });
}

}  // namespace tavrin
