#include "transfer/UsbStick.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <random>
#include <string_view>

#include "document/FileProbe.h"
#include "document/PathText.h"
#include "document/SafeWrite.h"
#include "document/SettingsFiles.h"
#include "model/FileHead.h"

namespace tavrin {
namespace {

class SystemProbe : public VolumeProbe {
 public:
  dev_t DeviceOf(const std::string& folder) const override { return VolumeAt(folder).device; }
  bool MountedReadOnly(const std::string& folder) const override {
    struct statvfs info {};
    return statvfs(folder.c_str(), &info) == 0 && (info.f_flag & ST_RDONLY) != 0;
  }
};

// Closes the descriptor when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// The stick's root folder, opened only when it is still on the listed device.
int OpenStickFolder(const Volume& volume) {
  const int fd = open(volume.mountPoint.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  struct stat info {};
  if (fd >= 0 && (fstat(fd, &info) != 0 || info.st_dev != volume.device)) {
    close(fd);
    return -1;
  }
  return fd;
}

// A name that fits the 8.3 names of any FAT stick, so that no long-name entries are needed.
std::string ShortTemporaryName() {
  static std::random_device random;
  char name[13];
  std::snprintf(name, sizeof name, "VL%06X.TMP", static_cast<unsigned>(random() & 0xFFFFFF));
  return name;
}

bool IsShortTemporaryName(std::string_view name) {
  return name.size() == 12 && name.starts_with("VL") && name.ends_with(".TMP") &&
         name.substr(2, 6).find_first_not_of("0123456789ABCDEF") == std::string_view::npos;
}

bool WriteWhole(int fd, const uint8_t* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = write(fd, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

}  // namespace

const VolumeProbe& SystemVolumeProbe() {
  static const SystemProbe probe;
  return probe;
}

bool DriveReady(const Volume& volume, StickAccess access, const VolumeProbe& probe) {
  if (volume.device == 0 || probe.DeviceOf(volume.mountPoint) != volume.device) return false;
  return access == StickAccess::Read || !probe.MountedReadOnly(volume.mountPoint);
}

int StickFileFault(const std::string& path, StickAccess access) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0) {
    return errno == ENOENT && access == StickAccess::Write ? 0 : errno;
  }
  if (S_ISLNK(info.st_mode)) return kSymbolicLink;
  if (S_ISDIR(info.st_mode)) return kIsFolder;
  if (!S_ISREG(info.st_mode)) return kNotRegularFile;
  return (info.st_mode & S_IWUSR) ? 0 : kReadOnlyFile;
}

std::string StickFilePath(const Volume& volume) {
  return JoinPath(volume.mountPoint, kStickFileName);
}

std::optional<StickFileBefore> ExistingStickFile(const Volume& volume) {
  const Descriptor folder(OpenStickFolder(volume));
  if (folder.get() < 0) return std::nullopt;
  const Descriptor file(
      openat(folder.get(), kStickFileName, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  struct stat info {};
  if (file.get() < 0 || fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return std::nullopt;
  }
  StickFileBefore before{static_cast<std::uintmax_t>(info.st_size), std::nullopt};
  if (before.size != layout::kImageSize) return before;
  int error = 0;
  const std::optional<FileHead> head = ReadOpenFileHead(file.get(), layout::kImageSize, error);
  if (head && !head->cut && head->bytes.size() == layout::kImageSize) {
    before.image.emplace();
    std::copy(head->bytes.begin(), head->bytes.end(), before.image->begin());
  }
  return before;
}

Result<> WriteStickFile(const Volume& volume, const SettingsImage& image) {
  const std::string path = StickFilePath(volume);
  const Descriptor folder(OpenStickFolder(volume));
  if (folder.get() < 0) return SettingsWriteFailure(WriteStep::kOpen, path);
  SweepTemporaries(folder.get(), IsShortTemporaryName);
  std::string name;
  const int fd = CreateHeldTemporary(folder.get(), ShortTemporaryName,
                                     O_WRONLY | O_NOFOLLOW | O_CLOEXEC, name);
  if (fd < 0) return SettingsWriteFailure(WriteStep::kOpen, path);
  // The lock goes with the descriptor closed below: a second one holds it until the rename.
  const Descriptor held(fcntl(fd, F_DUPFD_CLOEXEC, 0));
  WriteStep failed = WriteStep::kDone;
  if (!WriteWhole(fd, image.data(), image.size()) || fsync(fd) != 0) failed = WriteStep::kWrite;
  if (close(fd) != 0 && failed == WriteStep::kDone) failed = WriteStep::kClose;
  if (failed == WriteStep::kDone &&
      renameat(folder.get(), name.c_str(), folder.get(), kStickFileName) != 0) {
    failed = WriteStep::kWrite;
  }
  if (failed != WriteStep::kDone) {
    unlinkat(folder.get(), name.c_str(), 0);
    return SettingsWriteFailure(failed, path);
  }
  // The new name must reach the stick too before the user pulls it; a file system that cannot
  // sync a folder (EINVAL) writes its entries with the file.
  if (fsync(folder.get()) != 0 && errno != EINVAL) {
    return SettingsWriteFailure(WriteStep::kClose, path);
  }
  return {};
}

Result<SettingsImage> ReadStickFile(const Volume& volume) {
  SettingsImage image{};
  const std::string path = StickFilePath(volume);
  Result<> read = ReadWholeSettingsFile(path, image);
  if (!read) {
    struct stat info {};
    const bool wrongSize =
        stat(path.c_str(), &info) == 0 && info.st_size != static_cast<off_t>(layout::kImageSize);
    const std::string cause =
        wrongSize ? WrongSizeFault(path, static_cast<std::uintmax_t>(info.st_size),
                                   layout::kImageSize, "a settings file", Language::kJapanese)
                  : std::string();
    return Fail(WithCause(read.message(), cause, Language::kJapanese));
  }
  return image;
}

}  // namespace tavrin
