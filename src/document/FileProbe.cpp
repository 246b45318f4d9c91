#include "document/FileProbe.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace tavrin {
namespace {

std::string Reason(const struct stat& info) {
  if (S_ISDIR(info.st_mode)) return "is a folder";
  return "is not a regular file";
}

std::string SystemReason(int error) {
  if (error == ENOENT) return "does not exist";
  return std::strerror(error);
}

// Closes the descriptor on every way out.
struct Descriptor {
  int fd;
  ~Descriptor() {
    if (fd >= 0) close(fd);
  }
};

}  // namespace

Result<std::uintmax_t> RegularFileSize(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return Fail(path + " " + SystemReason(errno));
  if (!S_ISREG(info.st_mode)) return Fail(path + " " + Reason(info));
  return static_cast<std::uintmax_t>(info.st_size);
}

Result<std::string> ReadRegularFile(const std::string& path, std::size_t maxBytes) {
  // O_NONBLOCK: opening a FIFO must not wait for a writer; the type is checked on what was opened,
  // so a name swapped after a stat cannot slip through.
  Descriptor file{open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
  if (file.fd < 0) return Fail(path + " " + SystemReason(errno));
  struct stat info {};
  if (fstat(file.fd, &info) != 0) return Fail(path + " " + SystemReason(errno));
  if (!S_ISREG(info.st_mode)) return Fail(path + " " + Reason(info));
  constexpr std::size_t kMegabyte = 1024 * 1024;
  const std::string tooLarge =
      path + " is larger than " +
      (maxBytes % kMegabyte == 0 ? std::to_string(maxBytes / kMegabyte) + " MB"
                                 : std::to_string(maxBytes) + " bytes");
  if (static_cast<std::uintmax_t>(info.st_size) > maxBytes) return Fail(tooLarge);
  // The size may change while reading (a file still being written): read to the end, bounded.
  std::string text;
  char buffer[65536];
  for (;;) {
    const ssize_t got = read(file.fd, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      return Fail(path + " " + SystemReason(errno));
    }
    if (got == 0) break;
    if (text.size() + static_cast<std::size_t>(got) > maxBytes) return Fail(tooLarge);
    text.append(buffer, static_cast<std::size_t>(got));
  }
  return text;
}

Result<> CheckOutputPath(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  if (fs::is_directory(path, error)) return Fail(path + " is a folder");
  fs::path folder = fs::path(path).parent_path();
  if (folder.empty()) folder = ".";
  if (!fs::exists(folder, error)) return Fail("the folder " + folder.string() + " does not exist");
  if (!fs::is_directory(folder, error)) return Fail(folder.string() + " is not a folder");
  return {};
}

}  // namespace tavrin
