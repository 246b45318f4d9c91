// The two USB commands' steps after the drive is chosen, shared by the desktop program and
// tavrin-cli: the checks of drive and file, the transfer, the backups, and the messages the user
// gets, in the order the user gets them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "document/FileState.h"
#include "model/ImageLayout.h"
#include "transfer/RemovableVolumes.h"
#include "transfer/TransferArchive.h"
#include "transfer/UsbStick.h"

namespace tavrin {

inline constexpr char kUsbWriteTitle[] = "USBメモリに書き込み";
inline constexpr char kUsbReadTitle[] = "USBメモリから読み込み";
inline constexpr char kUsbSaveFirst[] =
    "USBメモリに書き込みを実行するには、プログラム設定データの保存が必要です。\n\n"
    "保存後、再度実行して下さい。\n";
inline constexpr char kNoRemovableDisk[] = "リムーバブルディスクが存在しません。";
inline constexpr char kUsbReadFailed[] = "USBメモリからのファイルの読み込みに失敗しました。";

enum class UsbDirection { Write, Read };

// The drive dialog: the user picks one of the volumes by its display name.
class DriveChooser {
 public:
  virtual ~DriveChooser() = default;
  // The index of the chosen drive, or nothing when the dialog was cancelled.
  virtual std::optional<std::size_t> ChooseDrive(UsbDirection direction,
                                                 const std::vector<std::string>& drives,
                                                 const std::string& message) = 0;
};

// The dialogs' message text. The write dialog names the document: nothing while there is none,
// "新規ファイル" while it is untitled.
std::string UsbWriteDialogText(FileState state, const std::string& settingsTitle);
std::string UsbReadDialogText();

// How a USB transfer went: the messages to show in turn, the last one saying how it ended, and
// apart from them what went wrong with the backups (which never fails the transfer).
struct UsbReport {
  bool ok = false;
  std::vector<std::string> messages;
  std::vector<std::string> backupProblems;
};
struct UsbReadReport : UsbReport {
  SettingsImage image{};  // the stick's image, when the read succeeded
};

// Writes the image of the document titled `settingsTitle`: the drive must be ready; the file it
// replaces is kept first, the image written after.
UsbReport WriteToStick(const Volume& volume, const SettingsImage& image,
                       const std::string& settingsTitle, TransferArchive& archive,
                       const VolumeProbe& probe = SystemVolumeProbe());
// Reads the stick's image: drive and file must be ready, and the file the whole image.
UsbReadReport ReadFromStick(const Volume& volume, TransferArchive& archive,
                            const VolumeProbe& probe = SystemVolumeProbe());

}  // namespace tavrin
