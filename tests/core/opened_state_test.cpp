#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>

#include "editors/NameListRules.h"
#include "editors/OpenedState.h"

namespace tavrin {
namespace {

// Cancel asks only when it would lose something: a value of the model or the names, or a text on
// the screen that OK would store.
TEST(OpenedState, ChangedMeansAValueOrAShownTextDiffersFromTheOpening) {
  struct Case {
    const char* what;
    std::function<void(ScheduleModel&, ProgramNameTable&, ScreenTexts&)> change;
    bool changed;
  };
  const Case cases[] = {
      {"nothing", [](ScheduleModel&, ProgramNameTable&, ScreenTexts&) {}, false},
      {"a step confirmed into the model",
       [](ScheduleModel& m, ProgramNameTable&, ScreenTexts&) { m.steps[3].hour = 7; }, true},
      {"an individual day recorded",
       [](ScheduleModel& m, ProgramNameTable&, ScreenTexts&) {
         m.dates[0] = {2026, 8, 4, 9};
       },
       true},
      {"a name", [](ScheduleModel&, ProgramNameTable& n, ScreenTexts&) { n.names[5][0] = 'A'; },
       true},
      {"a cell typed", [](ScheduleModel&, ProgramNameTable&, ScreenTexts& s) { s.now[1] = "9"; },
       true},
      {"a cell typed and typed back",
       [](ScheduleModel&, ProgramNameTable&, ScreenTexts& s) {
         s.now[1] = "9";
         s.now[1] = "4";
       },
       false},
      // Slots the editors reorder on their own.
      {"steps compacted and sorted",
       [](ScheduleModel& m, ProgramNameTable&, ScreenTexts&) { std::swap(m.steps[0], m.steps[3]); },
       false},
      {"periods and dates moved up",
       [](ScheduleModel& m, ProgramNameTable&, ScreenTexts&) {
         std::swap(m.periods[0], m.periods[4]);
         std::swap(m.dates[0], m.dates[9]);
       },
       false},
      {"two periods in the other order, so the other one wins",
       [](ScheduleModel& m, ProgramNameTable&, ScreenTexts&) {
         std::swap(m.periods[4], m.periods[6]);
       },
       true},
      {"a model refilled on screen",  // the annual page's kinds, the calendar's months
       [](ScheduleModel&, ProgramNameTable&, ScreenTexts& s) { s.filled = s.now = {"x"}; }, false},
  };
  for (const Case& c : cases) {
    auto model = std::make_unique<ScheduleModel>();
    std::memset(model.get(), 0, sizeof *model);
    ClearModel(*model);
    model->steps[3] = {1, 1, {1, 0, 0, 0, 0, 0, 0}, 6, 0, 2};
    model->periods[4] = {kEveryYear, 7, 21, 8, 31, 4};
    model->periods[6] = {kEveryYear, 8, 1, 8, 10, 5};
    model->dates[9] = {2026, 8, 3, 9};
    auto names = std::make_unique<ProgramNameTable>();
    const OpenedState opened(*model, *names);
    ScreenTexts screen{{"", "4", "★"}, {"", "4", "★"}};
    c.change(*model, *names, screen);
    EXPECT_EQ(opened.Changed(*model, *names, screen), c.changed) << c.what;
  }
}

TEST(NameList, ARefusedNameSaysWhichCharactersTheFileCannotHold) {
  const std::pair<const char*, const char*> cases[] = {
      {"朝の部", ""},
      {"ABC 123", ""},
      {"朝😀の部😀", "「😀」はシフトJISで表せない文字のため、プログラム名に使えません。"},
      {"🎵朝ä", "「🎵ä」はシフトJISで表せない文字のため、プログラム名に使えません。"},
      {"₩€", "「₩€」はシフトJISで表せない文字のため、プログラム名に使えません。"},
      {"", ""},
  };
  for (const auto& [typed, note] : cases) EXPECT_EQ(names::RefusalNote(typed), note) << typed;
}

}  // namespace
}  // namespace tavrin
