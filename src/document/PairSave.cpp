#include "document/PairSave.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <thread>

#include "document/PathText.h"
#include "model/FileHead.h"
#include "model/Messages.h"

namespace tavrin {
namespace {

constexpr std::string_view kLockPrefix = ".tavrin-";
constexpr std::string_view kLockSuffix = ".lock";
constexpr std::string_view kKeptSuffix = ".old";
constexpr std::size_t kKeyDigits = 16;
constexpr std::string_view kJournalHeader = "tavrin save journal 1";
constexpr std::string_view kJournalPrefix = "Tavrin-save-";
constexpr std::string_view kHexDigits = "0123456789abcdef";
constexpr int kLockPollMs = 5;

std::string Hex(std::uint64_t value) {
  std::string text(kKeyDigits, '0');
  for (std::size_t i = kKeyDigits; i-- > 0; value >>= 4) text[i] = kHexDigits[value & 0xF];
  return text;
}

std::optional<std::uint64_t> ParseHex(std::string_view text) {
  if (text.size() != kKeyDigits) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    const std::size_t digit = kHexDigits.find(c);
    if (digit == std::string_view::npos) return std::nullopt;
    value = value << 4 | digit;
  }
  return value;
}

// A folder in its real place, so that every spelling of it gives the same key and the journal
// names the files wherever the program runs from.
std::string RealFolder(const std::string& path) {
  char resolved[PATH_MAX];
  const std::string folder = FolderOf(path);
  if (realpath(folder.c_str(), resolved) != nullptr) return resolved;
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(folder, error);
  return error ? folder : absolute.lexically_normal().string();
}

std::string AbsolutePath(const std::string& path) {
  return JoinPath(RealFolder(path), FileNameOf(path));
}

// The whole content of a regular file, or nothing when there is none to read.
std::optional<std::string> Content(const std::string& path) {
  int error = 0;
  std::optional<FileHead> head = ReadFileHead(path, kDataFileLimitBytes, error);
  if (!head) return std::nullopt;
  return std::move(head->bytes);
}

std::optional<std::uint64_t> HashOf(const std::string& path) {
  const std::optional<std::string> bytes = Content(path);
  if (!bytes) return std::nullopt;
  return ContentHash(*bytes);
}

std::optional<std::uint64_t> HashOfOpen(int fd) {
  int error = 0;
  const std::optional<FileHead> head = ReadOpenFileHead(fd, kDataFileLimitBytes, error);
  if (!head) return std::nullopt;
  return ContentHash(head->bytes);
}

std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::optional<std::string> Unescaped(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) return std::nullopt;
    if (text[i] == '\\') {
      out += '\\';
    } else if (text[i] == 'n') {
      out += '\n';
    } else {
      return std::nullopt;
    }
  }
  return out;
}

void SyncFolderOf(const std::string& path) { SyncFolder(FolderOf(path)); }

void RemoveLeftovers(const std::vector<JournalEntry>& entries) {
  for (const JournalEntry& entry : entries) {
    unlink(entry.temporary.c_str());
    if (!entry.kept.empty()) unlink(entry.kept.c_str());
  }
}

// Renames the new files that are still waiting, the name file first and the settings file last as
// the save does; kCompleted when every one took its place.
Recovery Finish(const std::vector<JournalEntry>& entries, std::vector<bool>& done,
                WriteSystem& system) {
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (!done[i] && HashOf(entries[i].temporary) != entries[i].newHash) return Recovery::kLost;
  }
  for (std::size_t i = entries.size(); i-- > 0;) {
    if (done[i]) continue;
    if (!system.Allow(WriteStage::kReplace, entries[i].target) ||
        rename(entries[i].temporary.c_str(), entries[i].target.c_str()) != 0) {
      return Recovery::kLost;
    }
    done[i] = true;
    SyncFolderOf(entries[i].target);
  }
  return Recovery::kCompleted;
}

// Puts the old files back in place of the new ones already renamed; with none renamed yet, the old
// pair stands as it was.
Recovery Undo(const std::vector<JournalEntry>& entries, const std::vector<bool>& done) {
  if (std::find(done.begin(), done.end(), true) == done.end()) return Recovery::kRolledBack;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (done[i] && entries[i].oldHash && HashOf(entries[i].kept) != entries[i].oldHash) {
      return Recovery::kLost;
    }
  }
  bool undone = true;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (!done[i]) continue;
    const JournalEntry& entry = entries[i];
    undone &= entry.oldHash ? rename(entry.kept.c_str(), entry.target.c_str()) == 0
                            : unlink(entry.target.c_str()) == 0;
    SyncFolderOf(entry.target);
  }
  return undone ? Recovery::kRolledBack : Recovery::kLost;
}

}  // namespace

