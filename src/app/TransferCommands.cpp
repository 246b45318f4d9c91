#include "app/TransferCommands.h"

#include "app/ViewCableDocument.h"
#include "transfer/CableMessages.h"

namespace tavrin {
namespace {

void ShowAll(MessageSink& messages, const std::vector<std::string>& texts, const char* caption,
             MsgIcon icon) {
  for (const std::string& text : texts) messages.Show(text, caption, MsgButtons::Ok, icon);
}

// A transfer that succeeded says so as news, not as a warning; a backup that could not be kept
// is a warning even then.
void ShowReport(MessageSink& messages, const UsbReport& report, const char* caption) {
  ShowAll(messages, report.messages, caption,
          report.ok ? MsgIcon::Information : MsgIcon::Exclamation);
  ShowAll(messages, report.backupProblems, caption, MsgIcon::Exclamation);
}

// The volume the user picks in the dialog; nothing when there is none (said) or the user
// cancelled.
std::optional<Volume> ChooseVolume(UsbCommandContext& context, UsbDirection direction,
                                   const std::string& message, const char* caption) {
  const std::vector<Volume> volumes = context.listVolumes();
  if (volumes.empty()) {
    context.messages.Show(kNoRemovableDisk, caption, MsgButtons::Ok, MsgIcon::Exclamation);
    return std::nullopt;
  }
  std::vector<std::string> names;
  for (const Volume& volume : volumes) names.push_back(volume.mountPoint);
  const std::optional<std::size_t> chosen = context.chooser.ChooseDrive(direction, names, message);
  if (!chosen || *chosen >= volumes.size()) return std::nullopt;
  return volumes[*chosen];
}

}  // namespace

bool PassesWriteCheck(const TavrinViewModel& view, WriteCheckPrompt& prompt) {
  const std::vector<Finding> findings = view.CheckWorkingSchedule();
  return !HasErrors(findings) || prompt.WriteDespiteErrors(findings);
}

void UpdateModifiedFlag(TavrinViewModel& view) {
  if (view.fileState() != FileState::File) return;
  view.PackImage();
  if (view.document().SameImage(view.imageBuffer())) return;
  view.document().SetModified(true);
  view.UpdateTitle();
}

void UsbWriteCommand(TavrinViewModel& view, UsbCommandContext& context) {
  CTavrinDoc& doc = view.document();
  ViewCableDocument document(doc, view);
  UpdateModifiedFlag(view);
  if (const auto refusal = WriteRefusal(document, kUsbSaveFirst)) {
    context.messages.Show(*refusal, kUsbWriteTitle, MsgButtons::Ok, MsgIcon::Exclamation);
    return;
  }
  if (!PassesWriteCheck(view, context.checkPrompt)) return;
  const std::optional<Volume> volume =
      ChooseVolume(context, UsbDirection::Write,
                   UsbWriteDialogText(view.fileState(), doc.SettingsTitle()), kUsbWriteTitle);
  if (!volume) return;
  ShowReport(
      context.messages,
      WriteToStick(*volume, doc.image(), doc.SettingsTitle(), context.archive, context.probe),
      kUsbWriteTitle);
}

void UsbReadCommand(TavrinViewModel& view, UsbCommandContext& context) {
  if (!SettleUnsavedChanges(view)) return;
  CTavrinDoc& doc = view.document();
  const std::optional<Volume> volume =
      ChooseVolume(context, UsbDirection::Read, UsbReadDialogText(), kUsbReadTitle);
  if (!volume) return;
  const UsbReadReport report = ReadFromStick(*volume, context.archive, context.probe);
  if (report.ok) {
    doc.NewDocument();
    doc.SetImage(report.image);
    view.RefreshFromDocument();
    // The stick's schedule lives on in the working model only, as a new document's would.
    doc.InitImage();
    doc.SetModified(true);
    view.UpdateTitle();
  }
  ShowReport(context.messages, report, kUsbReadTitle);
}

std::optional<SettingsImage> PrepareCableWrite(TavrinViewModel& view, MessageSink& messages,
                                               WriteCheckPrompt& prompt) {
  UpdateModifiedFlag(view);
  Result<SettingsImage> source = CheckedWriteSource(ViewCableDocument(view.document(), view));
  if (!source) {
    messages.Show(source.message(), kCableWriteTitle, MsgButtons::Ok, MsgIcon::Exclamation);
    return std::nullopt;
  }
  if (!PassesWriteCheck(view, prompt)) return std::nullopt;
  return *source;
}

bool SettleUnsavedChanges(TavrinViewModel& view) {
  CTavrinDoc& doc = view.document();
  if (!doc.IsModified()) return true;
  const MsgAnswer answer = doc.SaveModifiedPrompt();
  if (answer == MsgAnswer::Cancel) return false;
  // A document saved under a new name is no longer untitled; its caption must say so.
  if (answer == MsgAnswer::Yes) {
    view.RefreshFromDocument();
  } else {
    view.UpdateTitle();
  }
  return true;
}

}  // namespace tavrin
