#include "grid/CellEditing.h"

#include <algorithm>

namespace tavrin::grid {
namespace {

const std::string kNothing;

// Drops the last character of UTF-8 text, not a byte of it.
void DropLastCharacter(std::string& text) {
  while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80) text.pop_back();
  if (!text.empty()) text.pop_back();
}

}  // namespace

Answer CellEditing::Handle(const Event& event) {
  if (std::holds_alternative<Committing>(state_)) return {Outcome::Keep, false};
  return std::visit([this](const auto& e) { return On(e); }, event);
}

Phase CellEditing::phase() const {
  if (std::holds_alternative<ListOpen>(state_)) return Phase::ListOpen;
  if (std::holds_alternative<LineOpen>(state_)) return Phase::LineOpen;
  if (std::holds_alternative<Committing>(state_)) return Phase::Committing;
  return Phase::Idle;
}

std::optional<Cell> CellEditing::cell() const {
  if (const auto* list = std::get_if<ListOpen>(&state_)) return list->cell;
  if (const auto* line = std::get_if<LineOpen>(&state_)) return line->cell;
  if (const auto* committing = std::get_if<Committing>(&state_))
    return std::visit([](const auto& open) { return open.cell; }, committing->open);
  return std::nullopt;
}

const CellList* CellEditing::list() const {
  const auto* open = std::get_if<ListOpen>(&state_);
  return open ? &open->list : nullptr;
}

const std::string& CellEditing::typed() const {
  if (const auto* list = std::get_if<ListOpen>(&state_)) return list->typed;
  if (const auto* line = std::get_if<LineOpen>(&state_)) return line->text;
  return kNothing;
}

std::optional<int> CellEditing::highlighted() const {
  const auto* open = std::get_if<ListOpen>(&state_);
  return open ? open->highlight : std::nullopt;
}

std::string CellEditing::shown() const {
  if (const auto* line = std::get_if<LineOpen>(&state_)) return line->text;
  if (const auto* committing = std::get_if<Committing>(&state_)) return committing->value;
  const auto* open = std::get_if<ListOpen>(&state_);
  if (!open) return {};
  if (!open->typed.empty()) return open->typed;
  if (open->highlight) return open->list.items[static_cast<std::size_t>(*open->highlight)];
  return open->original;
}

bool CellEditing::OpenAt(Cell cell) {
  if (!std::holds_alternative<std::monostate>(state_) || !host_.Editable(cell)) return false;
  host_.BeforeEdit(cell);
  std::string text = host_.Text(cell);
  if (std::optional<CellList> list = host_.ListOf(cell)) {
    ListOpen open{cell, std::move(*list), std::move(text), {}, {}};
    Retype(open);
    state_ = std::move(open);
  } else {
    state_ = LineOpen{cell, text, text};
  }
  return true;
}

void CellEditing::Retype(ListOpen& open) {
  // With nothing typed the list shows the cell's own value again.
  open.highlight =
      open.typed.empty() ? ItemIndex(open.list, open.original) : FirstMatch(open.list, open.typed);
}

Answer CellEditing::On(const input::Open& e) {
  OpenAt(e.cell);
  return {};
}

Answer CellEditing::On(const input::Key& e) {
  if (std::holds_alternative<std::monostate>(state_)) {
    if (!OpenAt(e.cell)) return {};
    // The key that opens a line editor replaces the cell's text.
    if (auto* line = std::get_if<LineOpen>(&state_)) line->text.clear();
  }
  if (auto* line = std::get_if<LineOpen>(&state_)) {
    line->text += e.text;
    return {};
  }
  auto& open = std::get<ListOpen>(state_);
  open.typed += e.text;
  Retype(open);
  return {open.highlight ? Outcome::Keep : Outcome::Refuse, true};
}

Answer CellEditing::On(const input::BackSpace&) {
  if (auto* line = std::get_if<LineOpen>(&state_)) DropLastCharacter(line->text);
  // With nothing typed there is nothing to take back; an item reached by the arrows stays.
  if (auto* open = std::get_if<ListOpen>(&state_); open && !open->typed.empty()) {
    DropLastCharacter(open->typed);
    Retype(*open);
  }
  return {};
}

Answer CellEditing::Commit() {
  std::string value;
  Cell cell;
  if (auto* open = std::get_if<ListOpen>(&state_)) {
    if (!open->highlight) {
      // Nothing picked: the cell keeps what it had.
      state_ = std::monostate{};
      return {};
    }
    value = open->list.items[static_cast<std::size_t>(*open->highlight)];
    cell = open->cell;
    state_ = Committing{std::move(*open), value};
  } else if (auto* line = std::get_if<LineOpen>(&state_)) {
    value = line->text;
    cell = line->cell;
    state_ = Committing{std::move(*line), value};
  } else {
    return {};
  }
  if (!host_.Validate(cell, value)) {
    // Moved out first: the state that holds it is replaced.
    std::variant<ListOpen, LineOpen> back = std::move(std::get<Committing>(state_).open);
    std::visit([this](auto& open) { state_ = std::move(open); }, back);
    return {Outcome::Keep, false};
  }
  host_.Store(cell, value);
  state_ = std::monostate{};
  host_.AfterEdit(cell);
  return {Outcome::Store, true};
}

Answer CellEditing::On(const input::Enter&) { return Commit(); }
Answer CellEditing::On(const input::Tab&) { return Commit(); }
Answer CellEditing::On(const input::ClickElsewhere&) { return Commit(); }
Answer CellEditing::On(const input::FocusLost&) { return Commit(); }

Answer CellEditing::On(const input::ClickCell& e) {
  // A click on the open cell itself leaves it open.
  if (cell() == e.cell) return {Outcome::Keep, false};
  return Commit();
}

Answer CellEditing::On(const input::Escape&) {
  state_ = std::monostate{};
  return {};
}

Answer CellEditing::On(const input::Step& e) {
  auto* open = std::get_if<ListOpen>(&state_);
  if (!open || open->list.items.empty()) return {};
  const int last = static_cast<int>(open->list.items.size()) - 1;
  // From nothing highlighted, Down starts at the first item and Up at the last.
  const int from = open->highlight ? *open->highlight : (e.by > 0 ? -1 : last + 1);
  open->highlight = std::clamp(from + e.by, 0, last);
  open->typed.clear();
  return {};
}

Answer CellEditing::On(const input::Pick& e) {
  auto* open = std::get_if<ListOpen>(&state_);
  if (!open || e.item < 0 || e.item >= static_cast<int>(open->list.items.size())) return {};
  open->highlight = e.item;
  open->typed.clear();
  return Commit();
}

Answer CellEditing::On(const input::Edited& e) {
  if (auto* line = std::get_if<LineOpen>(&state_)) line->text = e.text;
  return {};
}

}  // namespace tavrin::grid
