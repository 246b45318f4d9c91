#include "maintenance/SpecialMenu.h"

namespace tavrin {

void PressSpecialButton(SpecialItem item, SpecialMenuHost& host, MessageSink& messages) {
  switch (item) {
    case SpecialItem::ResetRegistry:
      if (messages.Show(kResetRegistryPrompt, kResetRegistryCaption, MsgButtons::YesNo,
                        MsgIcon::Exclamation) == MsgAnswer::Yes) {
        host.ResetRegistry();
      }
      return;
    case SpecialItem::SerialDiagnostics:
      host.ShowSerialDiagnostics();
      return;
    case SpecialItem::SettingsFileInfo:
      host.ShowSettingsFileDisplay();
      return;
    default:
      if (auto box = SpecialMenuInfo(item, host.Facts())) {
        messages.Show(box->text, box->caption, MsgButtons::Ok, MsgIcon::Information);
      }
      return;
  }
}

}  // namespace tavrin
