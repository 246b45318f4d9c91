#include "maintenance/SystemFacts.h"

#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace tavrin {

std::string CurrentUserName() {
  if (const char* user = std::getenv("USER"); user != nullptr && *user != '\0') return user;
  if (const passwd* entry = getpwuid(getuid()); entry != nullptr) return entry->pw_name;
  return {};
}

std::string CurrentDirectory() {
  std::error_code error;
  const auto path = std::filesystem::current_path(error);
  return error ? std::string() : path.string();
}

std::string OsReleaseName(const std::string& osRelease) {
  std::map<std::string, std::string> values;
  std::istringstream lines(osRelease);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t equals = line.find('=');
    if (line.empty() || line[0] == '#' || equals == std::string::npos) continue;
    std::string value = line.substr(equals + 1);
    // Values may be quoted in either kind of quotes, shell style.
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    values[line.substr(0, equals)] = value;
  }
  if (!values["PRETTY_NAME"].empty()) return values["PRETTY_NAME"];
  std::string name = values["NAME"];
  const std::string& version = values["VERSION"];
  if (!name.empty() && !version.empty()) name += " " + version;
  return name;
}

std::string OperatingSystemName() {
  for (const char* path : {"/etc/os-release", "/usr/lib/os-release"}) {
    std::ifstream file(path);
    if (!file) continue;
    std::ostringstream text;
    text << file.rdbuf();
    return OsReleaseName(text.str());
  }
  return {};
}

std::string KernelRelease() {
  utsname info{};
  return uname(&info) == 0 ? info.release : std::string();
}

}  // namespace tavrin
