#include "model/DataFolder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace tavrin {
namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

std::string DataFolderPath() {
  std::string overridden = Environment("TAVRIN_DATA_DIR");
  if (!overridden.empty()) return overridden;
  // A relative XDG_DATA_HOME is invalid and must be ignored.
  std::string common = Environment("XDG_DATA_HOME");
  if (common.empty() || common[0] != '/') {
    std::string home = Environment("HOME");
    if (home.empty()) return {};
    common = home + "/.local/share";
  }
  return common + "/Korva Time Systems/Tavrin";
}

std::optional<std::string> PrepareDataFolder() {
  std::string folder = DataFolderPath();
  if (folder.empty()) return std::nullopt;
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (!std::filesystem::is_directory(folder, error)) return std::nullopt;
  return folder;
}

}  // namespace tavrin
