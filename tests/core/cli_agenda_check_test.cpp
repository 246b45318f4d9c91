// tavrin-cli agenda and check: outputs against golden files, and unusable input refused with a
// message and exit code 2.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <stdexcept>

#include "CliRun.h"
#include "GoldenCases.h"
#include "TempFolder.h"
#include "cli/Commands.h"

namespace tavrin {
namespace {

using testing::Call;
using testing::GoldenCaseName;
using testing::GoldenFolders;
using testing::GoldenRoot;
using testing::Lines;
using testing::Outcome;
using testing::ReadBytes;
using testing::SameAsGolden;
using testing::TempFolder;
using testing::WriteBytes;

const std::string kSource = TAVRIN_SOURCE_DIR;
const std::string kGolden = TAVRIN_GOLDEN_DIR;
const std::string kSchool = kSource + "/examples/school.BIN";
const std::string kNow = "--now=2026-12-08T09:00:00";

TEST(CliAgenda, SchoolAroundTheTurnOfTheYearMatchesTheGoldenFile) {
  Outcome run = Call(RunAgenda, {kSchool, "--from", "2026-12-20", "--to=2027-01-12"});
  ASSERT_EQ(run.code, kExitOk) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(Lines(run.out), Lines(ReadBytes(kGolden + "/agenda/school/expected.jsonl")));
}

TEST(CliAgenda, WithoutDatesBothWholeYears) {
  Outcome all = Call(RunAgenda, {kSchool});
  ASSERT_EQ(all.code, kExitOk) << all.err;
  const std::vector<std::string> lines = Lines(all.out);
  ASSERT_EQ(lines.size(), 365u + 365u);
  EXPECT_EQ(lines.front().rfind("{\"date\":\"2026-01-01\",", 0), 0u);
  EXPECT_EQ(lines.back().rfind("{\"date\":\"2027-12-31\",", 0), 0u);
  // One open end takes the file's first or last day.
  EXPECT_EQ(Lines(Call(RunAgenda, {kSchool, "--from", "2027-12-30"}).out).size(), 2u);
  EXPECT_EQ(Lines(Call(RunAgenda, {kSchool, "--to", "2026-01-02"}).out).size(), 2u);
}

// Every folder under golden/check holds a model (model.json), its data folder (data/) and the
// findings check prints on 2026-12-08, as text (expected.txt) and as JSON (expected.json).
class GoldenCheck : public ::testing::TestWithParam<std::string> {
 protected:
  Outcome Check(bool json) const {
    const std::string folder = (GoldenRoot("check") / GetParam()).string();
    std::vector<std::string> args = {folder + "/model.json", "--data-dir", folder + "/data", kNow};
    if (json) args.push_back("--json");
    return Call(RunCheck, args);
  }
  // Errors and warnings fail the check; notes alone do not.
  int ExpectedExit() const {
    for (const std::string& line :
         Lines(ReadBytes((GoldenRoot("check") / GetParam() / "expected.txt").string()))) {
      if (line.rfind("error ", 0) == 0 || line.rfind("warning ", 0) == 0) return kExitFailure;
    }
    return kExitOk;
  }
};

TEST_P(GoldenCheck, FindingsAsText) {
  Outcome text = Check(false);
  EXPECT_EQ(text.code, ExpectedExit()) << text.err;
  EXPECT_TRUE(SameAsGolden(text.out, "check", GetParam(), "expected.txt"));
}

TEST_P(GoldenCheck, FindingsAsJson) {
  Outcome array = Check(true);
  EXPECT_EQ(array.code, ExpectedExit()) << array.err;
  EXPECT_TRUE(SameAsGolden(array.out, "check", GetParam(), "expected.json"));
}

INSTANTIATE_TEST_SUITE_P(Folders, GoldenCheck, ::testing::ValuesIn(GoldenFolders("check")),
                         GoldenCaseName);

TEST(CliCheck, CleanSchoolExitsZeroAndNotesAlone) {
  const std::string data = kSource + "/src/resources";
  for (const std::string& input : {kSchool, kSource + "/examples/school.json"}) {
    Outcome run = Call(RunCheck, {input, "--data-dir", data, kNow});
    EXPECT_EQ(run.code, kExitOk) << input << run.out << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(Call(RunCheck, {input, "--json", "--data-dir", data, kNow}).out, "[]\n");
  }
  TempFolder folder;
  std::string model = ReadBytes(kSource + "/examples/school.json");
  model.replace(model.find("\"slot\":30,\"program\":4"), 21, "\"slot\":30,\"program\":8");
  WriteBytes(folder / "spare.JSON", model);
  Outcome notes = Call(RunCheck, {folder / "spare.JSON", "--data-dir", data, kNow});
  EXPECT_EQ(notes.code, kExitOk) << notes.err;
  EXPECT_EQ(notes.out,
            "note unused-program: 週間プログラム 8 はステップが有りますが、どの設定にも使われてい"
            "ません。\n");
}

TEST(CliAgendaCheck, UnusableInputIsRefusedWithAMessageAndExitTwo) {
  TempFolder folder;
  const std::string school = ReadBytes(kSchool);
  WriteBytes(folder / "short.BIN", school.substr(0, 100));
  WriteBytes(folder / "long.BIN", school + "X");
  WriteBytes(folder / "other.BIN", std::string("KORVA VL3 V01.00VL4X") + std::string(6574, '\0'));
  WriteBytes(folder / "broken.json", "{\"basicProgram\":");
  const std::string missing = folder / "missing.BIN";

  struct Case {
    CommandFunction command;
    std::vector<std::string> args;
    std::string err;  // the whole message, or its start when it ends in "..."
  };
  const Case cases[] = {
      {RunAgenda, {missing}, "tavrin-cli: " + missing + " does not exist\n"},
      {RunAgenda,
       {folder / "short.BIN"},
       "tavrin-cli: " + folder / "short.BIN" +
           " の大きさが 6594 バイトではありません（100 バイト）。\n"},
      {RunAgenda,
       {folder / "long.BIN"},
       "tavrin-cli: " + folder / "long.BIN" +
           " の大きさが 6594 バイトではありません（6595 バイト）。\n"},
      {RunAgenda,
       {folder / "other.BIN"},
       "tavrin-cli: " + folder / "other.BIN" +
           " は対象外のファイルです。 (its model tag is not VL3X)\n"},
      {RunAgenda,
       {kSchool, "--from", "2025-12-31"},
       "tavrin-cli: 2025-12-31 は設定ファイルの対象年（2026 年、2027 年）の範囲外です。\n"},
      {RunAgenda,
       {kSchool, "--to", "2028-01-01"},
       "tavrin-cli: 2028-01-01 は設定ファイルの対象年（2026 年、2027 年）の範囲外です。\n"},
      {RunAgenda,
       {kSchool, "--from", "2027-02-29"},
       "tavrin-cli: 2027-02-29 は存在しない日付です。\n"},
      {RunAgenda,
       {kSchool, "--from", "2027-03-02", "--to", "2027-03-01"},
       "tavrin-cli: 開始日 2027-03-02 が終了日 2027-03-01 より後です。\n"},
      {RunAgenda,
       {kSchool, "--from", "2027-3-1"},
       "tavrin-cli: --from: expected YYYY-MM-DD, got \"2027-3-1\"\n..."},
      {RunAgenda, {}, "tavrin-cli: agenda takes one settings file\n..."},
      {RunCheck, {missing, kNow}, "tavrin-cli: " + missing + " does not exist\n"},
      {RunCheck,
       {folder / "short.BIN", kNow},
       "tavrin-cli: " + folder / "short.BIN" +
           " の大きさが 6594 バイトではありません（100 バイト）。\n"},
      {RunCheck,
       {folder / "missing.json", kNow},
       "tavrin-cli: " + folder / "missing.json" + " does not exist\n"},
      {RunCheck,
       {folder / "broken.json", kNow},
       "tavrin-cli: " + folder / "broken.json" + ": not valid JSON: ..."},
      {RunCheck,
       {kSchool, "--names", folder / "none.TXT", kNow},
       "tavrin-cli: " + folder / "none.TXT" + " does not exist\n"},
      {RunCheck, {kSchool, "--now", "2026-12-08"}, "tavrin-cli: --now: expected ..."},
      {RunCheck,
       {kSchool, kSchool},
       "tavrin-cli: check takes one settings file or model JSON\n..."},
  };
  for (const Case& c : cases) {
    std::string line;
    for (const std::string& arg : c.args) line += " " + arg;
    SCOPED_TRACE(line);
    std::vector<std::string> args = c.args;
    // The shipped holiday file, so that no warning about a missing one comes first.
    args.insert(args.end(), {"--data-dir", std::string(TAVRIN_SOURCE_DIR) + "/src/resources"});
    Outcome run = Call(c.command, args);
    EXPECT_EQ(run.code, kExitUsage);
    EXPECT_EQ(run.out, "");
    const bool prefix = c.err.size() >= 3 && c.err.compare(c.err.size() - 3, 3, "...") == 0;
    if (prefix) {
      EXPECT_EQ(run.err.substr(0, c.err.size() - 3), c.err.substr(0, c.err.size() - 3));
    } else {
      EXPECT_EQ(run.err, c.err);
    }
  }
}

// One rule for check and pack: every value strict pack refuses is an invalid-value error of the
// check, said with its field path, and the check goes on to the rest; only input that is no model
// is unusable to both. Each row plants one value in the school's model, which also holds a step
// twice (a warning that pack does not refuse).
TEST(CliCheckAndPack, EveryValueStrictPackRefusesIsAnInvalidValueOfTheCheck) {
  using nlohmann::json;
  struct Case {
    const char* name;
    std::function<void(json&)> plant;
    std::string pack;  // pack's refusal after the file's name; "" when it packs
    // The check's invalid-value finding, when not in pack's words; "" when there is none.
    std::optional<std::string> check = std::nullopt;
  };
  const auto step = [](json& m, int slot) -> json& {
    for (json& record : m["steps"]) {
      if (record["slot"] == slot) return record;
    }
    throw std::logic_error("no step in slot " + std::to_string(slot));
  };
  const Case cases[] = {
      {"another model's tag", [](json& m) { m["modelTag"] = "ABCD"; },
       "modelTag: \"ABCD\" is not the timer's tag VL3X"},
      {"the tag in small letters", [](json& m) { m["modelTag"] = "vl3x"; }, ""},
      {"a tag too long", [](json& m) { m["modelTag"] = "VL3XX"; },
       "modelTag: the text takes 5 Shift-JIS bytes, more than 4"},
      {"a step's hour -1", [&](json& m) { step(m, 3)["hour"] = -1; },
       "steps[3].hour: -1 is outside 0..255"},
      {"a step's hour 256", [&](json& m) { step(m, 3)["hour"] = 256; },
       "steps[3].hour: 256 is outside 0..255"},
      {"a step's hour as a text", [&](json& m) { step(m, 3)["hour"] = "8"; },
       "steps[3].hour: expected an integer"},
      {"a period's year beyond 16 bits", [](json& m) { m["periods"][0]["year"] = 40000; },
       "periods[0].year: 40000 is outside -32768..32767"},
      {"days of six", [&](json& m) { step(m, 3)["days"] = {0, 1, 1, 1, 1, 1}; },
       "steps[3].days: expected an array of 7 numbers, Sunday first"},
      {"days of eight", [&](json& m) { step(m, 3)["days"] = {0, 1, 1, 1, 1, 1, 0, 0}; },
       "steps[3].days: expected an array of 7 numbers, Sunday first"},
      {"a day of -1", [&](json& m) { step(m, 3)["days"][6] = -1; },
       "steps[3].days[6]: -1 is outside 0..255"},
      {"a station name of 16 bytes", [](json& m) { m["radioStation"] = "ＮＨＫ東京ＦＭ局"; },
       "radioStation: the text takes 16 Shift-JIS bytes, more than 14"},
      {"a station name of 14 bytes", [](json& m) { m["radioStation"] = "ＮＨＫ東京ＦＭ"; }, ""},
      {"a station name without Shift-JIS", [](json& m) { m["radioStation"] = "東京😀"; },
       "radioStation: the text has no Shift-JIS form"},
      {"a program name of 17 bytes", [](json& m) { m["names"]["1"] = "12345678901234567"; },
       "names.1: the text takes 17 Shift-JIS bytes, more than 16"},
      {"a program name of 16 bytes", [](json& m) { m["names"]["1"] = "1234567890123456"; }, ""},
      {"name key 100", [](json& m) { m["names"]["100"] = "x"; },
       "names.100: the key must be a program number 0..99"},
      {"name key x", [](json& m) { m["names"]["x"] = "x"; },
       "names.x: the key must be a program number 0..99"},
      {"name key 99", [](json& m) { m["names"]["99"] = "x"; }, ""},
      {"an unknown key", [](json& m) { m["colour"] = 1; }, "colour: unknown key"},
      {"a basic program -1", [](json& m) { m["basicProgram"] = -1; },
       "basicProgram: -1 is outside 0..99",
       "基本設定の＜プログラム番号＞ -1 は範囲外です（1～99）。"},
      {"a basic program 100", [](json& m) { m["basicProgram"] = 100; },
       "basicProgram: 100 is outside 0..99",
       "基本設定の＜プログラム番号＞ 100 は範囲外です（1～99）。"},
  };
  TempFolder folder;
  const std::string data = kSource + "/src/resources";
  json school = json::parse(ReadBytes(kSource + "/examples/school.json"));
  json twice = step(school, 1);
  twice["slot"] = 900;
  school["steps"].push_back(twice);
  const std::string model = folder / "model.json";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    json planted = school;
    c.plant(planted);
    WriteBytes(model, planted.dump());
    const Outcome pack = Call(RunPack, {model, "-o", folder / "out.BIN", "--data-dir", data, kNow});
    if (c.pack.empty()) {
      EXPECT_EQ(pack.code, kExitOk) << pack.err;
    } else {
      EXPECT_EQ(pack.code, kExitFailure);
      EXPECT_EQ(pack.err, "tavrin-cli: " + model + ": " + c.pack + "\n");
    }
    const Outcome check = Call(RunCheck, {model, "--data-dir", data, kNow});
    EXPECT_EQ(check.code, kExitFailure) << check.err;
    EXPECT_EQ(check.err, "");
    const std::vector<std::string> lines = Lines(check.out);
    const auto has = [&lines](const std::string& start) {
      return std::any_of(lines.begin(), lines.end(),
                         [&start](const std::string& line) { return line.rfind(start, 0) == 0; });
    };
    EXPECT_TRUE(has("warning duplicate-step: ")) << check.out;
    const std::string finding = c.check.value_or(c.pack);
    if (finding.empty()) {
      EXPECT_FALSE(has("error invalid-value: ")) << check.out;
    } else {
      EXPECT_TRUE(has("error invalid-value: " + finding)) << check.out;
    }
  }
}

// Input that is no model: pack and check refuse it whole, with the same words.
TEST(CliCheckAndPack, InputThatIsNoModelIsRefusedByBoth) {
  const std::pair<const char*, const char*> cases[] = {
      {"{\"basicProgram\":", "not valid JSON: "},
      {"[]", "the model must be a JSON object"},
      {R"({"steps":{}})", "steps: expected an array"},
      {R"({"summerTime":[]})", "summerTime: expected an object"},
      {R"({"names":[]})", "names: expected an object"},
      {R"({"steps":[5]})", "steps[0]: expected an object"},
      {R"({"steps":[{"hour":1}]})", "steps[0].slot: missing"},
      {R"({"steps":[{"slot":1000}]})", "steps[0].slot: 1000 is outside 0..999"},
      {R"({"dates":[{"slot":1},{"slot":1}]})", "dates[1].slot: 1 is listed twice"},
      {R"({"channels":[{},{},{},{},{},{},{},{},{}]})", "channels: more than 8 channels"},
  };
  TempFolder folder;
  const std::string data = kSource + "/src/resources";
  const std::string model = folder / "model.json";
  for (const auto& [text, message] : cases) {
    SCOPED_TRACE(text);
    WriteBytes(model, text);
    const std::string said = "tavrin-cli: " + model + ": " + message;
    const Outcome pack = Call(RunPack, {model, "-o", folder / "out.BIN", "--data-dir", data, kNow});
    EXPECT_EQ(pack.code, kExitFailure);
    EXPECT_EQ(pack.err.rfind(said, 0), 0u) << pack.err;
    const Outcome check = Call(RunCheck, {model, "--data-dir", data, kNow});
    EXPECT_EQ(check.code, kExitUsage);
    EXPECT_EQ(check.out, "");
    EXPECT_EQ(check.err.rfind(said, 0), 0u) << check.err;
  }
}

}  // namespace
}  // namespace tavrin
