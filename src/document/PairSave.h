// One save of a settings file and its name file at a time, and none left half done.
//
// Writers of one pair take turns: each holds an advisory lock on a lock file beside the pair
// (".tavrin-" + 16 hexadecimal digits of the pair's key + ".lock") for the whole save, and removes
// it while still holding it. A writer that got the lock checks that the name still leads to the
// file it locked, so a lock file removed meanwhile is never taken for the lock; a killed writer's
// lock file is removed by the next write into the folder, as its temporaries are.
//
// Between the two renames of a save, a kill would leave a new name file beside the old settings
// file. So before the first rename the save writes a journal into the data folder
// ("Tavrin-save-<key>.journal": the targets, where their new content waits, where their old content
// is kept, and a fingerprint of each), keeps each old file under a second name
// (".tavrin-" + 10 letters or digits + ".old"), and removes both once the renames are done. The
// next save or open of the pair that finds a journal completes the save when every new file is
// still there, else rolls it back to the old files, and says which it did.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "document/FileProbe.h"
#include "document/SafeWrite.h"
#include "model/Result.h"

namespace tavrin {

// How long a save waits for another save of the same pair before it gives up.
inline constexpr int kPairLockWaitMs = 10000;

// The pair's name, the same for every spelling of its folder and every letter case of its file
// names: 16 hexadecimal digits.
std::string PairKey(const std::string& namePath);

// The lock of one pair, held from Acquire until it is dropped.
class PairLock {
 public:
  PairLock() = default;
  PairLock(const PairLock&) = delete;
  PairLock& operator=(const PairLock&) = delete;
  ~PairLock();
  // False when another save of the pair held it for kPairLockWaitMs (`waitMs` in tests). A folder
  // where no lock file can be made, or a file system without locks, is no reason to fail: the save
  // goes on without, and tells its own cause if it cannot write there either.
  bool Acquire(const std::string& folder, const std::string& key, int waitMs = kPairLockWaitMs);
  void Release();
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
  std::string path_;
};

// Whether `name` is a lock file or a kept old file of a save; the sweep of temporaries removes the
// lock files nobody holds.
bool IsPairLockName(std::string_view name);

// A 64-bit FNV-1a fingerprint: enough to tell the old content of a file from the new.
std::uint64_t ContentHash(std::string_view bytes);

// What a save of a pair writes in its journal, for each file.
struct JournalEntry {
  std::string target;     // absolute
  std::string temporary;  // the new content under its temporary name until it is renamed
  std::string kept;       // the old content's second name; empty when there was no old file
  std::optional<std::uint64_t> oldHash;  // none: there was no old file
  std::uint64_t newHash = 0;
};
std::string FormatJournal(std::span<const JournalEntry> entries);
std::optional<std::vector<JournalEntry>> ParseJournal(std::string_view text);

std::string JournalPath(const std::string& dataFolder, const std::string& key);

// What finding an earlier save's journal led to.
enum class Recovery {
  kNone,        // no journal, or one whose save had already done every rename
  kCompleted,   // the interrupted save's renames were done now
  kRolledBack,  // its new files were gone: the old files are back
  kStale,  // the files were written since: the journal is dropped and the files kept as they are
  kLost,   // neither was possible: the files are as the kill left them
};
// The notice for a recovery other than kNone, naming the settings file.
std::string RecoveryNotice(Recovery recovery, const std::string& settingsPath, Language language);

// Finds and settles the journal of the pair under its lock, which the caller holds.
Recovery SettleJournal(const std::string& dataFolder, const std::string& key,
                       WriteSystem& system = RealWriteSystem());

// For an open of the pair whose name file is `namePath`: when a journal of it is there, takes the
// lock and settles it. The notice for the user, or nothing when there was nothing to do.
std::optional<std::string> RecoverInterruptedSave(const std::string& dataFolder,
                                                  const std::string& settingsPath,
                                                  const std::string& namePath, Language language);

// The save of a pair with its journal: the hooks WriteFilesTogether runs around its renames.
class JournaledSave : public ReplaceHooks {
 public:
  JournaledSave(std::string dataFolder, std::string key, std::span<const FileContent> files,
                WriteSystem& system)
      : dataFolder_(std::move(dataFolder)), key_(std::move(key)), files_(files), system_(system) {}
  WriteOutcome BeforeReplacing(std::span<StagedFile> staged) override;
  void AfterReplacing() override;

 private:
  std::string dataFolder_;
  std::string key_;
  std::span<const FileContent> files_;
  WriteSystem& system_;
  std::vector<JournalEntry> entries_;
  bool journaled_ = false;
};

}  // namespace tavrin
