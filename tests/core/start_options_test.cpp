#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/StartOptions.h"

namespace tavrin {
namespace {

struct StartCase {
  std::vector<std::string> args;
  StartRequest request;
  std::optional<std::string> file;
  std::string problem;  // a part of it
};

TEST(StartOptionsTest, CommandLinesAndWhatTheyAskFor) {
  const StartCase cases[] = {
      {{}, StartRequest::Run, std::nullopt, ""},
      {{"plan.BIN"}, StartRequest::Run, "plan.BIN", ""},
      {{"/home/me/学校.BIN"}, StartRequest::Run, "/home/me/学校.BIN", ""},
      {{"--help"}, StartRequest::Help, std::nullopt, ""},
      {{"-h"}, StartRequest::Help, std::nullopt, ""},
      {{"--version"}, StartRequest::Version, std::nullopt, ""},
      // Help and version answer whatever stands beside them.
      {{"plan.BIN", "--help"}, StartRequest::Help, std::nullopt, ""},
      {{"--bogus", "--version"}, StartRequest::Version, std::nullopt, ""},
      {{"--bogus"}, StartRequest::Usage, std::nullopt, "unknown option \"--bogus\""},
      {{"-x", "plan.BIN"}, StartRequest::Usage, std::nullopt, "unknown option \"-x\""},
      {{"a.BIN", "b.BIN"}, StartRequest::Usage, std::nullopt, "\"b.BIN\" is one more"},
      // After "--" every argument is a file, and a lone "-" is one anywhere.
      {{"--", "-odd.BIN"}, StartRequest::Run, "-odd.BIN", ""},
      {{"--", "--help"}, StartRequest::Run, "--help", ""},
      {{"-"}, StartRequest::Run, "-", ""},
      {{"--", "a.BIN", "b.BIN"}, StartRequest::Usage, std::nullopt, "one file at a time"},
      // Qt's options are left to Qt, a value with its option, so that they never stand for a
      // file; anything that only looks like one is refused before Qt needs a display.
      {{"-platform", "offscreen", "plan.BIN"}, StartRequest::Run, "plan.BIN", ""},
      {{"--platform", "offscreen"}, StartRequest::Run, std::nullopt, ""},
      {{"plan.BIN", "-style", "fusion"}, StartRequest::Run, "plan.BIN", ""},
      {{"-qwindowtitle", "-x", "plan.BIN"}, StartRequest::Run, "plan.BIN", ""},
      {{"--style=fusion", "-reverse", "-qmljsdebugger=port:1"},
       StartRequest::Run,
       std::nullopt,
       ""},
      {{"-platform"}, StartRequest::Run, std::nullopt, ""},
      {{"-style", "fusion", "a.BIN", "b.BIN"}, StartRequest::Usage, std::nullopt, "\"b.BIN\""},
      {{"-reverse", "plan.BIN", "b.BIN"}, StartRequest::Usage, std::nullopt, "\"b.BIN\""},
      {{"-platforms", "offscreen"}, StartRequest::Usage, std::nullopt, "\"-platforms\""},
      {{"---style", "fusion"}, StartRequest::Usage, std::nullopt, "\"---style\""},
      {{"-style="}, StartRequest::Usage, std::nullopt, "\"-style=\""},
      {{"-reverse=1"}, StartRequest::Usage, std::nullopt, "\"-reverse=1\""},
      {{"--no-such-option"}, StartRequest::Usage, std::nullopt, "\"--no-such-option\""},
      {{"--", "-reverse"}, StartRequest::Run, "-reverse", ""},
  };
  for (const StartCase& c : cases) {
    std::string line;
    for (const std::string& arg : c.args) line += " " + arg;
    const StartOptions options = ParseStartOptions(c.args);
    EXPECT_EQ(options.request, c.request) << line;
    EXPECT_EQ(options.file, c.file) << line;
    if (c.problem.empty()) {
      EXPECT_EQ(options.problem, "") << line;
    } else {
      EXPECT_NE(options.problem.find(c.problem), std::string::npos)
          << line << ": " << options.problem;
    }
  }
}

TEST(StartOptionsTest, TextsNameTheProgramAndHowToGetHelp) {
  EXPECT_EQ(StartVersionText(), "tavrin 1.06\n");
  EXPECT_EQ(StartHelpText().rfind("usage: tavrin [FILE.BIN]\n", 0), 0u);
  for (const char* option : {"--help", "--version"}) {
    EXPECT_NE(StartHelpText().find(option), std::string::npos) << option;
  }
  EXPECT_EQ(StartUsageText("unknown option \"-x\""),
            "tavrin: unknown option \"-x\"\nusage: tavrin [FILE.BIN]\n"
            "'tavrin --help' describes the options.\n");
}

}  // namespace
}  // namespace tavrin
