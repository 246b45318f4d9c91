// Replaces a file's content all at once: the bytes go to a temporary file in the same folder,
// which takes the target's place only when every write, the flush to disk and the close worked.
// A failed write leaves the previous file as it was and no temporary file behind.
#pragma once

#include <cstddef>
#include <string>

namespace tavrin {

enum class WriteStep {
  kDone,
  kOpen,   // the target cannot be created or replaced (missing folder, a folder in its place...)
  kWrite,  // the bytes did not reach the disk
  kClose,
};

WriteStep WriteFileAtomically(const std::string& path, const void* data, std::size_t size);

}  // namespace tavrin
