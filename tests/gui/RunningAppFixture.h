// The desktop program started as a user would, with every service it reaches scripted: messages,
// file dialogs, the profile and the clock.
#pragma once

#include <memory>

#include "GuiTestSupport.h"
#include "app/ui/CTavrinApp.h"
#include "document/ProfileStore.h"
#include "model/Clock.h"

namespace tavrin::testing {

class RunningAppFixture : public ::testing::Test {
 protected:
  RunningAppFixture() {
    // The program's own dialogs leave the extension to the program; an unanswered question
    // is one the user closed.
    dialogs_.appendsDefaultExtension = false;
    messages_.unanswered = MsgAnswer::Cancel;
  }
  AppServices services() { return AppServices{&profile_, &messages_, &dialogs_, &clock_}; }
  void Start(const QStringList& arguments = {}) {
    app_ = std::make_unique<CTavrinApp>(services());
    ASSERT_TRUE(app_->InitInstance(arguments));
  }

  ScopedDataFolder data_;
  MemoryProfileStore profile_;
  FakeMessages messages_;
  FakeDialogs dialogs_;
  FixedClock clock_{LocalTime{2026, 4, 1, 9, 0, 0}};
  std::unique_ptr<CTavrinApp> app_;
};

}  // namespace tavrin::testing
