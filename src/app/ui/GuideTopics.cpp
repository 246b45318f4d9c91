#include "app/ui/GuideTopics.h"

#include <QPrintDialog>
#include <algorithm>
#include <functional>

#include "app/ui/CMainFrame.h"
#include "calendar/ui/AnnualConfirmDialog.h"
#include "calendar/ui/CProg4.h"
#include "calendar/ui/CProg6.h"
#include "calendar/ui/NextYearDialog.h"
#include "editors/ui/CProg1.h"
#include "editors/ui/CProg2.h"
#include "editors/ui/CProg5.h"
#include "editors/ui/ChannelDialog.h"
#include "editors/ui/NameListDialog.h"
#include "editors/ui/OverviewDialog.h"
#include "editors/ui/StepDialog.h"
#include "framework/ui/CProgSheet.h"
#include "framework/ui/ConfirmationForm.h"
#include "framework/ui/EditorPage.h"
#include "maintenance/ui/AboutDialog.h"
#include "maintenance/ui/SettingsDisplayDialog.h"
#include "maintenance/ui/SpecialMenuDialog.h"
#include "review/ui/AgendaWindow.h"
#include "review/ui/CheckWindow.h"
#include "review/ui/CompareWindow.h"
#include "transfer/ui/CableTransferDialog.h"
#include "transfer/ui/SerialDiagnosticsDialog.h"
#include "transfer/ui/SerialSettingsDialog.h"
#include "transfer/ui/UsbDriveDialog.h"

namespace tavrin {
namespace {

constexpr char kMainWindowPage[] = "main-window.md";

struct Topic {
  std::function<bool(const QWidget*)> is;
  const char* page;
};

template <typename Window>
Topic About(const char* page) {
  return {[](const QWidget* widget) { return qobject_cast<const Window*>(widget) != nullptr; },
          page};
}

const std::vector<Topic>& Topics() {
  static const std::vector<Topic> topics = {
      About<CMainFrame>(kMainWindowPage),
      About<AboutDialog>(kMainWindowPage),
      About<CProg1>("channels.md"),
      About<ChannelDialog>("channels.md"),
      About<CProg2>("weekly.md"),
      About<StepDialog>("weekly.md"),
      About<NameListDialog>("weekly.md"),
      About<OverviewDialog>("weekly.md"),
      About<ConfirmationForm>("weekly.md"),
      About<CProg6>("annual.md"),
      About<AnnualConfirmDialog>("annual.md"),
      About<NextYearDialog>("next-school-year.md"),
      About<CProg4>("summer-time.md"),
      About<CProg5>("radio.md"),
      About<UsbDriveDialog>("transfers.md"),
      About<CableTransferDialog>("transfers.md"),
      About<AgendaWindow>("review.md"),
      About<CheckWindow>("review.md"),
      About<CompareWindow>("review.md"),
      About<QPrintDialog>("printing.md"),
      About<SpecialMenuDialog>("maintenance.md"),
      About<SettingsDisplayDialog>("maintenance.md"),
      About<SerialDiagnosticsDialog>("maintenance.md"),
      About<SerialSettingsDialog>("maintenance.md"),
  };
  return topics;
}

std::string TopicOf(const QWidget* widget) {
  for (const Topic& topic : Topics()) {
    if (topic.is(widget)) return topic.page;
  }
  return {};
}

}  // namespace

std::string GuidePageFor(const QWidget* widget) {
  for (const QWidget* at = widget; at != nullptr; at = at->parentWidget()) {
    // The sheet's own buttons belong to the page it shows.
    if (const auto* sheet = qobject_cast<const CProgSheet*>(at); sheet && sheet->Page()) {
      if (std::string page = TopicOf(sheet->Page()); !page.empty()) return page;
    }
    if (std::string page = TopicOf(at); !page.empty()) return page;
  }
  return kMainWindowPage;
}

std::vector<std::string> GuideTopicPages() {
  std::vector<std::string> pages;
  for (const Topic& topic : Topics()) {
    if (std::find(pages.begin(), pages.end(), topic.page) == pages.end())
      pages.push_back(topic.page);
  }
  return pages;
}

}  // namespace tavrin
