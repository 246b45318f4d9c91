// The four commands of the menu "接続処理(&C)" as far as they decide: the checks before a
// transfer, the USB transfers to and from the drive the user chooses, and what becomes of the
// document. The cable dialogs run the cable transfers themselves.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "app/TavrinViewModel.h"
#include "model/Messages.h"
#include "transfer/TransferArchive.h"
#include "transfer/UsbTransfer.h"

namespace tavrin {

// Asked before a write that the schedule check finds errors in. It never blocks the write: the
// user may go on, and only an answer of true does.
class WriteCheckPrompt {
 public:
  virtual ~WriteCheckPrompt() = default;
  virtual bool WriteDespiteErrors(const std::vector<Finding>& findings) = 0;
};

// True when a write may go on: the check finds no error in the working schedule, or the user
// chose to write all the same.
bool PassesWriteCheck(const TavrinViewModel& view, WriteCheckPrompt& prompt);

struct UsbCommandContext {
  MessageSink& messages;
  DriveChooser& chooser;
  TransferArchive& archive;
  WriteCheckPrompt& checkPrompt;
  std::function<std::vector<Volume>()> listVolumes = ListRemovableVolumes;
  const VolumeProbe& probe = SystemVolumeProbe();
};

// Before a write: a document with a file whose working schedule no longer packs into the
// document's image counts as modified.
void UpdateModifiedFlag(TavrinViewModel& view);

// Writes the saved document's image to the chosen stick; the document stays as it is.
void UsbWriteCommand(TavrinViewModel& view, UsbCommandContext& context);
// Makes the chosen stick's image an untitled, modified document. A failed read leaves the
// document as it was.
void UsbReadCommand(TavrinViewModel& view, UsbCommandContext& context);

// The cable write's checks: the copy of the saved file it serves, or nothing when a message or the
// user's answer to the schedule check stopped the command.
std::optional<SettingsImage> PrepareCableWrite(TavrinViewModel& view, MessageSink& messages,
                                               WriteCheckPrompt& prompt);
// Before a read replaces the document: the user saves or drops unsaved changes; false when the
// user cancelled, or the save failed.
bool SettleUnsavedChanges(TavrinViewModel& view);

}  // namespace tavrin
