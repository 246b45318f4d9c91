#include "export/PrintLayout.h"

#include <algorithm>

namespace tavrin::report {
namespace {

constexpr char kContinued[] = "（続き）";

// Caption, header and one row: the least of a table worth starting at the foot of a page.
int LeastLines(const Table& table) {
  return (table.caption.empty() ? 0 : 1) + (table.header.empty() ? 0 : 1) + 1;
}

class Pager {
 public:
  explicit Pager(int linesPerPage) : capacity_(std::max(linesPerPage, 1)) {}

  void Add(const Block& block, const Block* next) {
    if (block.newPage) Break();
    if (block.kind == BlockKind::Heading) {
      // The heading stays with the start of what follows it.
      const int following = next == nullptr ? 0
                            : next->kind == BlockKind::Tables && next->tables.size() == 1
                                ? LeastLines(next->tables.front())
                                : next->Lines();
      if (block.Lines() + following > Left()) Break();
      Put(block);
      return;
    }
    if (block.kind == BlockKind::Tables && block.tables.size() == 1) {
      AddTable(block.tables.front());
      return;
    }
    if (block.Lines() > Left()) Break();
    Put(block);
  }

  std::vector<Page> Finish() {
    if (!current_.blocks.empty()) pages_.push_back(std::move(current_));
    return std::move(pages_);
  }

 private:
  int Left() const { return capacity_ - used_; }

  void Break() {
    if (current_.blocks.empty()) return;
    pages_.push_back(std::move(current_));
    current_ = Page();
    used_ = 0;
  }

  void Put(const Block& block) {
    current_.blocks.push_back(block);
    used_ += block.Lines();
  }

  void AddTable(const Table& table) {
    Table rest = table;
    for (;;) {
      // The blank line after a table may fall off the page; its rows may not.
      if (rest.Lines() <= Left()) {
        Put(Tables({rest}));
        return;
      }
      if (LeastLines(rest) > Left()) {
        if (current_.blocks.empty()) {  // cannot fit even alone: its rows are cut at the foot
          Put(Tables({rest}));
          return;
        }
        Break();
        continue;
      }
      const int rows = Left() - LeastLines(rest) + 1;
      Table head = rest;
      head.rows.assign(rest.rows.begin(), rest.rows.begin() + rows);
      rest.rows.erase(rest.rows.begin(), rest.rows.begin() + rows);
      if (!rest.caption.empty() && rest.caption.find(kContinued) == std::string::npos) {
        rest.caption += kContinued;
      }
      Block part = Tables({head});
      current_.blocks.push_back(part);
      used_ = capacity_;
      Break();
    }
  }

  int capacity_;
  int used_ = 0;
  Page current_;
  std::vector<Page> pages_;
};

}  // namespace

int Table::Lines() const {
  return (caption.empty() ? 0 : 1) + (header.empty() ? 0 : 1) + static_cast<int>(rows.size());
}

int Block::Lines() const {
  switch (kind) {
    case BlockKind::Heading:
      return 2;
    case BlockKind::Text:
      return 1;
    case BlockKind::Tables:
      break;
  }
  int tallest = 0;
  for (const Table& table : tables) tallest = std::max(tallest, table.Lines());
  return tallest + 1;
}

Block Heading(std::string text, bool newPage) {
  Block block;
  block.kind = BlockKind::Heading;
  block.text = std::move(text);
  block.newPage = newPage;
  return block;
}

Block Text(std::string text) {
  Block block;
  block.text = std::move(text);
  return block;
}

Block Tables(std::vector<Table> tables) {
  Block block;
  block.kind = BlockKind::Tables;
  block.tables = std::move(tables);
  return block;
}

std::vector<Page> Paginate(const std::vector<Block>& blocks, int linesPerPage) {
  Pager pager(linesPerPage);
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    pager.Add(blocks[i], i + 1 < blocks.size() ? &blocks[i + 1] : nullptr);
  }
  return pager.Finish();
}

std::string PrintedOn(const LocalTime& now) {
  return "印刷日 " + std::to_string(now.year) + "年" + std::to_string(now.month) + "月" +
         std::to_string(now.day) + "日";
}

std::string PageNumber(int page, int pageCount) {
  return std::to_string(page) + " / " + std::to_string(pageCount);
}

}  // namespace tavrin::report
