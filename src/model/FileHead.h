// Reading a file named by a user without trusting what the name leads to: only a regular file is
// read (a FIFO would block, a device would never end, a folder is no file), and never more than
// the caller can use. Every file the program reads whole goes through here.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace tavrin {

// "Tavrin.ini" and the holiday file are a few kilobytes; what lies beyond this is no setting of a
// real file and is ignored.
inline constexpr std::size_t kDataFileLimitBytes = 256 * 1024;

// Why a file could not be read: the system's error number, or one of these for a name that
// opened as something other than a regular file.
inline constexpr int kIsFolder = -1;
inline constexpr int kNotRegularFile = -2;

struct FileHead {
  std::string bytes;
  bool cut = false;  // the file goes on after `bytes`
};

// Up to `limit` bytes from the start of the regular file at `path`; nothing on failure, with its
// reason in `error`.
std::optional<FileHead> ReadFileHead(const std::string& path, std::size_t limit, int& error);
// The same for a file already open (for reading, non-blocking); the descriptor stays open.
std::optional<FileHead> ReadOpenFileHead(int fd, std::size_t limit, int& error);

}  // namespace tavrin
