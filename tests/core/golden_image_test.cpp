// Every folder under golden/image holds a model (model.json) and the image the program must make
// of it (image.BIN) on 2026-12-08, with the shipped data folder unless the case brings its own
// (data/). The images were checked byte by byte when they were made; this guards them.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "TempFolder.h"
#include "cli/Commands.h"

namespace tavrin {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

const std::string kNow = "--now=2026-12-08T09:00:00";

std::string DataFolderFor(const std::filesystem::path& golden) {
  if (std::filesystem::is_directory(golden / "data")) return (golden / "data").string();
  return std::string(TAVRIN_SOURCE_DIR) + "/src/resources";
}

int RunCommand(CommandFunction command, const std::vector<std::string>& args, std::string& out) {
  std::ostringstream outStream, err;
  CliIo io{outStream, err};
  int code = command(args, io);
  out = outStream.str();
  if (code != kExitOk) ADD_FAILURE() << err.str();
  return code;
}

std::string FirstDifference(const std::string& actual, const std::string& expected) {
  if (actual.size() != expected.size()) return "size " + std::to_string(actual.size());
  for (std::size_t i = 0; i < actual.size(); ++i) {
    if (actual[i] != expected[i]) {
      return "offset " + std::to_string(i) + ": " +
             std::to_string(static_cast<unsigned char>(actual[i])) + " instead of " +
             std::to_string(static_cast<unsigned char>(expected[i]));
    }
  }
  return "";
}

TEST(GoldenImages, PackMakesTheStoredImageAndADumpPacksBackToIt) {
  const std::filesystem::path root = std::filesystem::path(TAVRIN_GOLDEN_DIR) / "image";
  int cases = 0;
  for (const auto& entry : std::filesystem::directory_iterator(root)) {
    const std::filesystem::path golden = entry.path();
    SCOPED_TRACE(golden.filename().string());
    ++cases;
    const std::string expected = ReadBytes((golden / "image.BIN").string());
    const std::string data = DataFolderFor(golden);
    TempFolder work;
    std::string out;
    // The "edges" schedule holds the extremes each field can take, beyond what the editors make:
    // the images pin the packing of every value, so packing is lenient here.
    ASSERT_EQ(RunCommand(RunPack,
                         {(golden / "model.json").string(), "-o", work / "packed.BIN", "--lenient",
                          "--data-dir", data, kNow},
                         out),
              kExitOk);
    EXPECT_EQ(FirstDifference(ReadBytes(work / "packed.BIN"), expected), "");

    ASSERT_EQ(RunCommand(RunDump, {(golden / "image.BIN").string(), "--data-dir", data, kNow}, out),
              kExitOk);
    WriteBytes(work / "dumped.json", out);
    ASSERT_EQ(RunCommand(RunPack,
                         {work / "dumped.json", "-o", work / "again.BIN", "--lenient", "--data-dir",
                          data, kNow},
                         out),
              kExitOk);
    EXPECT_EQ(FirstDifference(ReadBytes(work / "again.BIN"), expected), "");
  }
  EXPECT_GE(cases, 3);
}

}  // namespace
}  // namespace tavrin
