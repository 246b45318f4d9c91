// Editing the cells of a grid, one cell at a time, as one machine: the window turns the user's keys
// and clicks into the events below and draws the state; the machine decides what is typed, picked,
// stored or refused.
//
// A cell with a list opens the list; typed characters pick the first item they start (see
// FirstMatch) and stay visible; typing that no item starts is refused with a beep and picks
// nothing, so the cell keeps its value; BackSpace takes back one typed character. Enter, Tab, a
// click on another cell or elsewhere, and the keyboard going elsewhere commit the highlighted item
// (or keep the value when none is); Escape keeps the value. A cell without a list opens a line
// editor whose text is committed the same way.
#pragma once

#include <optional>
#include <string>
#include <variant>

#include "grid/CellList.h"

namespace tavrin::grid {

// A cell of the grid, counted as the grid counts them (fixed rows and columns included).
struct Cell {
  int row = -1;
  int col = -1;
  bool operator==(const Cell&) const = default;
};

// What the machine needs of the grid around it. The pages' hooks run in one order: BeforeEdit
// when an editor is about to open (the cell's text and list are read after it, so the hook may
// change them); for a commit Validate, then, when it passes, Store and AfterEdit. An editor closed
// without a commit (Escape, or a list left with nothing picked) runs none of them.
class CellHost {
 public:
  virtual ~CellHost() = default;
  virtual bool Editable(Cell cell) const = 0;
  // The cell's list; none for a cell edited as text.
  virtual std::optional<CellList> ListOf(Cell cell) const = 0;
  virtual std::string Text(Cell cell) const = 0;
  virtual void BeforeEdit(Cell cell) = 0;
  // False refuses the text: the page has said why, and the editor stays open.
  virtual bool Validate(Cell cell, const std::string& text) = 0;
  virtual void Store(Cell cell, const std::string& text) = 0;
  virtual void AfterEdit(Cell cell) = 0;
};

namespace input {
// F2, Enter or a click on the cursor's cell: opens its editor.
struct Open {
  Cell cell;
};
// Typed characters. While nothing is open they open the cursor's cell `cell` and are its first.
struct Key {
  Cell cell;
  std::string text;
};
struct BackSpace {};
struct Enter {};
// Commits; the cursor then goes on to the next cell (or back, which is the window's business).
struct Tab {};
struct Escape {};
// An arrow key in an open list: the highlight moves by `by` items, within the list.
struct Step {
  int by = 0;
};
// A click on an item of the open list.
struct Pick {
  int item = 0;
};
// A click on a cell, or any move of the cursor to it asked for while a cell is open.
struct ClickCell {
  Cell cell;
};
// A click outside the grid and its list: a button, another field.
struct ClickElsewhere {};
// The keyboard went to another control or window.
struct FocusLost {};
// The line editor's text as it now reads.
struct Edited {
  std::string text;
};
}  // namespace input

using Event = std::variant<input::Open, input::Key, input::BackSpace, input::Enter, input::Tab,
                           input::Escape, input::Step, input::Pick, input::ClickCell,
                           input::ClickElsewhere, input::FocusLost, input::Edited>;

// Store: the cell took a value (the hooks ran). Refuse: typing that no item starts; the window
// beeps. Keep: nothing was stored.
enum class Outcome { Keep, Store, Refuse };

struct Answer {
  Outcome outcome = Outcome::Keep;
  // Whether what the event leads to goes on: the cursor's move after a click on a cell or Tab,
  // the button's action after a click elsewhere. False when the page refused the edit, whose
  // editor then stays open.
  bool proceed = true;
};

enum class Phase { Idle, ListOpen, LineOpen, Committing };

class CellEditing {
 public:
  explicit CellEditing(CellHost& host) : host_(host) {}
  CellEditing(const CellEditing&) = delete;
  CellEditing& operator=(const CellEditing&) = delete;

  // Events that arrive while a commit waits for the page's answer (a message box takes the
  // keyboard) are ignored; an event while idle that opens nothing leaves the machine idle, and the
  // window handles it as it would without an editor.
  Answer Handle(const Event& event);

  // The state, for drawing it and for assistive tools.
  Phase phase() const;
  // The cell being edited; none while idle.
  std::optional<Cell> cell() const;
  // The open list; null unless a list is open.
  const CellList* list() const;
  // What was typed into the open list, or the line editor's text.
  const std::string& typed() const;
  // The item the open list highlights; none when the typing fits no item.
  std::optional<int> highlighted() const;
  // What the cell's editor shows: what was typed, else the highlighted item, else the cell's text;
  // while a commit waits, the value committed.
  std::string shown() const;

 private:
  struct ListOpen {
    Cell cell;
    CellList list;
    std::string original;
    std::string typed;
    std::optional<int> highlight;
  };
  struct LineOpen {
    Cell cell;
    std::string original;
    std::string text;
  };
  struct Committing {
    std::variant<ListOpen, LineOpen> open;
    std::string value;
  };
  using State = std::variant<std::monostate, ListOpen, LineOpen, Committing>;

  Answer On(const input::Open& e);
  Answer On(const input::Key& e);
  Answer On(const input::BackSpace& e);
  Answer On(const input::Enter& e);
  Answer On(const input::Tab& e);
  Answer On(const input::Escape& e);
  Answer On(const input::Step& e);
  Answer On(const input::Pick& e);
  Answer On(const input::ClickCell& e);
  Answer On(const input::ClickElsewhere& e);
  Answer On(const input::FocusLost& e);
  Answer On(const input::Edited& e);

  bool OpenAt(Cell cell);
  Answer Commit();
  void Retype(ListOpen& open);

  CellHost& host_;
  State state_;
};

}  // namespace tavrin::grid
