#include "document/SafeWrite.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <random>
#include <set>
#include <vector>

#include "document/FileProbe.h"
#include "document/PairSave.h"
#include "document/PathText.h"
#include "model/FileHead.h"

namespace tavrin {
namespace {

class RealSystem : public WriteSystem {
 public:
  bool Allow(WriteStage, const std::string&) override { return true; }
  bool UnnamedTemporaries() const override { return true; }
};

constexpr std::string_view kTemporaryPrefix = ".tavrin-";
constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr std::string_view kTemporaryLetters = "0123456789abcdefghijklmnopqrstuvwxyz";
constexpr std::size_t kTemporaryRandom = 10;
// Links followed by hand before a chain is taken for a loop, as the system does.
constexpr int kMaxLinkHops = 40;

bool IsTemporaryName(std::string_view name) {
  if (name.size() != kTemporaryPrefix.size() + kTemporaryRandom + kTemporarySuffix.size() ||
      !name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporarySuffix)) {
    return false;
  }
  return name.substr(kTemporaryPrefix.size(), kTemporaryRandom)
             .find_first_not_of(kTemporaryLetters) == std::string_view::npos;
}

// Whether `name` in `folder` is still the file open as `fd`.
bool SameFile(int folder, const std::string& name, int fd) {
  struct stat named {
  }, opened{};
  return fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
         fstat(fd, &opened) == 0 && named.st_dev == opened.st_dev && named.st_ino == opened.st_ino;
}

bool Stale(const struct stat& info) {
  return std::time(nullptr) - info.st_mtime >= kStaleTemporarySeconds;
}

void RemoveLeftTemporaries(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  // The lock files of pairs go by the same rule: removed only by whoever holds them.
  SweepTemporaries(
      fd, [](std::string_view name) { return IsTemporaryName(name) || IsPairLockName(name); });
  close(fd);
}

// Linking an unnamed file in goes through its /proc entry; without /proc it cannot be done.
bool CanLinkUnnamedFiles() {
  static const bool available = access("/proc/self/fd", X_OK) == 0;
  return available;
}

bool WriteAll(int fd, const void* data, std::size_t size) {
  const char* at = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t written = write(fd, at, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    at += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

}  // namespace

std::string TemporaryPath(const std::string& folder, std::string_view suffix) {
  thread_local std::mt19937_64 engine{std::random_device{}()};
  std::uniform_int_distribution<std::size_t> pick(0, kTemporaryLetters.size() - 1);
  std::string name(kTemporaryPrefix);
  for (std::size_t i = 0; i < kTemporaryRandom; ++i) name += kTemporaryLetters[pick(engine)];
  name += suffix;
  return JoinPath(folder, name);
}

WriteSystem& RealWriteSystem() {
  static RealSystem system;
  return system;
}

// A symbolic link keeps pointing where it pointed: the file it names is the one replaced, and a
// link whose file is missing gets it in the place it names.
std::string FileBehindLink(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  char resolved[PATH_MAX];
  if (realpath(path.c_str(), resolved) != nullptr) return resolved;
  std::string at = path;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    if (lstat(at.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
      // The name the chain ends at, in its folder's real place when that exists.
      if (realpath(FolderOf(at).c_str(), resolved) == nullptr) return at;
      return JoinPath(resolved, FileNameOf(at));
    }
    char text[PATH_MAX];
    const ssize_t length = readlink(at.c_str(), text, sizeof text - 1);
    if (length <= 0) return path;
    const std::string target(text, static_cast<std::size_t>(length));
    at = target.front() == '/' ? target : JoinPath(FolderOf(at), target);
  }
  return path;  // a loop: the write fails as an open would
}

bool HoldTemporary(int fd) { return flock(fd, LOCK_EX | LOCK_NB) == 0; }

int CreateHeldTemporary(int folder, const std::function<std::string()>& newName, int flags,
                        std::string& name) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = newName();
    const int fd = openat(folder, name.c_str(), O_CREAT | O_EXCL | flags, 0666);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return -1;
    }
    if (!HoldTemporary(fd)) {
      // Held by a sweep that found the name free for a moment: the file is on its way out.
      if (errno == EWOULDBLOCK) {
        close(fd);
        continue;
      }
      return fd;  // no locks on this file system: the age decides instead
    }
    // A sweep may have removed the name between its creation and the lock.
    if (SameFile(folder, name, fd)) return fd;
    close(fd);
  }
  errno = EEXIST;
  return -1;
}

