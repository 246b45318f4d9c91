#include "transfer/RemovableVolumes.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

#include "transfer/PortOrder.h"

namespace fs = std::filesystem;

namespace tavrin {
namespace {

// The kernel writes a blank, tab, line feed or backslash in a path as \ooo.
std::string DecodeOctal(std::string_view field) {
  std::string text;
  for (std::size_t i = 0; i < field.size(); ++i) {
    const auto octal = [&](std::size_t at) { return field[at] >= '0' && field[at] <= '7'; };
    if (field[i] == '\\' && i + 3 < field.size() && octal(i + 1) && octal(i + 2) && octal(i + 3)) {
      text += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                (field[i + 3] - '0'));
      i += 3;
    } else {
      text += field[i];
    }
  }
  return text;
}

bool Hides(const std::string& later, const std::string& earlier) {
  if (later == earlier || later == "/") return true;
  return earlier.size() > later.size() && earlier.compare(0, later.size(), later) == 0 &&
         earlier[later.size()] == '/';
}

std::string FirstLine(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  return line;
}

bool StartsWith(const std::string& text, std::string_view prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
  std::vector<MountEntry> entries;
  std::istringstream lines{std::string(text)};
  std::string line;
  while (std::getline(lines, line)) {
    // id parent major:minor root mount-point options ... - type source super-options
    std::istringstream fields(line);
    std::string id, parent, numbers, root, mountPoint;
    if (!(fields >> id >> parent >> numbers >> root >> mountPoint)) continue;
    unsigned major = 0, minor = 0;
    char colon = 0;
    std::istringstream pair(numbers);
    if (!(pair >> major >> colon >> minor) || colon != ':') continue;
    MountEntry entry;
    entry.device = makedev(major, minor);
    entry.root = DecodeOctal(root);
    entry.mountPoint = DecodeOctal(mountPoint);
    entries.push_back(std::move(entry));
  }
  std::vector<MountEntry> visible;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    bool hidden = false;
    for (std::size_t j = i + 1; j < entries.size() && !hidden; ++j) {
      hidden = Hides(entries[j].mountPoint, entries[i].mountPoint);
    }
    if (!hidden) visible.push_back(entries[i]);
  }
  return visible;
}

bool IsRemovableDisk(const std::string& sysRoot, dev_t device) {
  std::error_code error;
  const fs::path root = fs::canonical(sysRoot, error);
  if (error) return false;
  const fs::path link = root / "dev" / "block" /
                        (std::to_string(major(device)) + ":" + std::to_string(minor(device)));
  fs::path node = fs::canonical(link, error);
  if (error) return false;
  if (fs::exists(node / "partition", error)) node = node.parent_path();
  const std::string relative = node.lexically_relative(root).generic_string();
  const std::string name = node.filename().string();
  if (StartsWith(relative, "devices/virtual/") || StartsWith(name, "loop") ||
      StartsWith(name, "sr")) {
    return false;
  }
  const std::string type = FirstLine(node / "device" / "type");
  if (type == "5") return false;  // a SCSI optical drive, which marks itself removable too
  if (StartsWith(name, "mmcblk")) return type == "SD";  // a card, not the board's eMMC
  if (FirstLine(node / "removable") == "1") return true;
  for (const fs::path& part : fs::path(relative)) {
    if (StartsWith(part.string(), "usb")) return true;
  }
  return false;
}

std::vector<Volume> FindRemovableVolumes(std::string_view mountInfo, const std::string& sysRoot) {
  std::vector<Volume> volumes;
  for (const MountEntry& entry : ParseMountInfo(mountInfo)) {
    // The timer's file lives in the root folder of the stick's file system.
    if (entry.root != "/" || !IsRemovableDisk(sysRoot, entry.device)) continue;
    volumes.push_back({entry.mountPoint, entry.device});
  }
  return volumes;
}

std::vector<Volume> ListRemovableVolumes() {
  std::vector<Volume> volumes;
  if (const char* list = std::getenv("TAVRIN_USB_DRIVES")) {
    // The same shape as the port list: paths separated by ':'.
    for (const std::string& folder : SplitPortList(list)) {
      Volume volume = VolumeAt(folder);
      if (volume.device != 0) volumes.push_back(std::move(volume));
    }
    return volumes;
  }
  std::ifstream in("/proc/self/mountinfo");
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return FindRemovableVolumes(text, "/sys");
}

Volume VolumeAt(const std::string& folder) {
  struct stat info {};
  if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return {folder, 0};
  return {folder, info.st_dev};
}

}  // namespace tavrin
