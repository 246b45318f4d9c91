// The main form's watch on Alt+key presses: Alt+A opens the about box, and Alt+J then Alt+V with
// no other Alt+key between them opens the hidden special menu.
#pragma once

namespace tavrin {

enum class AltKeyAction {
  PassOn,           // let the key take its normal course
  Consume,          // swallow the key
  OpenAbout,        // swallow it and open the about box
  OpenSpecialMenu,  // swallow it and open the special menu
};

class SpecialMenuSequence {
 public:
  // `key` is the upper-case letter or digit pressed with Alt, or 0 for the Alt key alone.
  // Alt+F, Alt+E, Alt+C and Alt+H open the menu bar's menus, so they disarm the sequence but pass
  // on: swallowing them would leave the menus' own mnemonics dead.
  AltKeyAction OnAltKey(char key);
  // The keys whose action is PassOn, whatever the state.
  static bool PassesOn(char key) {
    return key == 0 || key == 'F' || key == 'E' || key == 'C' || key == 'H';
  }
  bool armed() const { return armed_; }

 private:
  bool armed_ = false;
};

}  // namespace tavrin
