// The files the commands read, each checked the same way whichever command reads it: first what
// the name leads to (FileProbe's words), then what the program's readers say of the content.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>

#include "model/ImageLayout.h"
#include "model/Result.h"
#include "model/ScheduleModel.h"

namespace tavrin {

// A schedule in JSON is a few hundred kilobytes at most; anything far larger is not one.
inline constexpr std::size_t kMaxModelBytes = 4 * 1024 * 1024;

enum class ImageSize {
  kExact,     // what the timer would do: exactly one image (agenda, check)
  kAsOpened,  // as the program opens it: a short file keeps the defaults where it ends
};

// The settings file at `path`, refused when it is no regular file or the program's reader refuses
// it (with the reason in parentheses). kAsOpened warns on `err` about a file of another size.
Result<SettingsImage> ReadInputSettings(const std::string& path, ImageSize size, std::ostream& err);

// A name file given by name: a regular file of exactly one name table.
Result<ProgramNameTable> ReadInputNames(const std::string& path);
// The name file beside a settings file, as the program opens it: empty names when there is none,
// a warning on `err` for one of another size; refused when the name leads to no regular file.
Result<ProgramNameTable> NamesBeside(const std::string& settingsPath, std::ostream& err);
std::string NamePathBeside(const std::string& settingsPath);

// Before a settings file and its name file are read: a save of them that was killed between its
// renames is completed or undone (its journal is in `dataDir`), and that is said on `err`.
void SettleInterruptedSave(const std::string& settingsPath, const std::string& dataDir,
                           std::ostream& err);

// The text of a model JSON, through the one bounded reader.
Result<std::string> ReadModelJson(const std::string& path);

}  // namespace tavrin
