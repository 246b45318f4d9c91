#include "app/UserGuide.h"

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <system_error>

namespace tavrin {
namespace {

namespace fs = std::filesystem;

// A picture alone on its line, as the guide places them: ![what it shows](images/name.png)
const std::regex& PictureLine() {
  static const std::regex picture(R"(^\s*!\[[^\]]*\]\(([^)\s]+)\)\s*$)");
  return picture;
}

}  // namespace

std::optional<std::string> FindGuide(const std::vector<std::string>& shippedFolders) {
  for (const std::string& folder : shippedFolders) {
    std::error_code error;
    const fs::path candidate = fs::path(folder) / kGuideRelativePath;
    if (fs::is_regular_file(candidate, error)) return candidate.string();
  }
  return std::nullopt;
}

UserGuide PrepareGuide(const std::string& markdown, const std::string& folder,
                       const std::function<bool(const std::string&)>& pictureExists) {
  UserGuide guide;
  guide.folder = folder;
  std::istringstream lines(markdown);
  for (std::string line; std::getline(lines, line);) {
    if (guide.title.empty() && line.rfind("# ", 0) == 0) guide.title = line.substr(2);
    std::smatch picture;
    if (std::regex_match(line, picture, PictureLine()) && !pictureExists(picture[1].str())) {
      continue;
    }
    guide.markdown += line + "\n";
  }
  return guide;
}

std::optional<UserGuide> LoadGuide(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::ostringstream text;
  text << file.rdbuf();
  const fs::path folder = fs::path(path).parent_path();
  return PrepareGuide(text.str(), folder.string(), [&folder](const std::string& picture) {
    std::error_code error;
    return fs::is_regular_file(folder / picture, error);
  });
}

}  // namespace tavrin
