// The entry of a widget test that can also leave a window on screen for screenshots under Xvfb:
// a first argument naming one of its modes runs that instead of the tests.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <cstring>
#include <functional>
#include <utility>
#include <vector>

#include "app/ui/CTavrinApp.h"

namespace tavrin::testing {

using ScreenshotModes = std::vector<std::pair<const char*, std::function<int()>>>;

inline int RunTestsOrMode(int argc, char** argv, const ScreenshotModes& modes) {
  QApplication app(argc, argv);
  CTavrinApp::InstallResources();
  for (const auto& [name, mode] : modes)
    if (argc > 1 && std::strcmp(argv[1], name) == 0) return mode();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

}  // namespace tavrin::testing
