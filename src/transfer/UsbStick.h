// The stick's end of a USB transfer: the timer's file "VL-3400.BIN" in the root folder of a
// removable volume, whether volume and file are ready, and replacing the file so that a full or
// pulled stick never holds half of one.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>

#include "model/ImageLayout.h"
#include "model/Result.h"
#include "transfer/RemovableVolumes.h"

namespace tavrin {

inline constexpr char kStickFileName[] = "VL-3400.BIN";

// What the readiness checks ask of the system about a mounted folder.
class VolumeProbe {
 public:
  virtual ~VolumeProbe() = default;
  // The device the folder is on now; 0 when it cannot be reached.
  virtual dev_t DeviceOf(const std::string& folder) const = 0;
  virtual bool MountedReadOnly(const std::string& folder) const = 0;
};
const VolumeProbe& SystemVolumeProbe();

enum class StickAccess { Read, Write };

// Still the volume that was listed (an unmounted stick leaves an empty folder of the internal
// disk behind) and, for writing, not mounted read-only.
bool DriveReady(const Volume& volume, StickAccess access,
                const VolumeProbe& probe = SystemVolumeProbe());
// Why the stick's file at `path` is not ready: 0 when it is, else ENOENT, kIsFolder,
// kNotRegularFile, kSymbolicLink or kReadOnlyFile (document/FileProbe.h). It must be a regular
// file of its own whose owner may write it: the read-only attribute of a FAT stick shows as a
// missing write bit, and the user means such a file to stay as it is (told by the mode, since a
// process with every privilege could write it all the same). A link is neither followed nor
// replaced: the timer sees no links, and what one points to may lie off the stick. For writing,
// no file at all is ready too.
int StickFileFault(const std::string& path, StickAccess access);

std::string StickFilePath(const Volume& volume);

// The stick's file as it is before it is replaced: its size, and its bytes when it has a settings
// file's size (a file of another size is no image worth keeping, and need not be read at all).
struct StickFileBefore {
  std::uintmax_t size = 0;
  std::optional<SettingsImage> image;
};
// Nothing when no regular file is there.
std::optional<StickFileBefore> ExistingStickFile(const Volume& volume);
// The image goes to a temporary file with a short name ("VL" + 6 hexadecimal digits + ".TMP")
// beside the stick's file, which takes the file's place only when every byte is on the stick; a
// link in that place is replaced, never followed. Temporaries that killed writers left are
// removed first (the writer holds its own, as the safe writer does). The folder written to must
// still be on the listed device. Failures carry the settings-file writer's message.
Result<> WriteStickFile(const Volume& volume, const SettingsImage& image);
// The whole image, with the settings-file reader's messages.
Result<SettingsImage> ReadStickFile(const Volume& volume);

}  // namespace tavrin
