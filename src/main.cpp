// The desktop program's entry point.
#include <QApplication>

#include "app/ui/CTavrinApp.h"
#include "app/ui/StartupHooks.h"
#include "document/DataFolder.h"

int main(int argc, char** argv) {
  tavrin::MarkProcessStart();
  QApplication qtApp(argc, argv);
  tavrin::CTavrinApp::InstallResources();
  tavrin::AppServices services;
  services.shippedData = tavrin::ShippedDataFolders(tavrin::ExecutablePath());
  tavrin::CTavrinApp app(services);
  // A second copy ends at once, without a message.
  if (!app.InitInstance(QApplication::arguments().mid(1))) return 0;
  tavrin::InstallStartupHooks(app);
  return QApplication::exec();
}
