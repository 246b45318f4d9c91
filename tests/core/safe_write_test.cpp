#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <thread>

#include "ScriptedWriteSystem.h"
#include "TempFolder.h"
#include "document/PairSave.h"
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
    bool namesReplaced;  // only a failure between the two renames leaves the name file new
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
      {".BIN", WriteStage::kLink, " への書き込みに失敗しました。", false},
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
      // A stage that fails does so as a full disk would, and the message says so.
      const std::string path = folder / (std::string("plan") + c.file);
      EXPECT_EQ(written.message(),
                path + c.message + "\n\n" + path + " のディスクがいっぱいです。");
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
    // While the last file is written, and when both are complete, before the first rename.
    std::set<std::string> whileWriting, beforeReplacing;
    bool oldNamesHeld = false;
    system.onStage = [&](WriteStage stage, const std::string& target) {
      if (stage == WriteStage::kSync && target.ends_with(".TXT")) {
        whileWriting = Entries(folder.path());
      }
      if (stage == WriteStage::kReplace && beforeReplacing.empty()) {
        beforeReplacing = Entries(folder.path());
      }
      // Between the renames the replaced name file is still open, so that the rename did not
      // have to free it: freeing takes the file system long enough for a kill to land there.
      if (stage == WriteStage::kReplace && target.ends_with(".BIN")) {
        for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd")) {
          std::error_code error;
          const std::string file = std::filesystem::read_symlink(fd.path(), error).string();
          oldNamesHeld |= file == pair.names + " (deleted)";
        }
      }
    };
    ASSERT_TRUE(pair.Write(system).ok());
    EXPECT_TRUE(pair.SettingsNew());
    EXPECT_TRUE(pair.NamesNew());
    EXPECT_EQ(Entries(folder.path()), (std::set<std::string>{"plan.BIN", "plan.TXT"}));

    auto temporaries = [](const std::set<std::string>& names) {
      return std::count_if(names.begin(), names.end(), LooksTemporary);
    };
    EXPECT_EQ(temporaries(whileWriting), unnamed ? 0 : 2);
    // Both have their names before the first rename, so that the renames follow each other.
    EXPECT_EQ(temporaries(beforeReplacing), 2);
    // The two targets, their new files and the pair's lock.
    EXPECT_EQ(beforeReplacing.size(), 5u);
    EXPECT_TRUE(oldNamesHeld);
  }
}

// Opens and locks a file as a running writer holds its temporary.
class HeldFile {
 public:
  explicit HeldFile(const std::string& path) : fd_(open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
    EXPECT_TRUE(HoldTemporary(fd_));
  }
  ~HeldFile() { close(fd_); }

 private:
  int fd_;
};

TEST(PairWrite, AKillBetweenTheRenamesLeavesTheOldSettingsFileAndTheNextWriteSweeps) {
  for (bool unnamed : {true, false}) {
    SCOPED_TRACE(unnamed ? "unnamed" : "named");
    TempFolder folder;
    const Pair pair(folder);
    ScriptedWriteSystem killer;
    killer.unnamed = unnamed;
    // The rename of the settings file, right after the name file's.
    killer.failAt = WriteStage::kReplace;
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
    ASSERT_EQ(left.size(), 1u);  // the settings file, complete, under its temporary name

    // The next write removes what nobody holds, however new, and leaves a running writer's
    // temporary and the names that are not this program's.
    const std::string killed = folder / *left.begin();
    const std::string orphan = folder / ".tavrin-abcdefghij.tmp";
    const std::string held = folder / ".tavrin-0123456789.tmp";
    WriteBytes(orphan, "left a moment ago");
    WriteBytes(held, "being written");
    const HeldFile writer(held);
    const std::string others[] = {".tavrin-0123456789.tmp.keep", ".tavrin-ABCDEFGHIJ.tmp",
                                  "plan.BIN.tmp123-0-4567"};
    for (const std::string& other : others) WriteBytes(folder / other, "not ours");

    ScriptedWriteSystem system;
    system.unnamed = unnamed;
    ASSERT_TRUE(WriteFileAtomically(folder / "report.csv", "x", 1, system) == WriteStep::kDone);
    EXPECT_FALSE(std::filesystem::exists(killed));
    EXPECT_FALSE(std::filesystem::exists(orphan));
    EXPECT_TRUE(std::filesystem::exists(held));
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
        EXPECT_EQ(written.message(), settings + " のオープンに失敗しました。\n\n" + settings +
                                         " のパスが長すぎます。");
      }
      EXPECT_EQ(Entries(folder.path()).size(), c.fits ? 2u : 0u);
    }
  }
}

