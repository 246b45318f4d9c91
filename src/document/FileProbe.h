// Reading a file named by a user without trusting what the name leads to: a FIFO would block, a
// device would never end, a folder is no file. The reasons are for the command line (English).
#pragma once

#include <cstdint>
#include <string>

#include "model/Result.h"

namespace tavrin {

// The size of the regular file at `path`; otherwise why it is none: "does not exist",
// "is a folder", "is not a regular file", or the system's reason.
Result<std::uintmax_t> RegularFileSize(const std::string& path);

// The whole content of the regular file at `path`, refused when it is larger than `maxBytes`.
Result<std::string> ReadRegularFile(const std::string& path, std::size_t maxBytes);

// Whether a file may be created or replaced at `path`: its folder exists, and the path itself is
// not a folder. Checked before work whose result would otherwise be lost.
Result<> CheckOutputPath(const std::string& path);

}  // namespace tavrin
