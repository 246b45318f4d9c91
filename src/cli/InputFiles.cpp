#include "cli/InputFiles.h"

#include <ostream>

#include "cli/CliContext.h"
#include "document/FileProbe.h"
#include "document/SettingsFiles.h"
#include "model/FileHead.h"

namespace tavrin {
namespace {

// Why the program's reader refused a regular file as a settings file, in a terminal user's words.
std::string SettingsFileProblem(const std::string& path) {
  int error = 0;
  const std::optional<FileHead> head = ReadFileHead(path, layout::kModelTag + 4, error);
  if (!head) return FileFault(path, error);
  if (head->bytes.size() < layout::kModelTag + 4) {
    return std::to_string(head->bytes.size()) + " bytes, too short for a settings file";
  }
  if (head->bytes.compare(layout::kModelTag, 4, kModelTag) != 0) {
    return "its model tag is not " + std::string(kModelTag);
  }
  return "it cannot be read";
}

}  // namespace

Result<SettingsImage> ReadInputSettings(const std::string& path, ImageSize size,
                                        std::ostream& err) {
  // Checked first: a FIFO would block the read, and a folder would only be "not opened".
  const Result<std::uintmax_t> bytes = RegularFileSize(path);
  if (!bytes) return Fail(bytes.message());
  SettingsImage image;
  const Result<> read = ReadSettingsFile(path, image);
  if (!read) return Fail(read.message() + " (" + SettingsFileProblem(path) + ")");
  if (*bytes == layout::kImageSize) return image;
  if (size == ImageSize::kExact) {
    return Fail(path + " の大きさが " + std::to_string(layout::kImageSize) +
                " バイトではありません（" + std::to_string(*bytes) + " バイト）。");
  }
  err << kMessagePrefix << "warning: " << path << " has " << *bytes << " bytes, a settings file "
      << layout::kImageSize << "\n";
  return image;
}

Result<ProgramNameTable> ReadInputNames(const std::string& path) {
  const Result<std::uintmax_t> bytes = RegularFileSize(path);
  if (!bytes) return Fail(bytes.message());
  if (*bytes != sizeof(ProgramNameTable)) {
    return Fail(path + " has " + std::to_string(*bytes) + " bytes, a program-name file " +
                std::to_string(sizeof(ProgramNameTable)));
  }
  ProgramNameTable names{};
  const Result<> read = ReadNameFile(path, names);
  if (!read) return Fail(read.message());
  return names;
}

ProgramNameTable NamesBeside(const std::string& settingsPath) {
  DocumentPaths paths = PathsFor(settingsPath);
  DeriveNamePaths(paths);
  ProgramNameTable names{};
  if (!ReadNameFile(paths.namePath, names)) names = {};
  return names;
}

Result<std::string> ReadModelJson(const std::string& path) {
  return ReadRegularFile(path, kMaxModelBytes);
}

}  // namespace tavrin