TEST(PairWrite, ThroughALinkBothFilesLandBesideTheRealFile) {
  // A live link, and links whose file is not there yet (directly, or through a second link): all
  // keep pointing where they pointed, and the file takes the place they name.
  const struct {
    const char* name;
    bool fileThere;
    bool chained;
  } cases[] = {{"live", true, false}, {"dangling", false, false}, {"chained", false, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    std::filesystem::create_directory(folder / "real");
    if (c.fileThere) {
      WriteBytes(folder / "real/plan.BIN", kOldSettings);
      chmod((folder / "real/plan.BIN").c_str(), 0640);
    }
    if (c.chained) {
      std::filesystem::create_symlink(folder / "real/plan.BIN", folder / "real/hop.BIN");
      std::filesystem::create_symlink("real/hop.BIN", folder / "link.BIN");
    } else {
      std::filesystem::create_symlink("real/plan.BIN", folder / "link.BIN");
    }

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
    EXPECT_EQ(ReadBytes(folder / "link.BIN"), NewImageBytes());
    EXPECT_EQ(ReadBytes(folder / "real/plan.TXT"), NewNameBytes());
    EXPECT_FALSE(std::filesystem::exists(folder / "link.TXT"));
    EXPECT_EQ(Entries(folder.path()), (std::set<std::string>{"link.BIN", "real"}));
    if (c.fileThere) {
      struct stat info {};
      stat((folder / "real/plan.BIN").c_str(), &info);
      EXPECT_EQ(info.st_mode & 0777, 0640u);
    }
  }
}

// A pair saved with its journal in `data`, killed at one point of the save, then opened again.
struct KillPoint {
  const char* name;
  WriteStage stage;
  const char* file;    // the end of the target's path
  bool sweepFirst;     // another write into the folder sweeps the killed writer's temporaries first
  bool becomesNew;     // the pair after the open: the new one, else the old one
  const char* notice;  // what the open says; empty: nothing
};

TEST(PairJournal, AKillAtEveryStepOfTheSaveEndsInAWholePairAtTheNextOpen) {
  const std::string completed = "の中断されていた保存を完了しました。";
  const std::string undone = "の中断されていた保存を取り消しました。";
  const KillPoint points[] = {
      {"journal created", WriteStage::kCreate, ".journal", false, false, ""},
      {"journal written", WriteStage::kWrite, ".journal", false, false, ""},
      {"journal synced", WriteStage::kSync, ".journal", false, false, ""},
      {"journal renamed", WriteStage::kReplace, ".journal", false, false, ""},
      {"old settings file kept", WriteStage::kKeep, ".BIN", false, true, completed.c_str()},
      {"old name file kept", WriteStage::kKeep, ".TXT", false, true, completed.c_str()},
      {"name file renamed", WriteStage::kReplace, ".TXT", false, true, completed.c_str()},
      {"settings file renamed", WriteStage::kReplace, ".BIN", false, true, completed.c_str()},
      {"settled", WriteStage::kSettle, ".BIN", false, true, ""},
      // The new files swept away by a write of something else: the old ones come back.
      {"name file renamed, swept", WriteStage::kReplace, ".TXT", true, false, undone.c_str()},
      {"settings file renamed, swept", WriteStage::kReplace, ".BIN", true, false, undone.c_str()},
  };
  for (bool unnamed : {true, false}) {
    for (const KillPoint& point : points) {
      SCOPED_TRACE(std::string(point.name) + (unnamed ? " unnamed" : " named"));
      TempFolder folder, data;
      const Pair pair(folder);
      ScriptedWriteSystem killer;
      killer.unnamed = unnamed;
      killer.failAt = point.stage;
      killer.failFor = point.file;
      killer.kill = true;
      EXPECT_EXIT((void)WriteSettingsAndNames(pair.settings, NewImage(), pair.names, NewNames(),
                                              killer, {data.path()}),
                  ::testing::KilledBySignal(SIGKILL), "");
      if (point.sweepFirst) {
        ASSERT_TRUE(WriteFileAtomically(folder / "report.csv", "x", 1) == WriteStep::kDone);
        std::filesystem::remove(folder / "report.csv");
      }

      const std::optional<std::string> notice =
          RecoverInterruptedSave(data.path(), pair.settings, pair.names, Language::kJapanese);
      EXPECT_EQ(notice.value_or(""),
                std::string(*point.notice ? pair.settings + " " : "") + point.notice +
                    (*point.notice
                         ? (std::string(point.notice) == completed ? "設定ファイルと名前ファイルは"
                                                                     "そのとき保存した内容です。"
                                                                   : "設定ファイルと名前ファイルは"
                                                                     "保存する前の内容です。")
                         : ""));
      EXPECT_EQ(pair.SettingsNew(), point.becomesNew);
      EXPECT_EQ(pair.NamesNew(), point.becomesNew);
      EXPECT_EQ(pair.SettingsOld(), !point.becomesNew);
      EXPECT_EQ(pair.NamesOld(), !point.becomesNew);
      // Nothing of the journal stays once it is settled; the next save sweeps the rest.
      EXPECT_TRUE(Entries(data.path()).empty() || *point.notice == '\0');
      ScriptedWriteSystem next;
      ASSERT_TRUE(pair.Write(next).ok());
      EXPECT_EQ(Entries(folder.path()), (std::set<std::string>{"plan.BIN", "plan.TXT"}));
    }
  }
}

// While one save of a pair runs, another waits for it, and goes on once it is done; the lock file
// goes with the last save.
TEST(PairJournal, SavesOfOnePairTakeTurns) {
  TempFolder folder;
  const Pair pair(folder);
  PairLock running;
  ASSERT_TRUE(running.Acquire(folder.path(), PairKey(pair.names)));
  EXPECT_EQ(Entries(folder.path()).size(), 3u);  // the pair and the lock
  std::atomic<bool> done = false;
  std::thread second([&] {
    ScriptedWriteSystem system;
    EXPECT_TRUE(pair.Write(system).ok());
    done = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_FALSE(done);
  EXPECT_TRUE(pair.SettingsOld());
  EXPECT_TRUE(pair.NamesOld());
  running.Release();
  second.join();
  EXPECT_TRUE(pair.SettingsNew());
  EXPECT_TRUE(pair.NamesNew());
  EXPECT_EQ(Entries(folder.path()), (std::set<std::string>{"plan.BIN", "plan.TXT"}));

  // Held longer than a save waits: the save gives up and says why, and changes nothing.
  ASSERT_TRUE(running.Acquire(folder.path(), PairKey(pair.names)));
  PairLock other;
  EXPECT_FALSE(other.Acquire(folder.path(), PairKey(folder / "PLAN.txt"), 50));
}

}  // namespace
}  // namespace tavrin
