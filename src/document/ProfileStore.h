// The per-user values kept between runs, all in one section ("TAVRIN"). On the desktop they live
// in QSettings; tests and the command-line tool use the in-memory store.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <variant>

namespace tavrin {

class ProfileStore {
 public:
  virtual ~ProfileStore() = default;
  // Nothing when the value is missing or is not an integer.
  virtual std::optional<int> ReadInt(const std::string& key) const = 0;
  // Nothing when the value is missing. Strings are UTF-8.
  virtual std::optional<std::string> ReadString(const std::string& key) const = 0;
  virtual void WriteInt(const std::string& key, int value) = 0;
  virtual void WriteString(const std::string& key, const std::string& value) = 0;
};

class MemoryProfileStore : public ProfileStore {
 public:
  using Value = std::variant<int, std::string>;

  std::optional<int> ReadInt(const std::string& key) const override;
  std::optional<std::string> ReadString(const std::string& key) const override;
  void WriteInt(const std::string& key, int value) override { values_[key] = value; }
  void WriteString(const std::string& key, const std::string& value) override {
    values_[key] = value;
  }

  const std::map<std::string, Value>& values() const { return values_; }
  // Stores any value as it is, the way a hand-edited profile can hold it.
  void Put(const std::string& key, Value value) { values_[key] = std::move(value); }

 private:
  std::map<std::string, Value> values_;
};

}  // namespace tavrin
