// Cell editing as the machine the grid drives: the hooks' order, every way an edit ends, and the
// typing rule proven over every list a page offers.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "calendar/AnnualRules.h"
#include "calendar/SummerTimeRules.h"
#include "editors/ChannelRules.h"
#include "editors/StepRules.h"
#include "grid/CellEditing.h"
#include "model/IniSettings.h"

namespace tavrin::grid {
namespace {

using Log = std::vector<std::string>;

std::string Name(Cell cell) { return std::to_string(cell.row) + "," + std::to_string(cell.col); }

// A grid of text cells whose column 1 has `list` and whose column 2 is edited as text; every hook
// is written to the log.
class FakeGrid : public CellHost {
 public:
  explicit FakeGrid(CellList list = {}) : list_(std::move(list)) {}

  bool Editable(Cell cell) const override { return editable && cell.row >= 1; }
  std::optional<CellList> ListOf(Cell cell) const override {
    if (cell.col == 1) return list_;
    return std::nullopt;
  }
  std::string Text(Cell cell) const override {
    const auto found = texts.find(Name(cell));
    return found == texts.end() ? std::string() : found->second;
  }
  void BeforeEdit(Cell cell) override { log.push_back("before " + Name(cell)); }
  bool Validate(Cell cell, const std::string& text) override {
    log.push_back("validate " + Name(cell) + " " + text);
    if (during) during();
    return text != refused;
  }
  void Store(Cell cell, const std::string& text) override {
    log.push_back("store " + Name(cell) + " " + text);
    texts[Name(cell)] = text;
  }
  void AfterEdit(Cell cell) override { log.push_back("after " + Name(cell)); }

  bool editable = true;
  std::map<std::string, std::string> texts;
  std::string refused = "\x01";
  std::function<void()> during;
  Log log;