void SweepTemporaries(int folder, const std::function<bool(std::string_view)>& isTemporary) {
  const int listed = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (listed < 0) return;
  DIR* entries = fdopendir(listed);
  if (entries == nullptr) {
    close(listed);
    return;
  }
  std::vector<std::string> names;
  while (const dirent* entry = readdir(entries)) {
    if (isTemporary(entry->d_name)) names.emplace_back(entry->d_name);
  }
  closedir(entries);
  for (const std::string& name : names) {
    struct stat info {};
    if (fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode)) {
      continue;
    }
    const int fd = openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    bool left = false;
    if (fd >= 0 && HoldTemporary(fd)) {
      left = SameFile(folder, name, fd);
    } else if (fd < 0 || errno != EWOULDBLOCK) {
      left = Stale(info);  // no lock to ask: only its age tells
    }
    if (left) unlinkat(folder, name.c_str(), 0);
    if (fd >= 0) close(fd);
  }
}

void SyncFolder(const std::string& folder) {
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);  // best effort: the data itself is already on disk
  close(fd);
}

StagedFile::~StagedFile() { Discard(); }

WriteStep StagedFile::Failed(WriteStep step, int error) {
  failed_ = true;
  error_ = error;
  return step;
}

void StagedFile::Discard() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  if (!temporaryPath_.empty()) unlink(temporaryPath_.c_str());
  temporaryPath_.clear();
  if (lockFd_ >= 0) close(lockFd_);
  lockFd_ = -1;
  if (previousFd_ >= 0) close(previousFd_);
  previousFd_ = -1;
}

WriteStep StagedFile::Create(const std::string& path, WriteSystem& system) {
  Discard();
  system_ = &system;
  failed_ = false;
  target_ = FileBehindLink(path);
  folder_ = FolderOf(target_);
  struct stat existing {};
  const bool exists = stat(target_.c_str(), &existing) == 0;
  // A path the system cannot take (a name longer than the folder holds, a file in place of a
  // folder) fails here as creating it would have; the short temporary name and an unnamed file
  // would otherwise get as far as the rename.
  if (!exists && errno != ENOENT) return Failed(WriteStep::kOpen, errno);
  // Renaming would replace a folder's entry or a write-protected file that an in-place write
  // could never have touched; refuse both as the open would have.
  if (exists && !S_ISREG(existing.st_mode)) {
    return Failed(WriteStep::kOpen, S_ISDIR(existing.st_mode) ? kIsFolder : kNotRegularFile);
  }
  if (exists && access(target_.c_str(), W_OK) != 0) {
    return Failed(WriteStep::kOpen,
                  errno == EACCES && !(existing.st_mode & 0222) ? kReadOnlyFile : errno);
  }
  if (!system.Allow(WriteStage::kCreate, target_)) return Failed(WriteStep::kOpen, ENOSPC);
  // 0666 lets the user's umask decide, as for any file the program creates.
  if (system.UnnamedTemporaries() && CanLinkUnnamedFiles()) {
    fd_ = open(folder_.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd_ >= 0) HoldTemporary(fd_);
  }
  // A folder that takes no new file at all (a pseudo file system) says nothing true of the file.
  if (fd_ < 0 && !CreateNamed()) return Failed(WriteStep::kOpen, errno == ENOENT ? 0 : errno);
  // The lock stays with the file after the descriptor written through is closed.
  lockFd_ = fcntl(fd_, F_DUPFD_CLOEXEC, 0);
  if (lockFd_ < 0) {
    const int error = errno;
    Discard();
    return Failed(WriteStep::kOpen, error);
  }
  if (exists) {
    fchmod(fd_, existing.st_mode & 07777);  // keeps the file's permissions
    // Held until the new file is in its place, so that the rename only drops a name and freeing
    // the old file's blocks comes after every rename of the write.
    previousFd_ = open(target_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  }
  return WriteStep::kDone;
}

bool StagedFile::CreateNamed() {
  std::string path;
  fd_ = CreateHeldTemporary(
      AT_FDCWD, [&] { return TemporaryPath(folder_); }, O_WRONLY | O_CLOEXEC, path);
  if (fd_ >= 0) temporaryPath_ = path;
  return fd_ >= 0;
}

WriteStep StagedFile::Append(const void* data, std::size_t size) {
  if (fd_ < 0 || failed_) return WriteStep::kWrite;
  if (!system_->Allow(WriteStage::kWrite, target_)) return Failed(WriteStep::kWrite, ENOSPC);
  if (!WriteAll(fd_, data, size)) return Failed(WriteStep::kWrite, errno);
  return WriteStep::kDone;
}

WriteStep StagedFile::Finish() {
  if (fd_ < 0 || failed_) return WriteStep::kWrite;
  if (!system_->Allow(WriteStage::kSync, target_)) return Failed(WriteStep::kWrite, ENOSPC);
  if (fsync(fd_) != 0) return Failed(WriteStep::kWrite, errno);
  const bool named = !temporaryPath_.empty();
  const bool allowed = !named || system_->Allow(WriteStage::kClose, target_);
  const int closed = close(fd_);
  const int error = allowed ? errno : ENOSPC;
  fd_ = -1;
  return allowed && closed == 0 ? WriteStep::kDone : Failed(WriteStep::kClose, error);
}

WriteStep StagedFile::Link() {
  if (!temporaryPath_.empty()) return WriteStep::kDone;
  // A file cannot be linked over an existing one, so an unnamed file gets a temporary name
  // first and is then renamed like a named one.
  if (lockFd_ < 0) return WriteStep::kWrite;
  if (!system_->Allow(WriteStage::kLink, target_)) return Failed(WriteStep::kWrite, ENOSPC);
  const std::string self = "/proc/self/fd/" + std::to_string(lockFd_);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string path = TemporaryPath(folder_);
    if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      temporaryPath_ = path;
      return WriteStep::kDone;
    }
    if (errno != EEXIST) break;
  }
  return Failed(WriteStep::kWrite, errno);
}

