#include "document/DataFolder.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <system_error>

#include "model/Translation.h"

namespace tavrin {
namespace {

namespace fs = std::filesystem;

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
  fs::create_directories(folder, error);
  if (!fs::is_directory(folder, error)) return std::nullopt;
  return folder;
}

std::string InstalledLocaleFolder(const std::string& executablePath) {
  if (executablePath.empty()) return "/usr/share/locale";
  return (fs::path(executablePath).parent_path().parent_path() / "share" / "locale")
      .lexically_normal()
      .string();
}

std::vector<std::string> ShippedDataFolders(const std::string& executablePath) {
  std::vector<std::string> folders;
  if (!executablePath.empty()) {
    fs::path beside = fs::path(executablePath).parent_path().parent_path() / "share" / "tavrin";
    folders.push_back(beside.lexically_normal().string());
  }
  std::string list = Environment("XDG_DATA_DIRS");
  if (list.empty()) list = "/usr/local/share:/usr/share";
  std::istringstream entries(list);
  for (std::string entry; std::getline(entries, entry, ':');) {
    // Relative entries are invalid in the XDG rules, as for XDG_DATA_HOME.
    if (!entry.empty() && entry[0] == '/') folders.push_back((fs::path(entry) / "tavrin").string());
  }
  return folders;
}

std::string ExecutablePath() {
  std::error_code error;
  fs::path path = fs::read_symlink("/proc/self/exe", error);
  return error ? std::string() : path.string();
}

Result<std::vector<std::string>> SeedDataFolder(const std::string& dataFolder,
                                                const std::vector<std::string>& shippedFolders) {
  std::vector<std::string> copied;
  for (const char* name : {kHolidayFileName, kSettingsIniName}) {
    const fs::path target = fs::path(dataFolder) / name;
    std::error_code error;
    // A broken link or anything else the user put there counts as theirs.
    if (fs::symlink_status(target, error).type() != fs::file_type::not_found) continue;
    for (const std::string& folder : shippedFolders) {
      const fs::path source = fs::path(folder) / name;
      if (!fs::is_regular_file(source, error)) continue;
      // skip_existing: another copy starting at the same moment may have been first.
      fs::copy_file(source, target, fs::copy_options::skip_existing, error);
      if (error)
        return Fail(TrFormat("cannot copy %s to %s: %s",
                             {source.string(), target.string(), error.message()}));
      copied.push_back(name);
      break;
    }
  }
  return copied;
}

}  // namespace tavrin
