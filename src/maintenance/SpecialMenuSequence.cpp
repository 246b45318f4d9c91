#include "maintenance/SpecialMenuSequence.h"

namespace tavrin {

AltKeyAction SpecialMenuSequence::OnAltKey(char key) {
  switch (key) {
    case 0:
      return AltKeyAction::PassOn;
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
    case 'F':
    case 'C':
    case 'H':
      armed_ = false;
      return AltKeyAction::PassOn;
    default:
      armed_ = false;
      return AltKeyAction::Consume;
  }
}

}  // namespace tavrin
