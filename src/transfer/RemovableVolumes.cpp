#include "transfer/RemovableVolumes.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
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

// A mount as the table lists it: its own id and the id of the mount it sits on.
struct ListedMount {
  long id = 0;
  long parent = 0;
  MountEntry entry;
};

bool IsWithin(const std::string& path, const std::string& folder) {
  if (path == folder || folder == "/") return true;
  return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
         path[folder.size()] == '/';
}

// The mount table of this process as a tree. Its order is not the order of mounting (a
// container lists its root after the mounts on it), but the tree tells which mount came later: a
// mount on a folder that holds another's folder, with the same parent, came after it (or the
// other would sit on it); a mount on the very folder of another sits on that other.
class MountTree {
 public:
  explicit MountTree(const std::vector<ListedMount>& mounts) : mounts_(mounts) {}

  bool Visible(std::size_t i, std::size_t depth = 0) const {
    if (!Placed(i, depth)) return false;
    for (const ListedMount& other : mounts_) {
      if (other.parent == mounts_[i].id && other.entry.mountPoint == mounts_[i].entry.mountPoint) {
        return false;  // another mount sits on top of it
      }
    }
    return true;
  }

 private:
  // Whether the folder the mount is on can still be reached.
  bool Placed(std::size_t i, std::size_t depth) const {
    if (depth > mounts_.size()) return false;  // a loop in a broken table
    const ListedMount& mount = mounts_[i];
    for (std::size_t j = 0; j < mounts_.size(); ++j) {
      const ListedMount& other = mounts_[j];
      if (j == i || other.parent != mount.parent ||
          !IsWithin(mount.entry.mountPoint, other.entry.mountPoint)) {
        continue;
      }
      if (other.entry.mountPoint != mount.entry.mountPoint || j > i) return false;
    }
    for (std::size_t p = 0; p < mounts_.size(); ++p) {
      if (p == i || mounts_[p].id != mount.parent) continue;
      // On top of its parent's own folder it needs only that folder; elsewhere, the parent.
      return mounts_[p].entry.mountPoint == mount.entry.mountPoint ? Placed(p, depth + 1)
                                                                   : Visible(p, depth + 1);
    }
    return true;  // the root of what this process sees
  }

  const std::vector<ListedMount>& mounts_;
};

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
  std::vector<ListedMount> mounts;
  std::istringstream lines{std::string(text)};
  std::string line;
  while (std::getline(lines, line)) {
    // id parent major:minor root mount-point options ... - type source super-options
    std::istringstream fields(line);
    ListedMount mount;
    std::string numbers, root, mountPoint;
    if (!(fields >> mount.id >> mount.parent >> numbers >> root >> mountPoint)) continue;
    unsigned major = 0, minor = 0;
    char colon = 0;
    std::istringstream pair(numbers);
    if (!(pair >> major >> colon >> minor) || colon != ':') continue;
    mount.entry.device = makedev(major, minor);
    mount.entry.root = DecodeOctal(root);
    mount.entry.mountPoint = DecodeOctal(mountPoint);
    mounts.push_back(std::move(mount));
  }
  const MountTree tree(mounts);
  std::vector<MountEntry> entries;
  for (std::size_t i = 0; i < mounts.size(); ++i) {
    if (tree.Visible(i)) entries.push_back(mounts[i].entry);
  }
  return entries;
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
