#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "TempFolder.h"
#include "document/FileProbe.h"

namespace tavrin {
namespace {

using testing::TempFolder;
using testing::WriteBytes;

// Each kind of name a user may give where a file is read; none of them may block or read without
// end, and each says what it is.
TEST(FileProbe, OnlyRegularFilesAreReadAndTheRestSayWhatTheyAre) {
  TempFolder folder;
  WriteBytes(folder / "model.json", "{}");
  WriteBytes(folder / "big.json", std::string(2048, ' '));
  std::filesystem::create_directory(folder / "plans");
  ASSERT_EQ(mkfifo((folder / "pipe").c_str(), 0600), 0);

  struct Case {
    std::string path;
    std::string reason;  // empty: read
  };
  const Case cases[] = {
      {folder / "model.json", ""},
      {folder / "none.json", " does not exist"},
      {folder / "plans", " is a folder"},
      {folder / "pipe", " is not a regular file"},  // would block a plain open
      {"/dev/zero", " is not a regular file"},      // would never end
      {folder / "big.json", " is larger than 1024 bytes"},
  };
  for (const Case& c : cases) {
    const std::string message = c.reason.empty() ? "" : c.path + c.reason;
    Result<std::string> text = ReadRegularFile(c.path, 1024);
    EXPECT_EQ(text.ok(), c.reason.empty()) << c.path;
    EXPECT_EQ(text.message(), message);
    if (c.path != folder / "big.json") {  // the size alone is no fault
      Result<std::uintmax_t> size = RegularFileSize(c.path);
      EXPECT_EQ(size.ok(), c.reason.empty()) << c.path;
      EXPECT_EQ(size.message(), message);
    }
  }
  EXPECT_EQ(*ReadRegularFile(folder / "model.json", 1024), "{}");
  EXPECT_EQ(*RegularFileSize(folder / "big.json"), 2048u);
  WriteBytes(folder / "huge.json", std::string(1024 * 1024 + 1, ' '));
  EXPECT_EQ(ReadRegularFile(folder / "huge.json", 1024 * 1024).message(),
            folder / "huge.json" + " is larger than 1 MB");
}

TEST(FileProbe, AnOutputPathNeedsItsFolderAndMustNotBeOne) {
  TempFolder folder;
  std::filesystem::create_directory(folder / "plans");
  WriteBytes(folder / "file", "x");
  struct Case {
    std::string path;
    std::string message;  // empty: fine
  };
  const Case cases[] = {
      {folder / "plans/new.BIN", ""},
      {folder / "file", ""},  // replaced, as a save replaces
      {"relative-name.CSV", ""},
      {folder / "plans", folder / "plans is a folder"},
      {folder / "plans/", folder / "plans/ is a folder"},
      {folder / "no/such/x.BIN", "the folder " + folder / "no/such does not exist"},
      {folder / "file/x.BIN", folder / "file is not a folder"},
  };
  for (const Case& c : cases) {
    Result<> result = CheckOutputPath(c.path);
    EXPECT_EQ(result.ok(), c.message.empty()) << c.path;
    EXPECT_EQ(result.message(), c.message) << c.path;
  }
}

}  // namespace
}  // namespace tavrin
