// What the special menu's buttons do, apart from the window that holds them.
#pragma once

#include "maintenance/MaintenanceTexts.h"
#include "model/Messages.h"

namespace tavrin {

// The program as the special menu reaches it.
class SpecialMenuHost {
 public:
  virtual ~SpecialMenuHost() = default;
  virtual MaintenanceFacts Facts() const = 0;
  // Registry values back to their defaults (the transfer dialogs' position kept), written, then
  // the remembered folders and paths emptied.
  virtual void ResetRegistry() = 0;
  virtual void ShowSerialDiagnostics() = 0;
  virtual void ShowSettingsFileDisplay() = 0;
};

void PressSpecialButton(SpecialItem item, SpecialMenuHost& host, MessageSink& messages);

}  // namespace tavrin
