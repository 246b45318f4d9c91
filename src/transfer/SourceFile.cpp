#include "transfer/SourceFile.h"

#include <sys/stat.h>

#include <cstdio>

namespace tavrin {
namespace {

class StdioSourceFile : public SourceFile {
 public:
  explicit StdioSourceFile(std::FILE* file) : file_(file) {}
  ~StdioSourceFile() override {
    if (file_) std::fclose(file_);
  }

  std::optional<std::size_t> Read(uint8_t* buffer, std::size_t count) override {
    if (!file_) return std::nullopt;
    const std::size_t n = std::fread(buffer, 1, count, file_);
    if (n < count && std::ferror(file_)) return std::nullopt;
    return n;
  }

  bool Seek(std::size_t offset) override {
    return file_ && std::fseek(file_, static_cast<long>(offset), SEEK_SET) == 0;
  }

  bool Close() override {
    if (!file_) return false;
    const bool ok = std::fclose(file_) == 0;
    file_ = nullptr;
    return ok;
  }

 private:
  std::FILE* file_;
};

}  // namespace

std::unique_ptr<SourceFile> OpenSourceFile(const std::string& path) {
  // A folder opens for reading on this system but never held a settings file.
  struct stat info;
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return nullptr;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return nullptr;
  return std::make_unique<StdioSourceFile>(file);
}

}  // namespace tavrin