 private:
  CellList list_;
};

const CellList kHours = [] {
  CellList list{{}, true};
  for (int h = 0; h < 24; ++h) list.items.push_back(std::to_string(h) + " 時");
  return list;
}();

constexpr Cell kListCell{1, 1};
constexpr Cell kTextCell{1, 2};

// One event as a word: "open", "key X", "bs", "enter", "tab", "esc", "down", "up", "pick N",
// "click R,C", "elsewhere", "focus", "edited X".
Event Parse(const std::string& word) {
  const std::string arg =
      word.find(' ') == std::string::npos ? "" : word.substr(word.find(' ') + 1);
  const std::string verb = word.substr(0, word.find(' '));
  if (verb == "open") return input::Open{kListCell};
  if (verb == "opentext") return input::Open{kTextCell};
  if (verb == "key") return input::Key{kListCell, arg};
  if (verb == "textkey") return input::Key{kTextCell, arg};
  if (verb == "bs") return input::BackSpace{};
  if (verb == "enter") return input::Enter{};
  if (verb == "tab") return input::Tab{};
  if (verb == "esc") return input::Escape{};
  if (verb == "down") return input::Step{1};
  if (verb == "up") return input::Step{-1};
  if (verb == "pick") return input::Pick{std::stoi(arg)};
  if (verb == "click") return input::ClickCell{{std::stoi(arg), std::stoi(arg.substr(2))}};
  if (verb == "elsewhere") return input::ClickElsewhere{};
  if (verb == "focus") return input::FocusLost{};
  if (verb == "edited") return input::Edited{arg};
  ADD_FAILURE() << "no event " << word;
  return input::Escape{};
}

std::string Letter(Answer answer) {
  const char* outcome = answer.outcome == Outcome::Store    ? "S"
                        : answer.outcome == Outcome::Refuse ? "R"
                                                            : "K";
  return std::string(outcome) + (answer.proceed ? "" : "!");
}

// A sequence of events on the hour list at (1,1), starting from `before`: the answers (S stored,
// R refused, K kept; "!" when what the event leads to must not go on), the hooks that ran, the
// cell's text afterwards and whether an editor is still open.
TEST(CellEditing, EveryWayAnEditEnds) {
  struct Case {
    const char* name;
    std::string before;
    std::vector<std::string> events;
    std::string answers;
    Log hooks;
    std::string after;
    Phase phase = Phase::Idle;
    std::string refused = "\x01";  // the value the page refuses
  };
  const Case cases[] = {
      {"a typed hour, Enter",
       "",
       {"key 2", "key 1", "enter"},
       "KKS",
       {"before 1,1", "validate 1,1 21 時", "store 1,1 21 時", "after 1,1"},
       "21 時"},
      {"24 is no hour: refused, kept",
       "3 時",
       {"key 2", "key 4", "enter"},
       "KRK",
       {"before 1,1"},
       "3 時"},
      {"a refused key stays typed until taken back",
       "",
       {"key 2", "key 9", "bs", "key 3", "enter"},
       "KRKKS",
       {"before 1,1", "validate 1,1 23 時", "store 1,1 23 時", "after 1,1"},
       "23 時"},
      {"BackSpace to nothing shows the value again",
       "5 時",
       {"key 1", "bs", "enter"},
       "KKS",
       {"before 1,1", "validate 1,1 5 時", "store 1,1 5 時", "after 1,1"},
       "5 時"},
      {"BackSpace with nothing typed keeps an arrowed item",
       "5 時",
       {"open", "down", "bs", "enter"},
       "KKKS",
       {"before 1,1", "validate 1,1 6 時", "store 1,1 6 時", "after 1,1"},
       "6 時"},
      {"leading zeros",
       "",
       {"key 0", "key 0", "key 7", "enter"},
       "KKKS",
       {"before 1,1", "validate 1,1 7 時", "store 1,1 7 時", "after 1,1"},
       "7 時"},
      {"Escape keeps the value", "3 時", {"key 8", "esc"}, "KK", {"before 1,1"}, "3 時"},
      {"Tab commits",
       "",
       {"key 9", "tab"},
       "KS",
       {"before 1,1", "validate 1,1 9 時", "store 1,1 9 時", "after 1,1"},
       "9 時"},
      {"a click on another cell commits",
       "",
       {"key 1", "key 2", "click 2,1"},
       "KKS",
       {"before 1,1", "validate 1,1 12 時", "store 1,1 12 時", "after 1,1"},
       "12 時"},
      {"a click on the open cell leaves it open",
       "",
       {"key 1", "click 1,1"},
       "KK!",
       {"before 1,1"},
       "",
       Phase::ListOpen},
      {"a click elsewhere commits",
       "",
       {"key 4", "elsewhere"},
       "KS",
       {"before 1,1", "validate 1,1 4 時", "store 1,1 4 時", "after 1,1"},
       "4 時"},
      {"the keyboard leaving commits",
       "",
       {"key 4", "focus"},
       "KS",
       {"before 1,1", "validate 1,1 4 時", "store 1,1 4 時", "after 1,1"},
       "4 時"},
      {"a list left with nothing picked keeps the cell",
       "x",
       {"open", "tab"},
       "KK",
       {"before 1,1"},
       "x"},
      {"a refusal by the page keeps the list open, the move waits",
       "",
       {"key 1", "click 2,1"},
       "KK!",
       {"before 1,1", "validate 1,1 1 時"},
       "",
       Phase::ListOpen,
       "1 時"},
      {"arrows from nothing start at either end",
       "",
       {"open", "up", "enter"},
       "KKS",
       {"before 1,1", "validate 1,1 23 時", "store 1,1 23 時", "after 1,1"},
       "23 時"},
      {"arrows stop at the ends",
       "23 時",
       {"open", "down", "enter"},
       "KKS",
       {"before 1,1", "validate 1,1 23 時", "store 1,1 23 時", "after 1,1"},
       "23 時"},
      {"a picked item",
       "",
       {"open", "key 2", "pick 4"},
       "KKS",
       {"before 1,1", "validate 1,1 4 時", "store 1,1 4 時", "after 1,1"},
       "4 時"},
      {"no item past the end", "", {"open", "pick 24", "esc"}, "KKK", {"before 1,1"}, ""},
      {"a second open is nothing",
       "",
       {"key 3", "open", "enter"},
       "KKS",
       {"before 1,1", "validate 1,1 3 時", "store 1,1 3 時", "after 1,1"},
       "3 時"},
      {"while idle nothing but opening does anything",
       "5 時",
       {"enter", "tab", "bs", "esc", "down", "click 2,1", "elsewhere", "focus"},
       "KKKKKKKK",
       {},
       "5 時"},
  };
  for (const Case& c : cases) {
    FakeGrid grid(kHours);
    grid.texts[Name(kListCell)] = c.before;
    grid.refused = c.refused;
    CellEditing editing(grid);
    std::string answers;
    for (const std::string& event : c.events) answers += Letter(editing.Handle(Parse(event)));
    EXPECT_EQ(answers, c.answers) << c.name;
    EXPECT_EQ(grid.log, c.hooks) << c.name;
    EXPECT_EQ(grid.Text(kListCell), c.after) << c.name;
    EXPECT_EQ(editing.phase(), c.phase) << c.name;
  }
}

// The line editor: opened by a key it starts anew, opened by Enter it starts from the cell's text
// (which the window shows selected, so a key replaces it); the page's refusal keeps it open.
TEST(CellEditing, TheLineEditor) {
  FakeGrid grid;
  grid.texts[Name(kTextCell)] = "1";
  CellEditing editing(grid);
  editing.Handle(Parse("textkey 4"));
  EXPECT_EQ(editing.phase(), Phase::LineOpen);
  EXPECT_EQ(editing.shown(), "4");
  editing.Handle(Parse("edited 45"));
  grid.refused = "45";
  EXPECT_EQ(Letter(editing.Handle(Parse("enter"))), "K!");
  EXPECT_EQ(editing.shown(), "45") << "the refused text stays to be mended";
  editing.Handle(Parse("edited 46"));
  EXPECT_EQ(Letter(editing.Handle(Parse("tab"))), "S");
  EXPECT_EQ(grid.Text(kTextCell), "46");

  editing.Handle(Parse("opentext"));
  EXPECT_EQ(editing.shown(), "46");
  EXPECT_EQ(editing.list(), nullptr);
  editing.Handle(Parse("bs"));
  EXPECT_EQ(editing.typed(), "4");
  EXPECT_EQ(Letter(editing.Handle(Parse("esc"))), "K");
  EXPECT_EQ(grid.Text(kTextCell), "46");
  EXPECT_EQ(editing.cell(), std::nullopt);

  grid.editable = false;
  editing.Handle(Parse("textkey 7"));
  EXPECT_EQ(editing.phase(), Phase::Idle) << "a read-only cell opens nothing";
}

// While the page answers a commit (a message box is up), the keys and clicks that reach the grid
// change nothing; BackSpace takes back a whole character, not a byte of it.
TEST(CellEditing, ACommitWaitingForThePageAndCharactersOfSeveralBytes) {
  FakeGrid grid(CellList{{"第 1", "第 2", "最終"}, true});
  CellEditing editing(grid);
  std::vector<std::string> during;
  grid.during = [&] {
    EXPECT_EQ(editing.phase(), Phase::Committing);
    for (const char* word : {"key 2", "esc", "focus", "enter"})
      during.push_back(Letter(editing.Handle(Parse(word))));
  };
  editing.Handle(Parse("key 最"));
  EXPECT_EQ(editing.highlighted(), 2);
  editing.Handle(Parse("key 終"));
  editing.Handle(Parse("bs"));
  EXPECT_EQ(editing.typed(), "最");
  EXPECT_EQ(editing.shown(), "最");
  EXPECT_EQ(Letter(editing.Handle(Parse("enter"))), "S");
  EXPECT_EQ(during, (std::vector<std::string>{"K!", "K!", "K!", "K!"}));
  EXPECT_EQ(grid.Text(kListCell), "最終");
}

// --- The typing rule, over every list of every page ---

// A page's list as the page builds it, and whether the page's users type it by numbers (the
// test's own expectation: "第 2" is typed "2").
struct PageList {
  std::string page;
  std::string cell;
  CellList list;
  bool byNumbers;
};

std::vector<PageList> EveryPageList() {
  std::vector<PageList> lists;
  const char* channelCells[] = {"タイプ", "報時（分）", "報時（秒）", "立ち上り時間"};
  const bool channelNumbers[] = {false, true, true, false};
  for (int col = 0; col < channels::kCols; ++col)
    lists.push_back(
        {"channels", channelCells[col], channels::ColumnChoices(col), channelNumbers[col]});

  const IniSettings ini;
  for (int kind : {kChannelTimeSignal, kChannelKeep}) {
    const steps::ActionChoices choices(kind, ini);
    const std::string page = kind == kChannelTimeSignal ? "steps (time signal)" : "steps (keep)";
    for (int col = 0; col < steps::kCols; ++col) {
      const std::optional<CellList> list = steps::ColumnChoices(col, choices);
      if (col < steps::kDayCols) {
        EXPECT_FALSE(list) << page << " day column " << col << " has a list";
        continue;
      }
      const char* cell = col == steps::kHourCol     ? "時刻（時）"
                         : col == steps::kMinuteCol ? "時刻（分）"
                                                    : "action";
      const bool numbers = col != steps::kActionCol || kind == kChannelTimeSignal;
      if (list)
        lists.push_back({page, cell, *list, numbers});
      else
        ADD_FAILURE() << page << " " << cell << " has no list";
    }
  }

  const char* summerCells[] = {"月", "第何週", "曜日", "実施時刻"};
  for (int col = 0; col < summer::kCols; ++col)
    lists.push_back(
        {"summer time", summerCells[col], summer::ColumnChoices(col), col != summer::kWeekdayCol});

  // Named programs, one whose name starts with digits.
  ProgramNameTable names{};
  std::memcpy(names.names[2].data(), "5min", 4);
  std::memcpy(names.names[10].data(), "\x92\xa9\x97\xe7", 4);  // 朝礼
  const YearPair years{2026, 2027};
  using annual::Column;
  const std::pair<const char*, Column> annualCells[] = {{"開始年/実施年", Column::Year},
                                                        {"月", Column::Month},
                                                        {"日", Column::Day},
                                                        {"プログラム番号", Column::Program}};
  for (const auto& [cell, column] : annualCells)
    lists.push_back({"annual", cell, annual::ColumnChoices(column, years, names), true});
  return lists;
}

// The item a user means by `typed`, worked out here from the items' texts: the first that starts
// with it, or for a list typed by numbers the first whose number starts with the typed number.
std::optional<std::string> Meant(const PageList& list, const std::string& typed) {
  static const std::regex digits("[0-9]+");
  const bool number = list.byNumbers && std::regex_match(typed, digits);
  for (const std::string& item : list.list.items) {
    if (item.rfind(typed, 0) == 0) return item;
    std::smatch found;
    if (number && std::regex_search(item, found, digits) &&
        std::to_string(std::stoll(found.str())).rfind(std::to_string(std::stoll(typed)), 0) == 0)
      return item;
  }
  return std::nullopt;
}

// Every string of one to three keys of the digits, "-" and BackSpace ("<"), typed into every list
// of every page, on an empty cell and on one that holds an item, then Enter: the cell holds the
// item the typing means, or keeps its value; every key that makes the typing mean nothing is
// refused (a beep), and no other.
TEST(CellEditing, TypedKeysPickTheMeantItemOrAreRefusedOnEveryPageList) {
  const std::string keys = "0123456789-<";
  std::vector<std::string> strings;
  for (char a : keys) {
    strings.push_back(std::string(1, a));
    for (char b : keys) {
      strings.push_back(std::string{a, b});
      for (char c : keys) strings.push_back(std::string{a, b, c});
    }
  }
  ASSERT_EQ(strings.size(), 12u + 144u + 1728u);
  for (const PageList& list : EveryPageList()) {
    const std::string where = list.page + " " + list.cell;
    ASSERT_FALSE(list.list.items.empty()) << where;
    EXPECT_EQ(list.list.numeric, list.byNumbers) << where << ": typed by numbers";
    int failures = 0;
    for (const std::string& before : {std::string(), list.list.items.back()}) {
      for (const std::string& typedKeys : strings) {
        FakeGrid grid(list.list);
        grid.texts[Name(kListCell)] = before;
        CellEditing editing(grid);
        editing.Handle(input::Open{kListCell});
        std::string typed;
        std::string refusals, expectedRefusals;
        for (char key : typedKeys) {
          Answer answer;
          if (key == '<') {
            if (!typed.empty()) typed.pop_back();
            answer = editing.Handle(input::BackSpace{});
          } else {
            typed += key;
            answer = editing.Handle(input::Key{kListCell, std::string(1, key)});
            if (!Meant(list, typed)) expectedRefusals += key;
          }
          if (answer.outcome == Outcome::Refuse) refusals += key;
        }
        editing.Handle(input::Enter{});
        const std::string expected = typed.empty() ? before : Meant(list, typed).value_or(before);
        const std::string got = grid.Text(kListCell);
        if ((got != expected || refusals != expectedRefusals) && ++failures <= 5)
          ADD_FAILURE() << where << ", cell \"" << before << "\", keys \"" << typedKeys
                        << "\": holds \"" << got << "\", meant \"" << expected << "\"; refused \""
                        << refusals << "\", should refuse \"" << expectedRefusals << "\"";
      }
    }
  }
}

}  // namespace
}  // namespace tavrin::grid
