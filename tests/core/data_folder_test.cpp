#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "ScopedEnv.h"
#include "TempFolder.h"
#include "document/DataFolder.h"

namespace tavrin {
namespace {

using testing::ReadBytes;
using testing::ScopedEnv;
using testing::TempFolder;
using testing::WriteBytes;

TEST(DataFolder, OverrideThenXdgThenHome) {
  ScopedEnv env;
  env.Set("TAVRIN_DATA_DIR", "/srv/tavrin");
  env.Set("XDG_DATA_HOME", "/xdg");
  env.Set("HOME", "/home/u");
  EXPECT_EQ(DataFolderPath(), "/srv/tavrin");
  env.Set("TAVRIN_DATA_DIR", nullptr);
  EXPECT_EQ(DataFolderPath(), "/xdg/Korva Time Systems/Tavrin");
  env.Set("XDG_DATA_HOME", "relative/not/allowed");
  EXPECT_EQ(DataFolderPath(), "/home/u/.local/share/Korva Time Systems/Tavrin");
  env.Set("XDG_DATA_HOME", "");
  EXPECT_EQ(DataFolderPath(), "/home/u/.local/share/Korva Time Systems/Tavrin");
  env.Set("HOME", nullptr);
  EXPECT_EQ(DataFolderPath(), "");
  EXPECT_EQ(PrepareDataFolder(), std::nullopt);
}

TEST(DataFolder, PrepareCreatesBothSubfoldersOrGivesNothing) {
  TempFolder folder;
  ScopedEnv env;
  env.Set("TAVRIN_DATA_DIR", nullptr);
  env.Set("XDG_DATA_HOME", (folder / "share").c_str());
  auto prepared = PrepareDataFolder();
  ASSERT_TRUE(prepared.has_value());
  EXPECT_EQ(*prepared, folder / "share/Korva Time Systems/Tavrin");
  EXPECT_TRUE(std::filesystem::is_directory(*prepared));
  EXPECT_EQ(PrepareDataFolder(), prepared);  // already there

  WriteBytes(folder / "file", "x");
  env.Set("XDG_DATA_HOME", (folder / "file").c_str());
  EXPECT_EQ(PrepareDataFolder(), std::nullopt);
  env.Set("XDG_DATA_HOME", nullptr);
  env.Set("TAVRIN_DATA_DIR", (folder / "file").c_str());
  EXPECT_EQ(PrepareDataFolder(), std::nullopt);
}

TEST(DataFolder, ShippedFilesAreLookedForBesideTheProgramThenInTheSystemDataFolders) {
  ScopedEnv env;
  env.Set("XDG_DATA_DIRS", nullptr);
  EXPECT_EQ(ShippedDataFolders("/opt/tavrin/bin/tavrin"),
            (std::vector<std::string>{"/opt/tavrin/share/tavrin", "/usr/local/share/tavrin",
                                      "/usr/share/tavrin"}));
  // The build folder: <build>/src/tavrin finds <build>/share/tavrin.
  env.Set("XDG_DATA_DIRS", "/a:relative/b::/c/");
  EXPECT_EQ(ShippedDataFolders("/w/build/src/tavrin"),
            (std::vector<std::string>{"/w/build/share/tavrin", "/a/tavrin", "/c/tavrin"}));
  EXPECT_EQ(ShippedDataFolders(""), (std::vector<std::string>{"/a/tavrin", "/c/tavrin"}));
}

TEST(DataFolder, SeedingCopiesWhatIsMissingAndNeverReplacesAUsersFile) {
  TempFolder folder;
  namespace fs = std::filesystem;
  fs::create_directories(folder / "first");
  fs::create_directories(folder / "second");
  fs::create_directories(folder / "data");
  WriteBytes(folder / "first/Tavrin-Holidays.ini", "first holidays");
  WriteBytes(folder / "second/Tavrin-Holidays.ini", "second holidays");
  WriteBytes(folder / "second/Tavrin.ini", "second settings");
  const std::vector<std::string> shipped = {folder / "none", folder / "first", folder / "second"};

  Result<std::vector<std::string>> seeded = SeedDataFolder(folder / "data", shipped);
  ASSERT_TRUE(seeded.ok()) << seeded.message();
  EXPECT_EQ(*seeded, (std::vector<std::string>{"Tavrin-Holidays.ini", "Tavrin.ini"}));
  EXPECT_EQ(ReadBytes(folder / "data/Tavrin-Holidays.ini"), "first holidays");
  EXPECT_EQ(ReadBytes(folder / "data/Tavrin.ini"), "second settings");

  // A user's edit survives the next start, and so does a link of theirs that leads nowhere.
  WriteBytes(folder / "data/Tavrin.ini", "edited");
  fs::remove(folder / "data/Tavrin-Holidays.ini");
  fs::create_symlink(folder / "elsewhere.ini", folder / "data/Tavrin-Holidays.ini");
  seeded = SeedDataFolder(folder / "data", shipped);
  ASSERT_TRUE(seeded.ok()) << seeded.message();
  EXPECT_TRUE(seeded->empty());
  EXPECT_EQ(ReadBytes(folder / "data/Tavrin.ini"), "edited");
  EXPECT_TRUE(fs::is_symlink(folder / "data/Tavrin-Holidays.ini"));

  // Nothing shipped anywhere: nothing to do, no failure.
  fs::create_directories(folder / "empty");
  seeded = SeedDataFolder(folder / "empty", {folder / "none"});
  ASSERT_TRUE(seeded.ok());
  EXPECT_TRUE(seeded->empty());

  // A data folder that cannot take the file says why.
  seeded = SeedDataFolder(folder / "missing/data", shipped);
  ASSERT_FALSE(seeded.ok());
  EXPECT_NE(seeded.message().find(folder / "missing/data/Tavrin-Holidays.ini"), std::string::npos);
}

}  // namespace
}  // namespace tavrin