std::string PairKey(const std::string& namePath) {
  std::string name = FileNameOf(namePath);
  for (char& c : name) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return Hex(ContentHash(JoinPath(RealFolder(namePath), name)));
}

std::uint64_t ContentHash(std::string_view bytes) {
  std::uint64_t hash = 0xcbf29ce484222325ull;
  for (unsigned char c : bytes) {
    hash ^= c;
    hash *= 0x100000001b3ull;
  }
  return hash;
}

bool IsPairLockName(std::string_view name) {
  if (name.size() != kLockPrefix.size() + kKeyDigits + kLockSuffix.size() ||
      !name.starts_with(kLockPrefix) || !name.ends_with(kLockSuffix)) {
    return false;
  }
  return ParseHex(name.substr(kLockPrefix.size(), kKeyDigits)).has_value();
}

PairLock::~PairLock() { Release(); }

bool PairLock::Acquire(const std::string& folder, const std::string& key, int waitMs) {
  Release();
  path_ = JoinPath(folder, std::string(kLockPrefix) + key + std::string(kLockSuffix));
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  for (;;) {
    const int fd = open(path_.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return true;  // no lock file here: the save itself will say why
    int locked;
    while ((locked = flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EWOULDBLOCK) {
      if (std::chrono::steady_clock::now() >= deadline) {
        close(fd);
        return false;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(kLockPollMs));
    }
    if (locked != 0) {
      // No locks on this file system: nothing to take turns by.
      close(fd);
      return true;
    }
    // The holder before removed the file while this one waited for it: a new one is the lock.
    struct stat named {
    }, opened{};
    if (stat(path_.c_str(), &named) == 0 && fstat(fd, &opened) == 0 &&
        named.st_dev == opened.st_dev && named.st_ino == opened.st_ino) {
      fd_ = fd;
      return true;
    }
    close(fd);
  }
}

void PairLock::Release() {
  if (fd_ < 0) return;
  // Removed while still held, so that whoever waits on this file sees it gone and makes a new one.
  unlink(path_.c_str());
  close(fd_);
  fd_ = -1;
}

std::string FormatJournal(std::span<const JournalEntry> entries) {
  std::string text = std::string(kJournalHeader) + "\n";
  for (const JournalEntry& entry : entries) {
    text += "file\ntarget " + Escaped(entry.target) + "\ntemporary " + Escaped(entry.temporary) +
            "\nkept " + Escaped(entry.kept) + "\nold " +
            (entry.oldHash ? Hex(*entry.oldHash) : std::string("-")) + "\nnew " +
            Hex(entry.newHash) + "\n";
  }
  return text + "end\n";
}

std::optional<std::vector<JournalEntry>> ParseJournal(std::string_view text) {
  std::vector<std::string_view> lines;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) return std::nullopt;  // cut short
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  if (lines.size() < 2 || lines.front() != kJournalHeader || lines.back() != "end") {
    return std::nullopt;
  }
  constexpr std::size_t kLinesPerFile = 6;
  if ((lines.size() - 2) % kLinesPerFile != 0) return std::nullopt;
  std::vector<JournalEntry> entries;
  for (std::size_t at = 1; at + 1 < lines.size(); at += kLinesPerFile) {
    const auto field = [&](std::size_t offset, std::string_view key) -> std::optional<std::string> {
      const std::string_view line = lines[at + offset];
      if (!line.starts_with(key) || line.size() <= key.size() || line[key.size()] != ' ') {
        return line == key ? std::optional<std::string>("") : std::nullopt;
      }
      return Unescaped(line.substr(key.size() + 1));
    };
    if (lines[at] != "file") return std::nullopt;
    const auto target = field(1, "target");
    const auto temporary = field(2, "temporary");
    const auto kept = field(3, "kept");
    const auto old = field(4, "old");
    const auto fresh = field(5, "new");
    if (!target || !temporary || !kept || !old || !fresh || target->empty() || temporary->empty()) {
      return std::nullopt;
    }
    JournalEntry entry{*target, *temporary, *kept, std::nullopt, 0};
    if (*old != "-") {
      entry.oldHash = ParseHex(*old);
      if (!entry.oldHash) return std::nullopt;
    }
    const std::optional<std::uint64_t> newHash = ParseHex(*fresh);
    if (!newHash) return std::nullopt;
    entry.newHash = *newHash;
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::string JournalPath(const std::string& dataFolder, const std::string& key) {
  return JoinPath(dataFolder, std::string(kJournalPrefix) + key + ".journal");
}

std::string RecoveryNotice(Recovery recovery, const std::string& settingsPath, Language language) {
  const bool english = language == Language::kEnglish;
  switch (recovery) {
    case Recovery::kNone:
      return {};
    case Recovery::kCompleted:
      return english ? "the save of " + settingsPath +
                           " that was interrupted has been completed: its settings and name "
                           "files are the ones saved then"
                     : FormatMessage(
                           "%s の中断されていた保存を完了しました。設定ファイルと"
                           "名前ファイルはそのとき保存した内容です。",
                           settingsPath);
    case Recovery::kRolledBack:
      return english ? "the save of " + settingsPath +
                           " that was interrupted has been undone: its settings and name files "
                           "are the ones from before it"
                     : FormatMessage(
                           "%s の中断されていた保存を取り消しました。設定ファイルと"
                           "名前ファイルは保存する前の内容です。",
                           settingsPath);
    case Recovery::kStale:
      return {};
    case Recovery::kLost:
      return english ? "the save of " + settingsPath +
                           " that was interrupted could neither be completed nor undone: its "
                           "settings and name files may not belong together"
                     : FormatMessage(
                           "%s の中断されていた保存は、完了も取り消しもできませんでした。"
                           "設定ファイルと名前ファイルが対応していない可能性があります。",
                           settingsPath);
  }
  return {};
}

Recovery SettleJournal(const std::string& dataFolder, const std::string& key, WriteSystem& system) {
  const std::string journal = JournalPath(dataFolder, key);
  const std::optional<std::string> text = Content(journal);
  if (!text) return Recovery::kNone;
  const std::optional<std::vector<JournalEntry>> parsed = ParseJournal(*text);
  // A journal cut short was never complete, so no rename of its save had begun.
  if (!parsed) {
    unlink(journal.c_str());
    return Recovery::kNone;
  }
  const std::vector<JournalEntry>& entries = *parsed;
  std::vector<bool> done(entries.size());
  bool allDone = true, stale = false;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const JournalEntry& entry = entries[i];
    const std::optional<std::uint64_t> now = HashOf(entry.target);
    done[i] = now == entry.newHash;
    stale |= !done[i] && now != entry.oldHash;
    allDone &= done[i];
  }
  Recovery recovery = Recovery::kNone;
  if (stale) {
    recovery = Recovery::kStale;
  } else if (!allDone) {
    recovery = Finish(entries, done, system);
    if (recovery != Recovery::kCompleted) recovery = Undo(entries, done);
  }
  RemoveLeftovers(entries);
  unlink(journal.c_str());
  return recovery;
}

std::optional<std::string> RecoverInterruptedSave(const std::string& dataFolder,
                                                  const std::string& settingsPath,
                                                  const std::string& namePath, Language language) {
  if (dataFolder.empty()) return std::nullopt;
  const std::string key = PairKey(namePath);
  struct stat info {};
  if (lstat(JournalPath(dataFolder, key).c_str(), &info) != 0) return std::nullopt;
  PairLock lock;
  if (!lock.Acquire(RealFolder(namePath), key)) return std::nullopt;  // its save is still running
  const std::string notice = RecoveryNotice(SettleJournal(dataFolder, key), settingsPath, language);
  if (notice.empty()) return std::nullopt;
  return notice;
}

WriteOutcome JournaledSave::BeforeReplacing(std::span<StagedFile> staged) {
  entries_.clear();
  for (std::size_t i = 0; i < staged.size(); ++i) {
    const StagedFile& file = staged[i];
    JournalEntry entry;
    entry.target = AbsolutePath(file.Target());
    entry.temporary = AbsolutePath(file.WaitingPath());
    entry.newHash = ContentHash({static_cast<const char*>(files_[i].data), files_[i].size});
    if (file.Previous() >= 0) {
      entry.oldHash = HashOfOpen(file.Previous());
      entry.kept = TemporaryPath(FolderOf(entry.target), kKeptSuffix);
    }
    entries_.push_back(std::move(entry));
  }
  const std::string text = FormatJournal(entries_);
  const WriteOutcome written =
      WriteFileAtomically(JournalPath(dataFolder_, key_), text.data(), text.size(), system_);
  // Without a journal the save goes on as it would without a data folder.
  journaled_ = written == WriteStep::kDone;
  if (!journaled_) return {};
  for (JournalEntry& entry : entries_) {
    if (entry.kept.empty()) continue;
    // A second name for the old file costs no copy; where the file system has no hard links the
    // journal can still complete the save, though not undo it.
    if (!system_.Allow(WriteStage::kKeep, entry.target) ||
        link(entry.target.c_str(), entry.kept.c_str()) != 0) {
      entry.kept.clear();
    }
  }
  return {};
}

void JournaledSave::AfterReplacing() {
  if (!journaled_) return;
  if (!system_.Allow(WriteStage::kSettle, entries_.front().target)) return;
  for (const JournalEntry& entry : entries_) {
    if (!entry.kept.empty()) unlink(entry.kept.c_str());
  }
  unlink(JournalPath(dataFolder_, key_).c_str());
}

}  // namespace tavrin
