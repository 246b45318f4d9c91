// Replaces files' content all at once: the bytes go to a temporary file in the same folder, which
// takes the target's place only when every write, the flush to disk and the close worked. A failed
// write leaves the previous file as it was and no temporary file behind.
//
// The temporary file has no name while it is written, where the file system allows it, so a
// process killed meanwhile leaves nothing behind. Elsewhere, and for the moment between linking an
// unnamed file in and renaming it, it has a short name of its own (".tavrin-" + 10 letters or
// digits + ".tmp"), which fits beside a target name of 255 bytes. Its writer holds a lock on it
// until it is renamed or removed, so a named temporary nobody holds was left by a killed writer:
// the next write into the same folder removes it.
#pragma once

#include <cstddef>
#include <ctime>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace tavrin {

enum class WriteStep {
  kDone,
  kOpen,   // the target cannot be created or replaced (missing folder, a folder in its place...)
  kWrite,  // the bytes did not reach the disk
  kClose,
};

// The points a write passes, in order. Only a named temporary file is closed before it is put in
// place, and only an unnamed one is linked into the folder first. A save of a pair with a journal
// keeps each old file under a second name before the renames, and settles after them.
enum class WriteStage { kCreate, kWrite, kSync, kClose, kLink, kKeep, kReplace, kSettle };

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

// On a file system without locks a temporary file is taken for left over only once it has not
// been written for this long (by its modification time).
inline constexpr std::time_t kStaleTemporarySeconds = 3600;

// The file that a write to `path` replaces: the file a symbolic link points to, also when it does
// not exist yet; else `path`.
std::string FileBehindLink(const std::string& path);

// A new name in `folder` of the temporaries' form, ".tavrin-" + 10 letters or digits + `suffix`.
std::string TemporaryPath(const std::string& folder, std::string_view suffix = ".tmp");

// Locks the temporary file open as `fd` for as long as that descriptor stays open: the sign that
// its writer still runs. False when the file system has no locks.
bool HoldTemporary(int fd);
// Creates a new file in the folder open as `folder` (or AT_FDCWD for a full path) under the first
// free name that `newName` gives, held from the start; `flags` are added to O_CREAT | O_EXCL. The
// descriptor, or -1 with errno set; `name` is the name taken.
int CreateHeldTemporary(int folder, const std::function<std::string()>& newName, int flags,
                        std::string& name);
// Removes the files of the folder open as `folder` whose names `isTemporary` accepts and that no
// running writer holds.
void SweepTemporaries(int folder, const std::function<bool(std::string_view)>& isTemporary);

// One file's new content, written beside its target in pieces, then put in its place. Dropped
// before it is in place, it leaves the target as it was and nothing else behind.
class StagedFile {
 public:
  StagedFile() = default;
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;
  ~StagedFile();

  // Makes the temporary file beside the file that a write to `path` replaces.
  WriteStep Create(const std::string& path, WriteSystem& system = RealWriteSystem());
  WriteStep Append(const void* data, std::size_t size);
  // Every byte on disk: the file is complete.
  WriteStep Finish();
  // Gives an unnamed file its temporary name; nothing for a named one.
  WriteStep Link();
  // Takes the target's place; the file replaced is let go by Discard. The folder entry reaches the
  // disk with SyncFolder.
  WriteStep Replace();
  // Finish, Link and Replace in one, and the folder synced.
  WriteStep Commit();
  // Removes the temporary file, unless it took the target's place.
  void Discard();

  bool IsOpen() const { return lockFd_ >= 0; }
  // The name the file waits under once linked in, until it takes the target's place.
  const std::string& WaitingPath() const { return temporaryPath_; }
  // The file it replaces, open for reading; -1 when there was none.
  int Previous() const { return previousFd_; }
  // Why the last step failed: the system's error number.
  int Error() const { return error_; }
  const std::string& Target() const { return target_; }
  const std::string& Folder() const { return folder_; }

 private:
  bool CreateNamed();
  WriteStep Failed(WriteStep step, int error);

  WriteSystem* system_ = nullptr;
  std::string target_;
  std::string folder_;
  int fd_ = -1;                // open for writing until a named file is closed or put in place
  int lockFd_ = -1;            // holds the temporary until it is in place or removed
  int previousFd_ = -1;        // the file replaced, open until it is let go
  std::string temporaryPath_;  // the name the file has before it takes the target's place
  bool failed_ = false;
  int error_ = 0;
};

// Flushes a folder's entries to disk: a renamed file's new name survives a power cut.
void SyncFolder(const std::string& folder);

// How a write ended: kDone, or the step that failed, for which file and why.
struct WriteOutcome {
  WriteStep step = WriteStep::kDone;
  std::size_t file = 0;  // index into the files given
  int error = 0;         // the system's error number (ENOSPC for a full disk), 0 when unknown
  bool operator==(WriteStep other) const { return step == other; }
};

WriteOutcome WriteFileAtomically(const std::string& path, const void* data, std::size_t size,
                                 WriteSystem& system = RealWriteSystem());

struct FileContent {
  std::string path;
  const void* data;
  std::size_t size;
};
// Writes every file aside completely, in the order given, before any of them takes its place; then
// puts them in place in the reverse order, one rename right after the other, and syncs each folder
// once after all of them. The first file is the main one: a failure that all of them share is
// reported for it, and it is replaced last, so that it never stands new beside an old companion. A
// failure before the first replacement leaves every previous file; only a failure or a kill
// between two renames leaves the later files replaced.
// What a write of several files does right before its first rename and right after its last.
class ReplaceHooks {
 public:
  virtual ~ReplaceHooks() = default;
  // A failure here stops the write with every previous file in place.
  virtual WriteOutcome BeforeReplacing(std::span<StagedFile> staged) = 0;
  virtual void AfterReplacing() = 0;
};
WriteOutcome WriteFilesTogether(std::span<const FileContent> files,
                                WriteSystem& system = RealWriteSystem(),
                                ReplaceHooks* hooks = nullptr);

}  // namespace tavrin
