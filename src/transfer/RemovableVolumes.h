// The removable volumes a USB stick or a memory card is mounted on, found from the mount table and
// the kernel's device tree alone: no bus service (udisks) needs to be running. A volume is named by
// its mount point, which the dialogs list and the messages quote.
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

struct Volume {
  std::string mountPoint;
  // The device mounted there when the list was taken; a different one later means the stick
  // was unmounted (its empty folder left behind) or replaced.
  dev_t device = 0;
  bool operator==(const Volume&) const = default;
};

struct MountEntry {
  dev_t device = 0;
  std::string root;  // the folder of the device's file system mounted there
  std::string mountPoint;
};

// The visible mounts of a mountinfo text: escapes decoded, and no mount that a later one hides
// (the same folder, or one of its parents, mounted again), nor any that sits on a hidden one.
std::vector<MountEntry> ParseMountInfo(std::string_view text);

// Whether the block device `device` is removable, by the device tree under `sysRoot` ("/sys"): a
// partition counts as its whole disk, which must be marked removable, hang off a USB bus or be an
// SD card; loop, optical and virtual devices never count.
bool IsRemovableDisk(const std::string& sysRoot, dev_t device);

// The mounts of whole removable file systems (not a folder of one bound elsewhere).
std::vector<Volume> FindRemovableVolumes(std::string_view mountInfo, const std::string& sysRoot);

// TAVRIN_USB_DRIVES (folders separated by ':') when it is set, else this system's removable
// volumes. A folder of the list that does not exist is left out.
std::vector<Volume> ListRemovableVolumes();

// The volume of `folder` as it is mounted now; its device is 0 when the folder cannot be reached.
Volume VolumeAt(const std::string& folder);

}  // namespace tavrin
