// The desktop program started as a user would, with every service it reaches scripted: messages,
// file dialogs, the profile and the clock.
#pragma once

#include <QFile>
#include <functional>
#include <memory>

#include "GridDriving.h"
#include "GuiTestSupport.h"
#include "WidgetDriving.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/CTavrinApp.h"
#include "app/ui/CTavrinView.h"
#include "document/ProfileStore.h"
#include "framework/ui/ControlIds.h"
#include "model/Clock.h"

namespace tavrin::testing {

// The summer-time page as a user fills it: the check box, then each list of the rule, then OK.
inline void FillSummerTimeSheet(QWidget* sheet) {
  Click(sheet, ids::summer::kEnabled);
  CVSFlexGrid* grid = FindControl<CVSFlexGrid>(sheet, ids::summer::kGrid);
  Choose(grid, 1, 1, 2);  // 3 月
  Choose(grid, 1, 2, 4);  // 最終
  Choose(grid, 1, 3, 0);  // 日曜日
  Choose(grid, 1, 4, 2);  // 2 時
  Choose(grid, 2, 1, 9);  // 10 月
  Choose(grid, 2, 2, 4);  // 最終
  Choose(grid, 2, 3, 0);  // 日曜日
  Choose(grid, 2, 4, 3);  // 3 時
  Click(sheet, kIdOk);
}

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
  // Chooses the command `id` from the main window's menus with the mouse.
  void Command(int id) { ChooseFromMenu(app_->frame()->menuBar(), app_->frame()->action(id)); }
  // Changes the document as a user does: summer time set on its page, opened by its button.
  void SetSummerTimeByHand() {
    WhenModal(FillSummerTimeSheet);
    QTest::mouseClick(app_->view()->editorButton(3), Qt::LeftButton);
  }
  // Alt and `key` on the main form.
  void AltKey(Qt::Key key) { QTest::keyClick(Focused(app_->frame()), key, Qt::AltModifier); }
  // Opens the special menu with Alt+J, Alt+V; `answer` gets it and must close it.
  void OpenSpecialMenu(std::function<void(QWidget*)> answer) {
    WhenModal(std::move(answer));
    AltKey(Qt::Key_J);
    AltKey(Qt::Key_V);
  }
  // Opens the serial window from the special menu, then closes the menu.
  void OpenSerialWindow() {
    OpenSpecialMenu([](QWidget* menu) {
      ClickLabelled(menu, QStringLiteral("シリアル通信"));
      CloseBox(menu);
    });
    ASSERT_NE(app_->view()->diagnosticsWindow(), nullptr);
  }
  // The shipped holiday file in the data folder, so that no report of its absence comes between
  // the messages a test answers.
  void WriteHolidayFile() {
    QFile holidays(QStringLiteral(TAVRIN_SOURCE_DIR "/src/resources/Tavrin-Holidays.ini"));
    ASSERT_TRUE(holidays.open(QIODevice::ReadOnly));
    data_.Write(QStringLiteral("Tavrin-Holidays.ini"), holidays.readAll());
  }

  ScopedDataFolder data_;
  MemoryProfileStore profile_;
  FakeMessages messages_;
  FakeDialogs dialogs_;
  FixedClock clock_{LocalTime{2026, 4, 1, 9, 0, 0}};
  std::unique_ptr<CTavrinApp> app_;
};

}  // namespace tavrin::testing
