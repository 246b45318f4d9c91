#include <gtest/gtest.h>

#include <QApplication>

#include "app/ui/CTavrinApp.h"

// The widget tests' entry: one application object with the program's resources (icons, Japanese
// translations), as the desktop program has them.
int main(int argc, char** argv) {
  QApplication app(argc, argv);
  tavrin::CTavrinApp::InstallResources();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
