// Reports are collected in memory and replace the file in one safe step, so a failure at any point
// leaves an earlier report untouched.
#include <string>

#include "document/CsvExportCommand.h"
#include "document/SafeWrite.h"

namespace tavrin {
namespace {

class SafeReplacementFile : public ReplacementFile {
 public:
  explicit SafeReplacementFile(std::string path) : path_(std::move(path)) {}

  bool Write(const char* data, std::size_t size) override {
    content_.append(data, size);
    return true;
  }

  Outcome Commit() override {
    const WriteOutcome outcome = WriteFileAtomically(path_, content_.data(), content_.size());
    error_ = outcome.error;
    switch (outcome.step) {
      case WriteStep::kDone:
        return Outcome::Done;
      case WriteStep::kOpen:
        return Outcome::OpenFailed;
      case WriteStep::kWrite:
      case WriteStep::kClose:
        break;
    }
    return Outcome::WriteFailed;
  }
  int Error() const override { return error_; }

 private:
  std::string path_;
  std::string content_;
  int error_ = 0;
};

}  // namespace

ReplacementFileOpener SafeFileOpener() {
  return [](const std::string& path) { return std::make_unique<SafeReplacementFile>(path); };
}

}  // namespace tavrin
