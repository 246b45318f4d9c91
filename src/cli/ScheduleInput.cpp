#include "cli/ScheduleInput.h"

#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/ModelJson.h"

namespace tavrin {
namespace {

Result<std::string> ReadModelText(const std::string& path) {
  std::error_code error;
  std::ifstream in;
  if (std::filesystem::is_regular_file(path, error)) in.open(path, std::ios::binary);
  if (!in.is_open()) return Fail(FormatMessage("%s のオープンに失敗しました。", path));
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return Fail(FormatMessage("%s の読み込みに失敗しました。", path));
  return text.str();
}

}  // namespace

Result<SettingsImage> ReadWholeSettingsFile(const std::string& path) {
  SettingsImage image;
  Result<> read = ReadSettingsFile(path, image);
  if (!read) return Fail(read.message());
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) return Fail(FormatMessage("%s の読み込みに失敗しました。", path));
  if (size != image.size()) {
    return Fail(path + " の大きさが " + std::to_string(image.size()) + " バイトではありません（" +
                std::to_string(size) + " バイト）。");
  }
  return image;
}

bool IsModelJsonPath(const std::string& path) {
  std::string extension = ExtensionOf(path);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == ".json";
}

Result<LoadedSchedule> LoadSchedule(const Arguments& args, const std::string& path,
                                    const CliContext& context) {
  LoadedSchedule schedule;
  if (IsModelJsonPath(path)) {
    Result<std::string> text = ReadModelText(path);
    if (!text) return Fail(text.message());
    const Result<> parsed = ParseModelJson(*text, schedule.model, schedule.names);
    if (!parsed) return Fail(path + ": " + parsed.message());
  } else {
    Result<SettingsImage> image = ReadWholeSettingsFile(path);
    if (!image) return Fail(image.message());
    UnpackImage(*image, context.Image(), schedule.model);
    DocumentPaths paths = PathsFor(path);
    DeriveNamePaths(paths);
    if (!ReadNameFile(paths.namePath, schedule.names)) schedule.names = {};
  }
  // A name file asked for by name must be there; the one beside the settings file may not be.
  if (const std::string* namesPath = args.Option("--names")) {
    if (!ReadNameFile(*namesPath, schedule.names)) {
      return Fail(FormatMessage("%s のオープンに失敗しました。", *namesPath));
    }
  }
  return schedule;
}

}  // namespace tavrin
