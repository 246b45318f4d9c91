#include "maintenance/SystemFacts.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

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

}  // namespace tavrin
