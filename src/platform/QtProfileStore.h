// The profile section "TAVRIN" in QSettings (organization "VXA Applications", application
// "Tavrin"): the registry on Windows, "$XDG_CONFIG_HOME/VXA Applications/Tavrin.conf" on Linux.
#pragma once

#include <QSettings>

#include "document/ProfileStore.h"

namespace tavrin {

class QtProfileStore : public ProfileStore {
 public:
  QtProfileStore();

  std::optional<int> ReadInt(const std::string& key) const override;
  std::optional<std::string> ReadString(const std::string& key) const override;
  void WriteInt(const std::string& key, int value) override;
  void WriteString(const std::string& key, const std::string& value) override;

  // Writes what is pending to the disk; false when that failed.
  bool Sync();

 private:
  mutable QSettings settings_;
};

}  // namespace tavrin
