// The two files a schedule is saved in: the settings file (".BIN", one SettingsImage) and the
// program-name file (".TXT", one ProgramNameTable). Paths are UTF-8.
#pragma once

#include <string>
#include <string_view>

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
// A file the timer wrote must be the whole image: exactly 6594 bytes of a regular file that is not
// reached through a symbolic link. Anything else fails, and `target` is left as it was.
Result<> ReadWholeSettingsFile(const std::string& path, SettingsImage& target);
// Never destroys the previous file when the write fails.
Result<> WriteSettingsFile(const std::string& path, const SettingsImage& image);
// The settings-file writer's message for a write that failed at `step`.
Failure SettingsWriteFailure(WriteStep step, const std::string& path);
// The document treats a missing or unreadable name file as empty names; the failure still says
// which step failed, with the full path.
Result<> ReadNameFile(const std::string& path, ProgramNameTable& names);
Result<> WriteNameFile(const std::string& path, const ProgramNameTable& names);
// The settings file and its name file as one save: both are written aside completely before either
// takes its place, then the name file is replaced and the settings file last, so that a new
// settings file never stands beside an old name file. A failure carries the message of the file
// concerned, the settings file's when both fail alike; one before the name file is replaced
// leaves both previous files.
Result<> WriteSettingsAndNames(const std::string& settingsPath, const SettingsImage& image,
                               const std::string& namePath, const ProgramNameTable& names,
                               WriteSystem& system = RealWriteSystem());
// A fresh image, then the read; a failed read leaves the fresh image, never a half-read one.
Result<> LoadFromFile(const std::string& path, SettingsImage& image);

std::string ExtensionOf(std::string_view text);
void EnsureBinExtension(DocumentPaths& paths);
// The name file belongs beside the real settings file, also when the settings path is a symbolic
// link to it.
void DeriveNamePaths(DocumentPaths& paths);

}  // namespace tavrin
