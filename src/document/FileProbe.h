// Files named by a user, looked at before they are trusted: what a name leads to, and the one set
// of words every command uses for a file it cannot use as asked (English, for the command line).
#pragma once

#include <cstdint>
#include <string>

#include "model/Result.h"

namespace tavrin {

// Why `path` cannot be used: "X does not exist", "X is a folder", "X is not a regular file",
// "X: the path is too long"..., or "the file name is empty". `error` is the system's error number,
// or kIsFolder or kNotRegularFile (model/FileHead.h).
std::string FileFault(const std::string& path, int error);

// The size of the regular file at `path`; otherwise why it is none.
Result<std::uintmax_t> RegularFileSize(const std::string& path);

// The whole content of the regular file at `path`, refused when it is larger than `maxBytes`.
Result<std::string> ReadRegularFile(const std::string& path, std::size_t maxBytes);

// Whether a file may be created or replaced at `path`: its folder exists, the path itself is a
// regular file or nothing yet, and the user may write there (tried, not read off the mode bits).
// Checked before work whose result would otherwise be lost.
Result<> CheckOutputPath(const std::string& path);

// Whether the two paths lead to the same file: the same file where both exist (through links or
// other spellings), else the same place.
bool SameFilePath(const std::string& a, const std::string& b);

}  // namespace tavrin
