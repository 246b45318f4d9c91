// Which mounts are removable volumes: a mount table and a device tree built in a temporary folder,
// as the kernel would show them.
#include <gtest/gtest.h>
#include <sys/sysmacros.h>

#include <filesystem>

#include "TempFolder.h"
#include "transfer/RemovableVolumes.h"

namespace tavrin::testing {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> MountPoints(const std::vector<MountEntry>& entries) {
  std::vector<std::string> points;
  for (const MountEntry& entry : entries) points.push_back(entry.mountPoint);
  return points;
}

TEST(RemovableVolumes, MountTableKeepsOnlyVisibleMountsWithTheirPathsDecoded) {
  const struct {
    const char* name;
    std::string text;
    std::vector<std::string> visible;
  } cases[] = {
      {"escapes",
       "21 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
       "30 21 8:17 / /media/u/MY\\040STICK\\011\\134x rw - vfat /dev/sdb1 rw\n",
       {"/", "/media/u/MY STICK\t\\x"}},
      {"same folder mounted again",
       "21 1 8:1 / / rw - ext4 r\n31 21 8:33 / /mnt/a rw - vfat x\n32 31 8:49 / /mnt/a ro - vfat "
       "y\n",
       {"/", "/mnt/a"}},
      {"parent mounted over, and what sits on the hidden mount",
       "21 1 8:1 / / rw - ext4 r\n33 21 8:65 / /media/x rw - vfat x\n"
       "35 33 8:97 / /media/x/card rw - vfat z\n34 21 0:50 / /media rw - tmpfs t\n",
       {"/", "/media"}},
      {"sibling with a common prefix",
       "21 1 8:1 / / rw - ext4 r\n35 21 8:65 / /media/stick rw - vfat x\n"
       "36 21 8:81 / /media/st rw - vfat y\n",
       {"/", "/media/stick", "/media/st"}},
      {"child mounted later",
       "37 1 8:65 / /m rw - vfat x\n38 37 8:81 / /m/inner rw - vfat y\n",
       {"/m", "/m/inner"}},
      {"root listed after the mounts on it",
       "21 26 0:20 / /proc rw - proc proc rw\n26 1 254:0 / / rw - ext4 /dev/vda rw\n"
       "27 26 8:17 / /media/stick rw - vfat /dev/sdb1 rw\n",
       {"/proc", "/", "/media/stick"}},
      {"lines that do not parse", "garbage\n39 1 8-1 / /bad rw - vfat x\n\n", {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MountPoints(ParseMountInfo(c.text)), c.visible) << c.name;
  }
  const std::vector<MountEntry> stacked =
      ParseMountInfo("31 1 8:33 / /mnt/a rw - vfat x\n32 31 8:49 /sub /mnt/a ro - vfat y\n");
  ASSERT_EQ(stacked.size(), 1u);
  EXPECT_EQ(stacked[0].device, makedev(8, 49));
  EXPECT_EQ(stacked[0].root, "/sub");
}

// A device tree under a temporary folder: the devices and their /sys/dev/block links.
class FakeSys {
 public:
  // Adds the disk at `devicePath` (under devices/) with its attributes, and a link for it.
  void Disk(const std::string& devicePath, const std::string& numbers, const char* removable,
            const char* type = nullptr) {
    const fs::path dir = root() / "devices" / devicePath;
    fs::create_directories(dir / "device");
    if (removable) WriteBytes((dir / "removable").string(), std::string(removable) + "\n");
    if (type) WriteBytes((dir / "device" / "type").string(), std::string(type) + "\n");
    Link(dir, numbers);
  }
  void Partition(const std::string& diskPath, const std::string& name, const std::string& numbers) {
    const fs::path dir = root() / "devices" / diskPath / name;
    fs::create_directories(dir);
    WriteBytes((dir / "partition").string(), "1\n");
    Link(dir, numbers);
  }
  fs::path root() const { return fs::path(folder_.path()) / "sys"; }

 private:
  void Link(const fs::path& dir, const std::string& numbers) {
    fs::create_directories(root() / "dev" / "block");
    fs::create_directory_symlink(fs::relative(dir, root() / "dev" / "block"),
                                 root() / "dev" / "block" / numbers);
  }
  TempFolder folder_;
};

constexpr char kUsbDisk[] = "pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/block/sdb";
constexpr char kSataDisk[] = "pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/block/sda";
constexpr char kReaderDisk[] = "pci0000:00/0000:00:17.0/ata2/host1/target1:0:0/block/sdc";

TEST(RemovableVolumes, DeviceTreeDecidesWhichDisksAreRemovable) {
  FakeSys sys;
  sys.Disk(kUsbDisk, "8:16", "0");
  sys.Partition(kUsbDisk, "sdb1", "8:17");
  sys.Disk(kSataDisk, "8:0", "0");
  sys.Partition(kSataDisk, "sda1", "8:1");
  sys.Disk(kReaderDisk, "8:32", "1");
  sys.Partition(kReaderDisk, "sdc1", "8:33");
  sys.Disk("pci0000:00/0000:00:14.0/usb2/2-2/2-2:1.0/host7/block/sr0", "11:0", "1", "5");
  sys.Disk("pci0000:00/0000:00:17.0/ata3/host2/block/sdd", "8:48", "1", "5");
  sys.Disk("virtual/block/loop0", "7:0", "1");
  sys.Disk("platform/fe320000.mmc/mmc_host/mmc1/mmc1:aaaa/block/mmcblk1", "179:0", "0", "SD");
  sys.Partition("platform/fe320000.mmc/mmc_host/mmc1/mmc1:aaaa/block/mmcblk1", "mmcblk1p1",
                "179:1");
  sys.Disk("platform/fe330000.mmc/mmc_host/mmc0/mmc0:0001/block/mmcblk0", "179:8", "0", "MMC");
  const struct {
    const char* name;
    dev_t device;
    bool removable;
  } cases[] = {
      {"partition of a USB disk", makedev(8, 17), true},
      {"the USB disk itself", makedev(8, 16), true},
      {"internal SATA disk", makedev(8, 1), false},
      {"card reader marked removable", makedev(8, 33), true},
      {"USB optical drive", makedev(11, 0), false},
      {"optical drive by its SCSI type", makedev(8, 48), false},
      {"loop device", makedev(7, 0), false},
      {"SD card", makedev(179, 1), true},
      {"the board's eMMC", makedev(179, 8), false},
      {"no such device", makedev(8, 99), false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsRemovableDisk(sys.root().string(), c.device), c.removable) << c.name;
  }
  EXPECT_FALSE(IsRemovableDisk("/nonexistent/sys", makedev(8, 17)));

  const std::string mounts =
      "21 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
      "30 21 8:17 / /media/u/STICK rw - vfat /dev/sdb1 rw\n"
      "31 21 8:17 /photos /srv/photos rw - vfat /dev/sdb1 rw\n"
      "32 21 179:1 / /media/u/CARD ro - vfat /dev/mmcblk1p1 ro\n"
      "33 21 7:0 / /snap/core rw - squashfs /dev/loop0 ro\n"
      "34 21 0:44 / /run/user/0 rw - tmpfs tmpfs rw\n";
  EXPECT_EQ(FindRemovableVolumes(mounts, sys.root().string()),
            (std::vector<Volume>{{"/media/u/STICK", makedev(8, 17)},
                                 {"/media/u/CARD", makedev(179, 1)}}));
}

TEST(RemovableVolumes, ListFromTheEnvironmentTakesExistingFoldersOnly) {
  TempFolder folder;
  fs::create_directory(folder / "a");
  fs::create_directory(folder / "b");
  WriteBytes(folder / "file", "x");
  const std::string list =
      folder / "a" + "::" + folder / "missing" + ":" + folder / "file" + ":" + folder / "b";
  setenv("TAVRIN_USB_DRIVES", list.c_str(), 1);
  const std::vector<Volume> volumes = ListRemovableVolumes();
  unsetenv("TAVRIN_USB_DRIVES");
  ASSERT_EQ(volumes.size(), 2u);
  EXPECT_EQ(volumes[0].mountPoint, folder / "a");
  EXPECT_EQ(volumes[1].mountPoint, folder / "b");
  EXPECT_NE(volumes[0].device, 0u);
}

}  // namespace
}  // namespace tavrin::testing
