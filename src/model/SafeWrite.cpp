#include "model/SafeWrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <random>

#include "model/PathText.h"

namespace tavrin {
namespace {

// A symbolic link keeps pointing where it pointed: the file it names is the one replaced.
std::string ResolveTarget(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  char resolved[PATH_MAX];
  if (realpath(path.c_str(), resolved) == nullptr) return path;
  return resolved;
}

int CreateTemporary(const std::string& target, std::string& tempPath) {
  static std::atomic<unsigned> counter{0};
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = target + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(counter++) + "-" +
               std::to_string(random() % 100000);
    // 0666 lets the user's umask decide, as for any file the program creates.
    int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
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

}  // namespace

WriteStep WriteFileAtomically(const std::string& path, const void* data, std::size_t size) {
  const std::string target = ResolveTarget(path);
  struct stat existing {};
  bool exists = stat(target.c_str(), &existing) == 0;
  // Renaming would replace a folder's entry or a write-protected file that an in-place write
  // could never have touched; refuse both as the open would have.
  if (exists && (!S_ISREG(existing.st_mode) || access(target.c_str(), W_OK) != 0)) {
    return WriteStep::kOpen;
  }

  std::string tempPath;
  int fd = CreateTemporary(target, tempPath);
  if (fd < 0) return WriteStep::kOpen;
  if (exists) fchmod(fd, existing.st_mode & 07777);  // keeps the file's permissions

  WriteStep failed = WriteStep::kDone;
  if (!WriteAll(fd, data, size) || fsync(fd) != 0) failed = WriteStep::kWrite;
  if (close(fd) != 0 && failed == WriteStep::kDone) failed = WriteStep::kClose;
  if (failed == WriteStep::kDone && rename(tempPath.c_str(), target.c_str()) != 0) {
    failed = WriteStep::kWrite;
  }
  if (failed != WriteStep::kDone) {
    unlink(tempPath.c_str());
    return failed;
  }
  SyncFolder(FolderOf(target));
  return WriteStep::kDone;
}

}  // namespace tavrin
