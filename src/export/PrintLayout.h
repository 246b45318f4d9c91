// The printed report as lines of a fixed height: headings, text lines and tables of one-line
// rows, spread over pages. Deciding where a page ends needs no printer, only how many lines a
// page holds; the painter draws what this decides.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "editors/ConfirmationForms.h"
#include "model/Clock.h"

namespace tavrin::report {

// Windows RGB values (0x00BBGGRR), as the confirmation views use them.
inline constexpr uint32_t kWhite = 0xFFFFFF;
inline constexpr uint32_t kBlack = 0x000000;
inline constexpr uint32_t kHeaderBack = 0xE6E6E6;

struct Cell {
  Cell() = default;
  Cell(std::string text) : text(std::move(text)) {}  // NOLINT: rows are written as lists of texts

  std::string text;  // UTF-8
  uint32_t fore = kBlack;
  uint32_t back = kWhite;
  bool bold = false;
  std::optional<forms::KeepCell> keep;  // a keep form's picture instead of text
};

struct Table {
  std::string caption;       // the line above the table; empty for none
  std::vector<int> widths;   // the columns' shares of the table's width
  std::vector<Cell> header;  // empty for no header row
  std::vector<std::vector<Cell>> rows;

  int Lines() const;
};

enum class BlockKind { Heading, Text, Tables };

struct Block {
  BlockKind kind = BlockKind::Text;
  std::string text;           // Heading and Text
  std::vector<Table> tables;  // Tables: side by side, sharing the width
  bool newPage = false;       // starts a page of its own

  // The lines it takes, with the blank line after a heading or tables.
  int Lines() const;
};

Block Heading(std::string text, bool newPage = false);
Block Text(std::string text);
Block Tables(std::vector<Table> tables);

struct Page {
  std::vector<Block> blocks;
};

// Fills pages of `linesPerPage` lines. A heading never ends a page; a single table that does not
// fit is split between rows and goes on under its caption marked "（続き）" and its header; tables
// side by side move to the next page whole.
std::vector<Page> Paginate(const std::vector<Block>& blocks, int linesPerPage);

// The header's right side: "印刷日 2026年4月1日".
std::string PrintedOn(const LocalTime& now);
// The footer: "1 / 12"
std::string PageNumber(int page, int pageCount);

}  // namespace tavrin::report
