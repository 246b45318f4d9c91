#include "maintenance/SpecialMenuSequence.h"

namespace tavrin {

AltKeyAction SpecialMenuSequence::Peek(char key) const {
  if (key == 0) return AltKeyAction::PassOn;
  if (key == 'A') return AltKeyAction::OpenAbout;
  if (key == 'J') return AltKeyAction::Consume;
  if (key == 'V' && armed_) return AltKeyAction::OpenSpecialMenu;
  if (menuKeys_.find(key) != std::string::npos) return AltKeyAction::PassOn;
  return AltKeyAction::Consume;
}

AltKeyAction SpecialMenuSequence::OnAltKey(char key) {
  const AltKeyAction action = Peek(key);
  // Alt alone leaves the sequence as it is: releasing and pressing Alt again between J and V
  // does not matter.
  if (key != 0) armed_ = key == 'J';
  return action;
}

}  // namespace tavrin
