#include "model/FileHead.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace tavrin {

std::optional<FileHead> ReadFileHead(const std::string& path, std::size_t limit, int& error) {
  // O_NONBLOCK: opening a FIFO must not wait for a writer; the type is checked on what was opened,
  // so a name swapped after a look at it cannot slip through.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error = errno;
    return std::nullopt;
  }
  std::optional<FileHead> head = ReadOpenFileHead(fd, limit, error);
  close(fd);
  return head;
}

std::optional<FileHead> ReadOpenFileHead(int fd, std::size_t limit, int& error) {
  struct stat info {};
  if (fstat(fd, &info) != 0) {
    error = errno;
    return std::nullopt;
  }
  if (!S_ISREG(info.st_mode)) {
    error = S_ISDIR(info.st_mode) ? kIsFolder : kNotRegularFile;
    return std::nullopt;
  }
  // The size may change while reading (a file still being written): read up to the limit, and
  // one byte more to tell whether anything follows.
  FileHead head;
  char buffer[65536];
  for (;;) {
    const std::size_t wanted = std::min(sizeof buffer, limit + 1 - head.bytes.size());
    const ssize_t got = read(fd, buffer, wanted);
    if (got < 0) {
      if (errno == EINTR) continue;
      error = errno;
      return std::nullopt;
    }
    if (got == 0) break;
    head.bytes.append(buffer, static_cast<std::size_t>(got));
    if (head.bytes.size() > limit) {
      head.bytes.resize(limit);
      head.cut = true;
      break;
    }
  }
  error = 0;
  return head;
}

}  // namespace tavrin
