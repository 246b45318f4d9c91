#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "TempFolder.h"
#include "model/DataFolder.h"

namespace tavrin {
namespace {

using testing::TempFolder;
using testing::WriteBytes;

// Sets environment variables for one test and puts the old values back.
class ScopedEnv {
 public:
  void Set(const char* name, const char* value) {
    const char* old = std::getenv(name);
    saved_.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->second) {
        setenv(it->first.c_str(), it->second->c_str(), 1);
      } else {
        unsetenv(it->first.c_str());
      }
    }
  }

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

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

}  // namespace
}  // namespace tavrin
