#include "document/SafeWrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <random>
#include <string_view>
#include <vector>

#include "document/PathText.h"

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

std::string TemporaryPath(const std::string& folder) {
  thread_local std::mt19937_64 engine{std::random_device{}()};
  std::uniform_int_distribution<std::size_t> pick(0, kTemporaryLetters.size() - 1);
  std::string name(kTemporaryPrefix);
  for (std::size_t i = 0; i < kTemporaryRandom; ++i) name += kTemporaryLetters[pick(engine)];
  name += kTemporarySuffix;
  return JoinPath(folder, name);
}

bool IsTemporaryName(std::string_view name) {
  if (name.size() != kTemporaryPrefix.size() + kTemporaryRandom + kTemporarySuffix.size() ||
      !name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporarySuffix)) {
    return false;
  }
  return name.substr(kTemporaryPrefix.size(), kTemporaryRandom)
             .find_first_not_of(kTemporaryLetters) == std::string_view::npos;
}

// Files of writers killed before they could remove them. A write takes moments, so a temporary
// file untouched for much longer belongs to no writer any more.
void RemoveStaleTemporaries(const std::string& folder) {
  std::error_code error;
  std::filesystem::directory_iterator entries(folder, error);
  for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
    if (!IsTemporaryName(entries->path().filename().native())) continue;
    const std::string path = entries->path().native();
    struct stat info {};
    if (lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
        std::time(nullptr) - info.st_mtime >= kStaleTemporarySeconds) {
      unlink(path.c_str());
    }
  }
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

void SyncFolder(const std::string& folder) {
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);  // best effort: the data itself is already on disk
  close(fd);
}

// One file's new content, completely on disk beside its target but not yet in its place. Dropped
// before Commit, it leaves nothing behind.
class StagedFile {
 public:
  StagedFile() = default;
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;
  ~StagedFile() {
    if (fd_ >= 0) close(fd_);
    if (!temporaryPath_.empty()) unlink(temporaryPath_.c_str());
  }

  WriteStep Stage(const FileContent& file, WriteSystem& system) {
    target_ = FileBehindLink(file.path);
    folder_ = FolderOf(target_);
    struct stat existing {};
    const bool exists = stat(target_.c_str(), &existing) == 0;
    // A path the system cannot take (a name longer than the folder holds, a file in place of a
    // folder) fails here as creating it would have; the short temporary name and an unnamed file
    // would otherwise get as far as the rename.
    if (!exists && errno != ENOENT) return WriteStep::kOpen;
    // Renaming would replace a folder's entry or a write-protected file that an in-place write
    // could never have touched; refuse both as the open would have.
    if (exists && (!S_ISREG(existing.st_mode) || access(target_.c_str(), W_OK) != 0)) {
      return WriteStep::kOpen;
    }
    if (!system.Allow(WriteStage::kCreate, target_)) return WriteStep::kOpen;
    // 0666 lets the user's umask decide, as for any file the program creates.
    if (system.UnnamedTemporaries() && CanLinkUnnamedFiles()) {
      fd_ = open(folder_.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    }
    if (fd_ < 0 && !CreateNamed()) return WriteStep::kOpen;
    if (exists) fchmod(fd_, existing.st_mode & 07777);  // keeps the file's permissions

    if (!system.Allow(WriteStage::kWrite, target_) || !WriteAll(fd_, file.data, file.size) ||
        !system.Allow(WriteStage::kSync, target_) || fsync(fd_) != 0) {
      return WriteStep::kWrite;
    }
    if (temporaryPath_.empty()) return WriteStep::kDone;
    const bool allowed = system.Allow(WriteStage::kClose, target_);
    const int closed = close(fd_);
    fd_ = -1;
    return allowed && closed == 0 ? WriteStep::kDone : WriteStep::kClose;
  }

  WriteStep Commit(WriteSystem& system) {
    // A file cannot be linked over an existing one, so an unnamed file gets a temporary name
    // first and is then renamed like a named one.
    if (temporaryPath_.empty() && (!system.Allow(WriteStage::kLink, target_) || !LinkUnnamed())) {
      return WriteStep::kWrite;
    }
    if (!system.Allow(WriteStage::kReplace, target_) ||
        rename(temporaryPath_.c_str(), target_.c_str()) != 0) {
      return WriteStep::kWrite;
    }
    temporaryPath_.clear();
    SyncFolder(folder_);
    return WriteStep::kDone;
  }

 private:
  bool CreateNamed() {
    for (int attempt = 0; attempt < 100; ++attempt) {
      const std::string path = TemporaryPath(folder_);
      fd_ = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd_ >= 0) temporaryPath_ = path;
      if (fd_ >= 0 || errno != EEXIST) break;
    }
    return fd_ >= 0;
  }

  bool LinkUnnamed() {
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    for (int attempt = 0; attempt < 100; ++attempt) {
      const std::string path = TemporaryPath(folder_);
      if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        temporaryPath_ = path;
        close(fd_);
        fd_ = -1;
        return true;
      }
      if (errno != EEXIST) break;
    }
    return false;
  }

  std::string target_;
  std::string folder_;
  int fd_ = -1;                // open until the file is closed or linked in
  std::string temporaryPath_;  // the name the file has before it takes the target's place
};

}  // namespace

WriteSystem& RealWriteSystem() {
  static RealSystem system;
  return system;
}

// A symbolic link keeps pointing where it pointed: the file it names is the one replaced.
std::string FileBehindLink(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  char resolved[PATH_MAX];
  if (realpath(path.c_str(), resolved) == nullptr) return path;
  return resolved;
}

WriteStep WriteFileAtomically(const std::string& path, const void* data, std::size_t size,
                              WriteSystem& system) {
  const FileContent file{path, data, size};
  return WriteFilesTogether({&file, 1}, system).step;
}

GroupWriteOutcome WriteFilesTogether(std::span<const FileContent> files, WriteSystem& system) {
  // Every write cleans up, since a file linked in under a temporary name is named for a moment
  // even where unnamed files are available. Before staging, so that the files of this write are
  // never taken for left-overs.
  for (const FileContent& file : files) {
    RemoveStaleTemporaries(FolderOf(FileBehindLink(file.path)));
  }
  std::vector<StagedFile> staged(files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    const WriteStep step = staged[i].Stage(files[i], system);
    if (step != WriteStep::kDone) return {step, i};
  }
  for (std::size_t i = files.size(); i-- > 0;) {
    const WriteStep step = staged[i].Commit(system);
    if (step != WriteStep::kDone) return {step, i};
  }
  return {};
}

}  // namespace tavrin
