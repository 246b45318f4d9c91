#include "transfer/UsbTransfer.h"

#include "document/FileProbe.h"
#include "model/Messages.h"

namespace tavrin {
namespace {

constexpr char kWriteFailed[] = "%s の書き込みに失敗しました。";
constexpr char kWriteDone[] = "%s の書き込みが正常に終了しました。";
constexpr char kReadDone[] = "USBメモリからのファイルの読み込みが正常に終了しました。";
constexpr char kDeviceNotReady[] = "\"%s\" デバイスの準備が出来ていません。";
constexpr char kFileNotReady[] = "\"%s\" ファイルの準備が出来ていません。";

void KeepBackup(TransferArchive& archive, Carried carried, std::span<const uint8_t> bytes,
                UsbReport& report) {
  const Result<std::string> kept = archive.Keep(Medium::Usb, carried, bytes);
  if (!kept) report.backupProblems.push_back(kept.message());
}

// The file named, not the stick's folder, with what is wrong with it.
std::string FileNotReady(const std::string& failed, const std::string& path, int fault) {
  return WithCause(failed + FormatMessage(kFileNotReady, path),
                   FileFault(path, fault, Language::kJapanese), Language::kJapanese);
}

}  // namespace

std::string UsbWriteDialogText(FileState state, const std::string& settingsTitle) {
  std::string label;
  if (state == FileState::Untitled) {
    label = " \"新規ファイル\" ";
  } else if (state == FileState::File) {
    label = " \"" + settingsTitle + "\" ";
  }
  return label + "をUSBメモリに書き込みます。";
}

std::string UsbReadDialogText() { return "USBメモリからファイルを読み込みます。"; }

UsbReport WriteToStick(const Volume& volume, const SettingsImage& image,
                       const std::string& settingsTitle, TransferArchive& archive,
                       const VolumeProbe& probe) {
  UsbReport report;
  if (!DriveReady(volume, StickAccess::Write, probe)) {
    report.messages.push_back(FormatMessage(std::string(kWriteFailed) + "\n\n", settingsTitle) +
                              FormatMessage(kDeviceNotReady, volume.mountPoint));
    return report;
  }
  // Refused as the read refuses it, before anything on the stick or in the backups changes.
  const std::string path = StickFilePath(volume);
  if (const int fault = StickFileFault(path, StickAccess::Write); fault != 0) {
    report.messages.push_back(FileNotReady(
        FormatMessage(std::string(kWriteFailed) + "\n\n", settingsTitle), path, fault));
    return report;
  }
  const std::optional<StickFileBefore> previous = ExistingStickFile(volume);
  if (previous && previous->image) KeepBackup(archive, Carried::Replaced, *previous->image, report);
  const Result<> written = WriteStickFile(volume, image);
  if (!written) {
    report.messages = {written.message(), FormatMessage(kWriteFailed, settingsTitle)};
    return report;
  }
  report.ok = true;
  report.messages.push_back(FormatMessage(kWriteDone, settingsTitle));
  if (previous && !previous->image) {
    report.backupProblems.push_back(StickFilePath(volume) + " の大きさが " +
                                    std::to_string(layout::kImageSize) +
                                    " バイトではないため、バックアップせずに置き換えました。");
  }
  KeepBackup(archive, Carried::Write, image, report);
  return report;
}

UsbReadReport ReadFromStick(const Volume& volume, TransferArchive& archive,
                            const VolumeProbe& probe) {
  UsbReadReport report;
  const std::string failed = std::string(kUsbReadFailed) + "\n\n";
  if (!DriveReady(volume, StickAccess::Read, probe)) {
    report.messages.push_back(failed + FormatMessage(kDeviceNotReady, volume.mountPoint));
    return report;
  }
  const std::string path = StickFilePath(volume);
  if (const int fault = StickFileFault(path, StickAccess::Read); fault != 0) {
    report.messages.push_back(FileNotReady(failed, path, fault));
    return report;
  }
  Result<SettingsImage> read = ReadStickFile(volume);
  if (!read) {
    report.messages = {read.message(), kUsbReadFailed};
    return report;
  }
  report.ok = true;
  report.image = *read;
  report.messages.push_back(kReadDone);
  KeepBackup(archive, Carried::Read, report.image, report);
  return report;
}

}  // namespace tavrin
