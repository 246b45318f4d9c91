#include <gtest/gtest.h>

#include <cstring>

#include "cli/ModelJson.h"
#include "model/ShiftJis.h"

namespace tavrin {
namespace {

struct Parsed {
  Result<> status;
  ScheduleModel model;
  ProgramNameTable names;
};

Parsed Parse(const std::string& text) {
  Parsed parsed;
  parsed.status = ParseModelJson(text, parsed.model, parsed.names);
  return parsed;
}

void SetText(char* field, std::size_t size, const std::string& bytes) {
  std::memset(field, 0, size);
  std::memcpy(field, bytes.data(), std::min(size, bytes.size()));
}

ScheduleModel Sample(ProgramNameTable& names) {
  ScheduleModel model;
  ClearModel(model);
  model.holidayProgram = 3;
  model.holidayEnabled = 1;
  model.basicProgram = 1;
  model.leapStartProgram = -2;
  model.channels[0] = {kChannelTimeSignal, 0, 10, 2};
  model.channels[7] = {kChannelKeep, 0, 0, 0};
  model.stepCount = 2;
  model.steps[0] = {1, 1, {0, 1, 1, 1, 1, 1, 0}, 8, 30, 5};
  model.steps[999] = {2, 8, {1, 0, 0, 0, 0, 0, 1}, 23, 59, kKeepOff};
  model.steps[500].program = 7;  // no channel: not in use, but still a record
  model.periods[4] = {kEveryYear, 3, 1, 3, 31, 5};
  model.dates[199] = {2027, 1, 1, 2};
  model.summerTime = {3, 5, 1, 2, 10, 5, 1, 3};
  model.radioFrequency = 65535;
  SetText(model.radioStation.data(), 14, ToShiftJis("ＮＨＫ東京ＦＭ").value());
  std::memset(&names, 0, sizeof names);
  SetText(names.names[1].data(), 16, ToShiftJis("朝の予鈴～").value());
  SetText(names.names[99].data(), 16, "0123456789ABCDEF");
  SetText(names.names[0].data(), 16, std::string("a\0b", 3));
  return model;
}

TEST(ModelJson, WhatDumpWritesReadsBackToTheSameModel) {
  ProgramNameTable names;
  ScheduleModel model = Sample(names);
  std::string text = FormatModelJson(model, names);
  Parsed back = Parse(text);
  ASSERT_TRUE(back.status.ok()) << back.status.message();
  EXPECT_TRUE(back.model == model);
  EXPECT_TRUE(back.names == names);
  // One record per line, only the records in use, texts readable.
  EXPECT_NE(text.find("\n    {\"slot\":500,\"program\":7,\"channel\":0,"), std::string::npos);
  EXPECT_EQ(text.find("\"slot\":1,"), std::string::npos);
  EXPECT_NE(text.find("\"radioStation\": \"ＮＨＫ東京ＦＭ\""), std::string::npos);
  EXPECT_NE(text.find("\"1\": \"朝の予鈴～\""), std::string::npos);
  EXPECT_NE(text.find("\"0\": \"a\\u0000b\""), std::string::npos);
  EXPECT_EQ(text.find("\"2\":"), std::string::npos);
}

TEST(ModelJson, MissingKeysMeanZeroAndTheIdentificationConstants) {
  Parsed parsed = Parse("{}");
  ASSERT_TRUE(parsed.status.ok());
  ScheduleModel empty;
  ClearModel(empty);
  EXPECT_TRUE(parsed.model == empty);
  EXPECT_TRUE(parsed.names == ProgramNameTable{});

  parsed = Parse(R"({"steps":[{"slot":7,"program":4}],"channels":[{"kind":2}],"idText":"X"})");
  ASSERT_TRUE(parsed.status.ok()) << parsed.status.message();
  EXPECT_EQ(parsed.model.steps[7].program, 4);
  EXPECT_EQ(parsed.model.steps[7].channel, 0);
  EXPECT_EQ(parsed.model.channels[0].kind, kChannelKeep);
  EXPECT_EQ(parsed.model.channels[1].kind, kChannelUnused);
  EXPECT_EQ(std::string(parsed.model.idText.data(), 16), std::string("X") + std::string(15, '\0'));
  EXPECT_EQ(std::string(parsed.model.modelTag.data(), 4), "VL3X");
}

// More in the command tables of check and pack.
TEST(ModelJson, BadInputNamesTheKey) {
  const std::pair<const char*, const char*> cases[] = {
      {R"({"steps":[{"slot":1},{"slot":1}]})", "steps[1].slot: 1 is listed twice"},
      {R"({"steps":[{"slot":0,"colour":1}]})", "steps[0].colour: unknown key"},
      {R"({"periods":[{"slot":200}]})", "periods[0].slot: 200 is outside 0..199"},
      {R"({"dates":[{"slot":0,"day":-1}]})", "dates[0].day: -1 is outside 0..255"},
      {R"({"radioFrequency":65536})", "radioFrequency: 65536 is outside 0..65535"},
      {R"({"radioFrequency":18446744073709551615})",
       "radioFrequency: 18446744073709551615 is outside 0..65535"},
      {R"({"holidayEnabled":1.5})", "holidayEnabled: expected an integer"},
      {R"({"basicProgram":"3"})", "basicProgram: expected an integer"},
      {R"({"basicProgram":true})", "basicProgram: expected an integer"},
      {R"({"summerTime":{"startMonth":1,"weeks":2}})", "summerTime.weeks: unknown key"},
      {R"({"summerTime":{"endHour":300}})", "summerTime.endHour: 300 is outside 0..255"},
      {R"({"channels":[{"kind":256}]})", "channels[0].kind: 256 is outside 0..255"},
      {R"({"radioStation":"😀"})", "radioStation: the text has no Shift-JIS form"},
      {R"({"radioStation":7})", "radioStation: expected a text"},
      {R"({"idText":"KORVA VL3 V01.000"})",
       "idText: the text takes 17 Shift-JIS bytes, more than 16"},
      {R"({"names":{"01":"x"}})", "names.01: the key must be a program number 0..99"},
      {R"({"names":{"1":"\ufffd"}})", "names.1: the text has no Shift-JIS form"},
  };
  for (const auto& [text, message] : cases) {
    Parsed parsed = Parse(text);
    EXPECT_FALSE(parsed.status.ok()) << text;
    EXPECT_EQ(parsed.status.message(), message) << text;
  }
  Parsed broken = Parse("{\"steps\": [");
  EXPECT_FALSE(broken.status.ok());
  EXPECT_EQ(broken.status.message().rfind("not valid JSON: ", 0), 0u) << broken.status.message();
  EXPECT_NE(broken.status.message().find("line 1"), std::string::npos) << broken.status.message();
  Parsed huge = Parse("{\"basicProgram\": 1" + std::string(400, '0') + "}");
  EXPECT_EQ(huge.status.message().rfind("not valid JSON: ", 0), 0u) << huge.status.message();
}

TEST(ModelJson, BytesWithoutACharacterAreShownButNotWrittenBack) {
  ScheduleModel model;
  ClearModel(model);
  ProgramNameTable names{};
  SetText(names.names[5].data(), 16, "A\x80Z");
  std::string text = FormatModelJson(model, names);
  EXPECT_NE(text.find("\"5\": \"A\uFFFDZ\""), std::string::npos);
  Parsed back = Parse(text);
  EXPECT_EQ(back.status.message(), "names.5: the text has no Shift-JIS form");
}

}  // namespace
}  // namespace tavrin
