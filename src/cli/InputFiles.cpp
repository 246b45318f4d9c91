#include "cli/InputFiles.h"

#include <sys/stat.h>

#include <cerrno>
#include <ostream>

#include "cli/CliContext.h"
#include "document/FileProbe.h"
#include "document/PairSave.h"
#include "document/SettingsFiles.h"

namespace tavrin {
namespace {

constexpr char kSettingsFileKind[] = "a settings file";
constexpr char kNameFileKind[] = "a program-name file";

}  // namespace

Result<SettingsImage> ReadInputSettings(const std::string& path, ImageSize size,
                                        std::ostream& err) {
  // Checked first: a FIFO would block the read, and a folder would only be "not opened".
  const Result<std::uintmax_t> bytes = RegularFileSize(path);
  if (!bytes) return Fail(bytes.message());
  SettingsImage image;
  const Result<> read = ReadSettingsFile(path, image);
  if (!read) {
    return Fail(WithCause(read.message(), SettingsFileProblem(path, Language::kEnglish),
                          Language::kEnglish));
  }
  if (*bytes == layout::kImageSize) return image;
  if (size == ImageSize::kExact) {
    return Fail(
        WrongSizeFault(path, *bytes, layout::kImageSize, kSettingsFileKind, Language::kJapanese));
  }
  err << kMessagePrefix
      << "warning: " << WrongSizeFault(path, *bytes, layout::kImageSize, kSettingsFileKind) << "\n";
  return image;
}

Result<ProgramNameTable> ReadInputNames(const std::string& path) {
  const Result<std::uintmax_t> bytes = RegularFileSize(path);
  if (!bytes) return Fail(bytes.message());
  if (*bytes != sizeof(ProgramNameTable)) {
    return Fail(WrongSizeFault(path, *bytes, sizeof(ProgramNameTable), kNameFileKind));
  }
  ProgramNameTable names{};
  const Result<> read = ReadNameFile(path, names);
  if (!read) return Fail(read.message());
  return names;
}

std::string NamePathBeside(const std::string& settingsPath) {
  DocumentPaths paths = PathsFor(settingsPath);
  DeriveNamePaths(paths);
  return paths.namePath;
}

Result<ProgramNameTable> NamesBeside(const std::string& settingsPath, std::ostream& err) {
  const std::string path = NamePathBeside(settingsPath);
  ProgramNameTable names{};
  // No name file is no names, as the program opens it; anything else there is a fault.
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 && errno == ENOENT) return names;
  const Result<std::uintmax_t> bytes = RegularFileSize(path);
  if (!bytes) return Fail(bytes.message());
  if (*bytes != sizeof(ProgramNameTable)) {
    err << kMessagePrefix
        << "warning: " << WrongSizeFault(path, *bytes, sizeof(ProgramNameTable), kNameFileKind)
        << "\n";
  }
  const Result<> read = ReadNameFile(path, names);
  if (!read) return Fail(read.message());
  return names;
}

void SettleInterruptedSave(const std::string& settingsPath, const std::string& dataDir,
                           std::ostream& err) {
  const std::optional<std::string> notice = RecoverInterruptedSave(
      dataDir, settingsPath, NamePathBeside(settingsPath), Language::kEnglish);
  if (notice) err << kMessagePrefix << *notice << "\n";
}

Result<std::string> ReadModelJson(const std::string& path) {
  return ReadRegularFile(path, kMaxModelBytes);
}

}  // namespace tavrin
