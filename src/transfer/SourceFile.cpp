#include "transfer/SourceFile.h"

#include <sys/stat.h>

#include <algorithm>
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

class ImageSource : public SourceFile {
 public:
  explicit ImageSource(const SettingsImage& image) : image_(image) {}

  std::optional<std::size_t> Read(uint8_t* buffer, std::size_t count) override {
    const std::size_t n = std::min(count, image_.size() - offset_);
    std::copy_n(image_.begin() + static_cast<std::ptrdiff_t>(offset_), n, buffer);
    offset_ += n;
    return n;
  }

  bool Seek(std::size_t offset) override {
    if (offset > image_.size()) return false;
    offset_ = offset;
    return true;
  }

  bool Close() override { return true; }

 private:
  SettingsImage image_;
  std::size_t offset_ = 0;
};

}  // namespace

SourceOpener ServeImage(const SettingsImage& image) {
  return [image](const std::string&) { return std::make_unique<ImageSource>(image); };
}

std::unique_ptr<SourceFile> OpenSourceFile(const std::string& path) {
  // A folder opens for reading on this system but never held a settings file.
  struct stat info;
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return nullptr;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return nullptr;
  return std::make_unique<StdioSourceFile>(file);
}

}  // namespace tavrin
