// The main form's watch on Alt+key presses: Alt+A opens the about box, and Alt+J then Alt+V with
// no other Alt+key between them opens the hidden special menu.
#pragma once

#include <string>
#include <utility>

namespace tavrin {

enum class AltKeyAction {
  PassOn,           // let the key take its normal course
  Consume,          // swallow the key
  OpenAbout,        // swallow it and open the about box
  OpenSpecialMenu,  // swallow it and open the special menu
};

class SpecialMenuSequence {
 public:
  // `menuKeys`: the upper-case letters with which Alt opens the menu bar's menus. They disarm the
  // sequence but pass on, so that every menu still opens by its mnemonic; only the V that
  // completes the sequence is kept from the menu that V opens.
  explicit SpecialMenuSequence(std::string menuKeys = {}) : menuKeys_(std::move(menuKeys)) {}

  // `key` is the upper-case letter or digit pressed with Alt, or 0 for the Alt key alone.
  AltKeyAction OnAltKey(char key);
  // What OnAltKey would answer now, without changing the state: asked before the menu bar's
  // mnemonics see the key, which they take when the answer is PassOn.
  AltKeyAction Peek(char key) const;
  bool armed() const { return armed_; }

 private:
  std::string menuKeys_;
  bool armed_ = false;
};

}  // namespace tavrin
