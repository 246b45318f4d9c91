#include "document/FileProbe.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "document/PathText.h"
#include "document/SafeWrite.h"
#include "model/FileHead.h"

namespace tavrin {
namespace {

std::string Kind(const struct stat& info) {
  return S_ISDIR(info.st_mode) ? " is a folder" : " is not a regular file";
}

std::string SizeText(std::size_t bytes) {
  constexpr std::size_t kMegabyte = 1024 * 1024;
  return bytes % kMegabyte == 0 ? std::to_string(bytes / kMegabyte) + " MB"
                                : std::to_string(bytes) + " bytes";
}

}  // namespace

std::string FileFault(const std::string& path, int error) {
  if (path.empty()) return "the file name is empty";
  switch (error) {
    case ENOENT:
      return path + " does not exist";
    case kIsFolder:
    case EISDIR:
      return path + " is a folder";
    case kNotRegularFile:
      return path + " is not a regular file";
    case ENAMETOOLONG:
      return path + ": the path is too long";
    case ENOTDIR:
      return path + ": a part of the path is not a folder";
    case EACCES:
    case EPERM:
      return path + ": permission denied";
    case ELOOP:
      return path + ": too many symbolic links";
    default:
      return path + ": " + std::strerror(error);
  }
}

Result<std::uintmax_t> RegularFileSize(const std::string& path) {
  struct stat info {};
  if (path.empty() || stat(path.c_str(), &info) != 0) return Fail(FileFault(path, errno));
  if (!S_ISREG(info.st_mode)) return Fail(path + Kind(info));
  return static_cast<std::uintmax_t>(info.st_size);
}

Result<std::string> ReadRegularFile(const std::string& path, std::size_t maxBytes) {
  int error = 0;
  std::optional<FileHead> head = path.empty() ? std::nullopt : ReadFileHead(path, maxBytes, error);
  if (!head) return Fail(FileFault(path, error));
  if (head->cut) return Fail(path + " is larger than " + SizeText(maxBytes));
  return std::move(head->bytes);
}

Result<> CheckOutputPath(const std::string& path) {
  struct stat info {};
  if (path.empty()) return Fail(FileFault(path, ENOENT));
  if (stat(path.c_str(), &info) == 0) {
    if (!S_ISREG(info.st_mode)) return Fail(path + Kind(info));
  } else if (errno != ENOENT && errno != ENOTDIR) {
    return Fail(FileFault(path, errno));
  }
  // "plans/" names a folder, the one the file would go into.
  std::string folder = path;
  if (folder.back() == '/') {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  } else {
    folder = FolderOf(folder);
  }
  if (stat(folder.c_str(), &info) != 0) {
    return Fail(errno == ENOENT ? "the folder " + folder + " does not exist"
                                : FileFault(folder, errno));
  }
  if (!S_ISDIR(info.st_mode)) return Fail(folder + " is not a folder");
  // The user's rights decide, not the mode bits: root writes in a folder of mode 555, nobody on a
  // read-only mount or past an ACL. The temporary file the write would begin with is made and
  // dropped.
  StagedFile trial;
  if (trial.Create(path) != WriteStep::kDone) {
    const int error = errno;
    return Fail("cannot write " + FileFault(path, error));
  }
  trial.Discard();
  return {};
}

bool SameFilePath(const std::string& a, const std::string& b) {
  struct stat first {
  }, second{};
  if (stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0) {
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
  }
  std::error_code error;
  const std::filesystem::path one = std::filesystem::weakly_canonical(a, error);
  if (error) return a == b;
  const std::filesystem::path other = std::filesystem::weakly_canonical(b, error);
  return !error && one == other;
}

}  // namespace tavrin
