// The settings file a cable write serves to the timer, read piece by piece.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "model/ImageLayout.h"

namespace tavrin {

class SourceFile {
 public:
  virtual ~SourceFile() = default;
  // Bytes read (0 at the end), or nothing on a read error.
  virtual std::optional<std::size_t> Read(uint8_t* buffer, std::size_t count) = 0;
  virtual bool Seek(std::size_t offset) = 0;
  virtual bool Close() = 0;
};

// Nothing when the path is not an existing regular file that can be read.
using SourceOpener = std::function<std::unique_ptr<SourceFile>(const std::string& path)>;
std::unique_ptr<SourceFile> OpenSourceFile(const std::string& path);
// Serves `image` whatever path is asked for: the copy checked when the command started.
SourceOpener ServeImage(const SettingsImage& image);

}  // namespace tavrin
