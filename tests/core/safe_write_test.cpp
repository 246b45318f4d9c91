#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <ctime>
#include <filesystem>
#include <set>
#include <string>

#include "ScriptedWriteSystem.h"
#include "TempFolder.h"
#include "document/SafeWrite.h"
#include "document/SettingsFiles.h"

namespace tavrin {
namespace {

using testing::ReadBytes;
using testing::ScriptedWriteSystem;
using testing::TempFolder;
using testing::WriteBytes;

const std::string kOldSettings = "old settings";
const std::string kOldNames = "old names";

SettingsImage NewImage() {
  SettingsImage image;
  InitImage(image);
  image[100] = 0x5A;
  return image;
}

ProgramNameTable NewNames() {
  ProgramNameTable names{};
  std::memcpy(names.names[1].data(), "BELL", 4);
  return names;
}

std::string NewImageBytes() {
  const SettingsImage image = NewImage();
  return std::string(reinterpret_cast<const char*>(image.data()), image.size());
}

std::string NewNameBytes() {
  const ProgramNameTable names = NewNames();
  return std::string(reinterpret_cast<const char*>(&names), sizeof names);
}

std::set<std::string> Entries(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

bool LooksTemporary(const std::string& name) {
  return name.starts_with(".tavrin-") && name.ends_with(".tmp");
}

// A saved pair in `folder`, which each case then overwrites.
struct Pair {
  explicit Pair(const TempFolder& folder)
      : settings(folder / "plan.BIN"), names(folder / "plan.TXT") {
    WriteBytes(settings, kOldSettings);
    WriteBytes(names, kOldNames);
  }
  Result<> Write(ScriptedWriteSystem& system) const {
    return WriteSettingsAndNames(settings, NewImage(), names, NewNames(), system);
  }
  bool SettingsNew() const { return ReadBytes(settings) == NewImageBytes(); }
  bool NamesNew() const { return ReadBytes(names) == NewNameBytes(); }
  bool SettingsOld() const { return ReadBytes(settings) == kOldSettings; }
  bool NamesOld() const { return ReadBytes(names) == kOldNames; }
  std::string settings, names;
};

TEST(PairWrite, EachFailingStageLeavesAMatchingPairAndNoTemporaryFile) {
  struct Case {
    const char* file;
    WriteStage stage;
    const char* message;
    bool namesReplaced;  // only a failure after the name file took its place leaves it new
  };
  const Case cases[] = {
      {".BIN", WriteStage::kCreate, " のオープンに失敗しました。", false},
      {".BIN", WriteStage::kWrite, " への書き込みに失敗しました。", false},
      {".BIN", WriteStage::kSync, " への書き込みに失敗しました。", false},
      {".BIN", WriteStage::kClose, " のクローズに失敗しました。", false},
      {".TXT", WriteStage::kCreate, " のオープンに失敗しました。", false},
      {".TXT", WriteStage::kWrite, " への書き込みに失敗しました。", false},
      {".TXT", WriteStage::kSync, " への書き込みに失敗しました。", false},
      {".TXT", WriteStage::kClose, " のクローズに失敗しました。", false},
      {".TXT", WriteStage::kLink, " への書き込みに失敗しました。", false},
      {".TXT", WriteStage::kReplace, " への書き込みに失敗しました。", false},
      {".BIN", WriteStage::kLink, " への書き込みに失敗しました。", true},
      {".BIN", WriteStage::kReplace, " への書き込みに失敗しました。", true},
  };
  for (bool unnamed : {true, false}) {
    for (const Case& c : cases) {
      // Only a named file is closed before it takes its place; only an unnamed one is linked in.
      if (c.stage == (unnamed ? WriteStage::kClose : WriteStage::kLink)) continue;
      SCOPED_TRACE(std::string(c.file) + " stage " + std::to_string(static_cast<int>(c.stage)) +
                   (unnamed ? " unnamed" : " named"));
      TempFolder folder;
      const Pair pair(folder);
      ScriptedWriteSystem system;
      system.unnamed = unnamed;
      system.failAt = c.stage;
      system.failFor = c.file;

      const Result<> written = pair.Write(system);
      ASSERT_FALSE(written.ok());
      EXPECT_EQ(written.message(), folder / (std::string("plan") + c.file) + c.message);
      EXPECT_TRUE(pair.SettingsOld());
      EXPECT_TRUE(c.namesReplaced ? pair.NamesNew() : pair.NamesOld());
      EXPECT_EQ(Entries(folder.path()), (std::set<std::string>{"plan.BIN", "plan.TXT"}));
    }
  }
}

TEST(PairWrite, TemporaryFilesHaveNoNameWhereTheFileSystemAllows) {
  for (bool unnamed : {true, false}) {
    SCOPED_TRACE(unnamed ? "unnamed" : "named");
    TempFolder folder;
    const Pair pair(folder);
    ScriptedWriteSystem system;
    system.unnamed = unnamed;
    // Both files are on disk, complete, before the first one is put in place.
    std::set<std::string> beforeReplacing;
    system.onStage = [&](WriteStage stage, const std::string&) {
      if (stage == WriteStage::kReplace && beforeReplacing.empty()) {
        beforeReplacing = Entries(folder.path());
      }
    };
    ASSERT_TRUE(pair.Write(system).ok());
    EXPECT_TRUE(pair.SettingsNew());
    EXPECT_TRUE(pair.NamesNew());
    EXPECT_EQ(Entries(folder.path()), (std::set<std::string>{"plan.BIN", "plan.TXT"}));

    int temporaries = 0;
    for (const std::string& name : beforeReplacing) temporaries += LooksTemporary(name);
    // Unnamed: only the name file being put in place has a name yet.
    EXPECT_EQ(temporaries, unnamed ? 1 : 2);
    EXPECT_EQ(beforeReplacing.size(), 2u + temporaries);
  }
}

TEST(PairWrite, AKillBetweenTheReplacementsLeavesTheOldSettingsFileAndLitterIsCleared) {
  for (bool unnamed : {true, false}) {
    SCOPED_TRACE(unnamed ? "unnamed" : "named");
    TempFolder folder;
    const Pair pair(folder);
    ScriptedWriteSystem killer;
    killer.unnamed = unnamed;
    // The first step for the settings file after the name file took its place.
    killer.failAt = unnamed ? WriteStage::kLink : WriteStage::kReplace;
    killer.failFor = ".BIN";
    killer.kill = true;
    EXPECT_EXIT((void)pair.Write(killer), ::testing::KilledBySignal(SIGKILL), "");

    // The name file went first: a new settings file never stands beside an old name file.
    EXPECT_TRUE(pair.SettingsOld());
    EXPECT_TRUE(pair.NamesNew());
    std::set<std::string> left;
    for (const std::string& name : Entries(folder.path())) {
      if (LooksTemporary(name)) left.insert(name);
    }
    // An unnamed file goes with the process that wrote it.
    ASSERT_EQ(left.size(), unnamed ? 0u : 1u);
    if (unnamed) continue;

    // The next write removes what a killed writer left once it is old enough, and nothing else.
    const std::string stale = folder / *left.begin();
    const std::string young = folder / ".tavrin-0123456789.tmp";
    WriteBytes(young, "being written");
    const std::string others[] = {".tavrin-0123456789.tmp.keep", ".tavrin-ABCDEFGHIJ.tmp",
                                  "plan.BIN.tmp123-0-4567"};
    const std::time_t now = std::time(nullptr);
    auto age = [&](const std::string& path, std::time_t seconds) {
      const timespec times[2] = {{now - seconds, 0}, {now - seconds, 0}};
      ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    };
    for (const std::string& other : others) {
      WriteBytes(folder / other, "not ours");
      age(folder / other, 2 * kStaleTemporarySeconds);
    }
    age(stale, kStaleTemporarySeconds + 60);
    age(young, kStaleTemporarySeconds - 60);

    ScriptedWriteSystem system;
    system.unnamed = unnamed;
    ASSERT_TRUE(WriteFileAtomically(folder / "report.csv", "x", 1, system) == WriteStep::kDone);
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(std::filesystem::exists(young));
    for (const std::string& other : others) EXPECT_TRUE(std::filesystem::exists(folder / other));
  }
}

TEST(PairWrite, NamesUpToTheFileSystemLimitCanBeSaved) {
  struct Case {
    std::size_t bytes;  // of "<stem>.BIN" and of "<stem>.TXT"
    bool fits;
  };
  for (bool unnamed : {true, false}) {
    for (const Case c : {Case{240, true}, Case{255, true}, Case{256, false}}) {
      SCOPED_TRACE(std::to_string(c.bytes) + (unnamed ? " unnamed" : " named"));
      TempFolder folder;
      // Double-byte characters as a Japanese name has them, within the 260-character paths.
      std::string stem;
      while (stem.size() + 3 + 4 <= c.bytes) stem += "予";
      stem += std::string(c.bytes - 4 - stem.size(), 'x');
      const std::string settings = folder / (stem + ".BIN");
      const std::string names = folder / (stem + ".TXT");
      ScriptedWriteSystem system;
      system.unnamed = unnamed;

      const Result<> written =
          WriteSettingsAndNames(settings, NewImage(), names, NewNames(), system);
      if (c.fits) {
        ASSERT_TRUE(written.ok()) << written.message();
        EXPECT_EQ(ReadBytes(settings).size(), 6594u);
        EXPECT_EQ(ReadBytes(names).size(), 1600u);
      } else {
        EXPECT_EQ(written.message(), settings + " のオープンに失敗しました。");
      }
      EXPECT_EQ(Entries(folder.path()).size(), c.fits ? 2u : 0u);
    }
  }
}

TEST(PairWrite, ThroughALinkBothFilesLandBesideTheRealFile) {
  TempFolder folder;
  std::filesystem::create_directory(folder / "real");
  WriteBytes(folder / "real/plan.BIN", kOldSettings);
  chmod((folder / "real/plan.BIN").c_str(), 0640);
  std::filesystem::create_symlink("real/plan.BIN", folder / "link.BIN");

  DocumentPaths paths;
  paths.settingsFolder = folder.path();
  paths.settingsPath = folder / "link.BIN";
  paths.settingsTitle = "link.BIN";
  DeriveNamePaths(paths);
  EXPECT_EQ(paths.namePath, std::filesystem::canonical(folder / "real").string() + "/plan.TXT");
  EXPECT_EQ(paths.nameTitle, "plan.TXT");

  ASSERT_TRUE(
      WriteSettingsAndNames(paths.settingsPath, NewImage(), paths.namePath, NewNames()).ok());
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.BIN"));
  EXPECT_EQ(ReadBytes(folder / "real/plan.BIN"), NewImageBytes());
  EXPECT_EQ(ReadBytes(folder / "real/plan.TXT"), NewNameBytes());
  EXPECT_FALSE(std::filesystem::exists(folder / "link.TXT"));
  struct stat info {};
  stat((folder / "real/plan.BIN").c_str(), &info);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

}  // namespace
}  // namespace tavrin
