#include "maintenance/SpecialMenuSequence.h"

namespace tavrin {

AltKeyAction SpecialMenuSequence::OnAltKey(char key) {
  if (key == 0) return AltKeyAction::PassOn;
  if (PassesOn(key)) {
    armed_ = false;
    return AltKeyAction::PassOn;
  }
  switch (key) {
    case 'A':
      armed_ = false;
      return AltKeyAction::OpenAbout;
    case 'J':
      armed_ = true;
      return AltKeyAction::Consume;
    case 'V': {
      const bool open = armed_;
      armed_ = false;
      return open ? AltKeyAction::OpenSpecialMenu : AltKeyAction::Consume;
    }
    default:
      armed_ = false;
      return AltKeyAction::Consume;
  }
}

}  // namespace tavrin
