// The desktop program's entry point.
#include <QApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "app/StartOptions.h"
#include "app/ui/CTavrinApp.h"
#include "app/ui/StartupHooks.h"
#include "document/DataFolder.h"
#include "model/Clock.h"

namespace {

// Answers --help, --version and a wrong command line on the terminal; nothing when the program
// is to run.
std::optional<int> AnswerOnTerminal(const tavrin::StartOptions& options) {
  switch (options.request) {
    case tavrin::StartRequest::Run:
      return std::nullopt;
    case tavrin::StartRequest::Help:
      std::fputs(tavrin::StartHelpText().c_str(), stdout);
      return 0;
    case tavrin::StartRequest::Version:
      std::fputs(tavrin::StartVersionText().c_str(), stdout);
      return 0;
    case tavrin::StartRequest::Usage:
      std::fputs(tavrin::StartUsageText(options.problem).c_str(), stderr);
      return tavrin::kStartUsageExit;
  }
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  tavrin::MarkProcessStart();
  // The command line is answered before any display is needed: without one, Qt would end the
  // program before it could say what is wrong with its options.
  const tavrin::StartOptions options =
      tavrin::ParseStartOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (std::optional<int> answered = AnswerOnTerminal(options)) return *answered;
  if (std::optional<int> unknownHook = tavrin::RefuseUnknownTestHook()) return *unknownHook;
  // A mistyped clock is refused as tavrin-cli refuses it, not silently given way to the real one.
  if (tavrin::Result<std::optional<tavrin::LocalTime>> fixed = tavrin::FixedTimeFromEnvironment();
      !fixed) {
    std::fprintf(stderr, "tavrin: %s\n", fixed.message().c_str());
    return tavrin::kStartUsageExit;
  }
  QApplication qtApp(argc, argv);
  tavrin::CTavrinApp::InstallResources();
  tavrin::AppServices services;
  services.shippedData = tavrin::ShippedDataFolders(tavrin::ExecutablePath());
  tavrin::CTavrinApp app(services);
  // A second copy hands its file (if any) to the running one and ends.
  QStringList file;
  if (options.file) file << QString::fromStdString(*options.file);
  if (!app.InitInstance(file)) return 0;
  tavrin::InstallStartupHooks(app);
  return QApplication::exec();
}
