// The two files a schedule is saved in: the settings file (".BIN", one SettingsImage) and the
// program-name file (".TXT", one ProgramNameTable). Paths are UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "document/FileProbe.h"
#include "document/SafeWrite.h"
#include "model/ImageLayout.h"
#include "model/Messages.h"
#include "model/Result.h"
#include "model/ScheduleModel.h"

namespace tavrin {

// Paths hold at most 260 characters, as the remembered folders and paths do. A longer path is
// refused rather than cut: the settings file with the open message, the name file silently.
inline constexpr std::size_t kMaxPathChars = 260;

// The paths the document holds.
struct DocumentPaths {
  std::string settingsFolder;
  std::string settingsPath;
  std::string settingsTitle;
  std::string nameFolder;
  std::string namePath;
  std::string nameTitle;
};

// True when the image carries the model tag that ReadSettingsFile accepts; an image without it
// would be saved as a file that cannot be opened again.
bool HasModelTag(const SettingsImage& image);
// The same of the tag that packing the model would give its image.
bool HasModelTag(const ScheduleModel& model);

// Failures carry the program's message with the full path, e.g. "/x/plan.BIN
// は対象外のファイルです。".
Result<> ReadSettingsFile(const std::string& path, SettingsImage& target);
// ReadSettingsFile, whose failure then says why after the program's message, in `language`: the
// file does not exist, is a folder, may not be read, is too short, has another tag...
Result<> ReadSettingsFileWithCause(const std::string& path, SettingsImage& target,
                                   Language language);
// A file the timer wrote must be the whole image: exactly 6594 bytes of a regular file that is not
// reached through a symbolic link. Anything else fails, and `target` is left as it was.
Result<> ReadWholeSettingsFile(const std::string& path, SettingsImage& target);
// Never destroys the previous file when the write fails.
Result<> WriteSettingsFile(const std::string& path, const SettingsImage& image);
// The settings-file writer's message for a write that failed at `step`, with its cause when the
// system's error number `error` is known (a full disk, a read-only file...).
Failure SettingsWriteFailure(WriteStep step, const std::string& path, int error = 0);
// The document treats a missing or unreadable name file as empty names; the failure still says
// which step failed, with the full path.
Result<> ReadNameFile(const std::string& path, ProgramNameTable& names);
Result<> WriteNameFile(const std::string& path, const ProgramNameTable& names);
// Where a save of a pair keeps its journal and what it says of an earlier save it finished.
struct PairSaveOptions {
  std::string dataFolder;  // empty: no journal (the renames are then only as close as they get)
  Language language = Language::kJapanese;
  std::vector<std::string>* notices = nullptr;  // gets the notice of an interrupted save settled
};
// The settings file and its name file as one save: both are written aside completely before either
// takes its place, then the name file is replaced and the settings file last, so that a new
// settings file never stands beside an old name file. A failure carries the message of the file
// concerned, the settings file's when both fail alike; one before the name file is replaced
// leaves both previous files. Saves of one pair take turns, and with a data folder a save killed
// between its renames is completed or undone by the next save or open (document/PairSave.h).
Result<> WriteSettingsAndNames(const std::string& settingsPath, const SettingsImage& image,
                               const std::string& namePath, const ProgramNameTable& names,
                               WriteSystem& system = RealWriteSystem(),
                               const PairSaveOptions& options = {});
// A fresh image, then the read; a failed read leaves the fresh image, never a half-read one.
Result<> LoadFromFile(const std::string& path, SettingsImage& image);

// The names in `folder` that equal `name` but for the letter case of A..Z, `name` itself included
// when it is there: what would be the same file on the timer's and other systems' disks.
std::vector<std::string> NamesInAnyCase(const std::string& folder, const std::string& name);

std::string ExtensionOf(std::string_view text);
void EnsureBinExtension(DocumentPaths& paths);
// The name file belongs beside the real settings file, also when the settings path is a symbolic
// link to it.
void DeriveNamePaths(DocumentPaths& paths);

}  // namespace tavrin