WriteStep StagedFile::Replace() {
  if (temporaryPath_.empty()) return WriteStep::kWrite;
  if (!system_->Allow(WriteStage::kReplace, target_)) return Failed(WriteStep::kWrite, ENOSPC);
  if (rename(temporaryPath_.c_str(), target_.c_str()) != 0) {
    return Failed(WriteStep::kWrite, errno);
  }
  temporaryPath_.clear();
  return WriteStep::kDone;
}

WriteStep StagedFile::Commit() {
  WriteStep step = Finish();
  if (step == WriteStep::kDone) step = Link();
  if (step == WriteStep::kDone) step = Replace();
  Discard();
  if (step == WriteStep::kDone) SyncFolder(folder_);
  return step;
}

WriteOutcome WriteFileAtomically(const std::string& path, const void* data, std::size_t size,
                                 WriteSystem& system) {
  const FileContent file{path, data, size};
  return WriteFilesTogether({&file, 1}, system);
}

WriteOutcome WriteFilesTogether(std::span<const FileContent> files, WriteSystem& system,
                                ReplaceHooks* hooks) {
  // Every write cleans up, before staging, so that the files of this write are never among what
  // it removes.
  std::set<std::string> folders;
  for (const FileContent& file : files) folders.insert(FolderOf(FileBehindLink(file.path)));
  for (const std::string& folder : folders) RemoveLeftTemporaries(folder);

  std::vector<StagedFile> staged(files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    WriteStep step = staged[i].Create(files[i].path, system);
    if (step == WriteStep::kDone) step = staged[i].Append(files[i].data, files[i].size);
    if (step == WriteStep::kDone) step = staged[i].Finish();
    if (step != WriteStep::kDone) return {step, i, staged[i].Error()};
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    const WriteStep step = staged[i].Link();
    if (step != WriteStep::kDone) return {step, i, staged[i].Error()};
  }
  if (hooks) {
    const WriteOutcome prepared = hooks->BeforeReplacing(staged);
    if (prepared != WriteStep::kDone) return prepared;
  }
  // Nothing between the renames: the time a kill could part the files is as short as it gets.
  for (std::size_t i = files.size(); i-- > 0;) {
    const WriteStep step = staged[i].Replace();
    if (step != WriteStep::kDone) return {step, i, staged[i].Error()};
  }
  for (StagedFile& file : staged) file.Discard();
  for (const std::string& folder : folders) SyncFolder(folder);
  if (hooks) hooks->AfterReplacing();
  return {};
}

}  // namespace tavrin
