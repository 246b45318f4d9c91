#include "transfer/UsbStick.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>

#include "document/PathText.h"
#include "document/SettingsFiles.h"

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
int CreateShortTemporary(int folder, char (&name)[13]) {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::snprintf(name, sizeof name, "VL%06X.TMP", static_cast<unsigned>(random() & 0xFFFFFF));
    const int fd = openat(folder, name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
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

bool FileReady(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & S_IWUSR);
}

std::string StickFilePath(const Volume& volume) {
  return JoinPath(volume.mountPoint, kStickFileName);
}

std::optional<std::vector<uint8_t>> ReadStickBytes(const Volume& volume) {
  const Descriptor folder(OpenStickFolder(volume));
  if (folder.get() < 0) return std::nullopt;
  const Descriptor file(
      openat(folder.get(), kStickFileName, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  struct stat info {};
  if (file.get() < 0 || fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return std::nullopt;
  }
  std::vector<uint8_t> bytes(static_cast<std::size_t>(info.st_size));
  std::size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t n = read(file.get(), bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  bytes.resize(got);
  return bytes;
}

Result<> WriteStickFile(const Volume& volume, const SettingsImage& image) {
  const std::string path = StickFilePath(volume);
  const Descriptor folder(OpenStickFolder(volume));
  if (folder.get() < 0) return SettingsWriteFailure(WriteStep::kOpen, path);
  char temporary[13] = {};
  const int fd = CreateShortTemporary(folder.get(), temporary);
  if (fd < 0) return SettingsWriteFailure(WriteStep::kOpen, path);
  WriteStep failed = WriteStep::kDone;
  if (!WriteWhole(fd, image.data(), image.size()) || fsync(fd) != 0) failed = WriteStep::kWrite;
  if (close(fd) != 0 && failed == WriteStep::kDone) failed = WriteStep::kClose;
  if (failed == WriteStep::kDone &&
      renameat(folder.get(), temporary, folder.get(), kStickFileName) != 0) {
    failed = WriteStep::kWrite;
  }
  if (failed != WriteStep::kDone) {
    unlinkat(folder.get(), temporary, 0);
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
  Result<> read = ReadWholeSettingsFile(StickFilePath(volume), image);
  if (!read) return Fail(read.message());
  return image;
}

}  // namespace tavrin
