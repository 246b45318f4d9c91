#include "document/ProfileStore.h"

namespace tavrin {

std::optional<int> MemoryProfileStore::ReadInt(const std::string& key) const {
  auto found = values_.find(key);
  if (found == values_.end()) return std::nullopt;
  if (const int* value = std::get_if<int>(&found->second)) return *value;
  return std::nullopt;
}

std::optional<std::string> MemoryProfileStore::ReadString(const std::string& key) const {
  auto found = values_.find(key);
  if (found == values_.end()) return std::nullopt;
  if (const std::string* value = std::get_if<std::string>(&found->second)) return *value;
  return std::nullopt;
}

}  // namespace tavrin
