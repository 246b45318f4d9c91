// Replaces files' content all at once: the bytes go to a temporary file in the same folder, which
// takes the target's place only when every write, the flush to disk and the close worked. A failed
// write leaves the previous file as it was and no temporary file behind.
//
// The temporary file has no name while it is written, where the file system allows it, so a
// process killed meanwhile leaves nothing behind. Elsewhere it has a short name of its own
// (".tavrin-" + 10 letters or digits + ".tmp"), which fits beside a target name of 255 bytes; such
// names left by a killed process are removed by a later write into the same folder.
#pragma once

#include <cstddef>
#include <ctime>
#include <span>
#include <string>

namespace tavrin {

enum class WriteStep {
  kDone,
  kOpen,   // the target cannot be created or replaced (missing folder, a folder in its place...)
  kWrite,  // the bytes did not reach the disk
  kClose,
};

// The points a write passes, in order. Only a named temporary file is closed before it is put in
// place, and only an unnamed one is linked into the folder first.
enum class WriteStage { kCreate, kWrite, kSync, kClose, kLink, kReplace };

// What the writer asks of the system beyond the plain calls, so that tests can fail or stop any
// stage and take the unnamed temporary files away.
class WriteSystem {
 public:
  virtual ~WriteSystem() = default;
  // Asked before each stage for the file `target`; false makes the stage fail as a full disk would.
  virtual bool Allow(WriteStage stage, const std::string& target) = 0;
  virtual bool UnnamedTemporaries() const = 0;
};
WriteSystem& RealWriteSystem();

// A temporary file is taken for left over once it has not been written for this long (by its
// modification time).
inline constexpr std::time_t kStaleTemporarySeconds = 3600;

// The file that a write to `path` replaces: the file a symbolic link points to, else `path`.
std::string FileBehindLink(const std::string& path);

WriteStep WriteFileAtomically(const std::string& path, const void* data, std::size_t size,
                              WriteSystem& system = RealWriteSystem());

struct FileContent {
  std::string path;
  const void* data;
  std::size_t size;
};
// How writing several files together ended: kDone, or the step that failed and for which file.
struct GroupWriteOutcome {
  WriteStep step = WriteStep::kDone;
  std::size_t file = 0;  // index into the files given
};
// Writes every file aside completely, in the order given, before any of them takes its place; then
// puts them in place in the reverse order. The first file is the main one: a failure that all of
// them share is reported for it, and it is replaced last, so that it never stands new beside an
// old companion. A failure before the first replacement leaves every previous file; only a failure
// or a kill between two replacements leaves the later files replaced.
GroupWriteOutcome WriteFilesTogether(std::span<const FileContent> files,
                                     WriteSystem& system = RealWriteSystem());

}  // namespace tavrin
