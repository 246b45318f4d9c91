// Every folder under golden/image holds a model (model.json) and the image the program must make
// of it (image.BIN) on 2026-12-08, with the shipped data folder unless the case brings its own
// (data/). The images were checked byte by byte when they were made; this guards them.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "GoldenCases.h"
#include "TempFolder.h"
#include "cli/Commands.h"

namespace tavrin {
namespace {

using testing::GoldenCaseName;
using testing::GoldenFolders;
using testing::GoldenRoot;
using testing::ReadBytes;
using testing::SameAsGolden;
using testing::TempFolder;
using testing::WriteBytes;

const std::string kNow = "--now=2026-12-08T09:00:00";

int RunCommand(CommandFunction command, const std::vector<std::string>& args, std::string& out) {
  std::ostringstream outStream, err;
  CliIo io{outStream, err};
  int code = command(args, io);
  out = outStream.str();
  if (code != kExitOk) ADD_FAILURE() << err.str();
  return code;
}

class GoldenImage : public ::testing::TestWithParam<std::string> {
 protected:
  std::filesystem::path Golden() const { return GoldenRoot("image") / GetParam(); }
  std::string DataFolder() const {
    if (std::filesystem::is_directory(Golden() / "data")) return (Golden() / "data").string();
    return std::string(TAVRIN_SOURCE_DIR) + "/src/resources";
  }
  // The "edges" schedule holds the extremes each field can take, beyond what the editors make:
  // the images pin the packing of every value, so packing is lenient here.
  std::string Pack(const std::string& model) {
    std::string out;
    EXPECT_EQ(RunCommand(RunPack,
                         {model, "-o", work_ / "packed.BIN", "--lenient", "--data-dir",
                          DataFolder(), kNow},
                         out),
              kExitOk);
    return ReadBytes(work_ / "packed.BIN");
  }

  TempFolder work_;
};

TEST_P(GoldenImage, PackMakesTheStoredImage) {
  EXPECT_TRUE(
      SameAsGolden(Pack((Golden() / "model.json").string()), "image", GetParam(), "image.BIN"));
}

TEST_P(GoldenImage, ADumpPacksBackToTheStoredImage) {
  std::string dumped;
  ASSERT_EQ(
      RunCommand(RunDump, {(Golden() / "image.BIN").string(), "--data-dir", DataFolder(), kNow},
                 dumped),
      kExitOk);
  WriteBytes(work_ / "dumped.json", dumped);
  EXPECT_TRUE(SameAsGolden(Pack(work_ / "dumped.json"), "image", GetParam(), "image.BIN"));
}

INSTANTIATE_TEST_SUITE_P(Folders, GoldenImage, ::testing::ValuesIn(GoldenFolders("image")),
                         GoldenCaseName);

}  // namespace
}  // namespace tavrin
