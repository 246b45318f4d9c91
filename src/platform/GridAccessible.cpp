#include "platform/GridAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <QStringList>
#include <QWindow>
#include <algorithm>
#include <map>
#include <utility>

#include "model/ScheduleTexts.h"
#include "platform/CVSFlexGrid.h"

namespace tavrin {
namespace {

// A column headed by a weekday letter ("月") is said by the weekday's name ("月曜日").
QString ColumnWord(const QString& header) {
  for (const char* day : texts::kWeekdays)
    if (header == QString::fromUtf8(day)) return header + QString::fromUtf8(texts::kWeekdaySuffix);
  return header;
}

// The table's rows and columns are the grid's data cells; the fixed cells are their headers.
class GridTable;

class GridCell : public QAccessibleInterface, public QAccessibleTableCellInterface {
 public:
  GridCell(CVSFlexGrid* grid, int row, int col) : grid_(grid), row_(row), col_(col) {}

  bool isValid() const override { return grid_ && row_ < grid_->Rows() && col_ < grid_->Cols(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return grid_ ? grid_->window()->windowHandle() : nullptr; }
  QAccessibleInterface* parent() const override {
    return grid_ ? QAccessible::queryAccessibleInterface(grid_.data()) : nullptr;
  }
  QAccessibleInterface* child(int index) const override {
    return index == 0 && Editor() ? QAccessible::queryAccessibleInterface(Editor()) : nullptr;
  }
  int childCount() const override { return Editor() ? 1 : 0; }
  int indexOfChild(const QAccessibleInterface* child) const override {
    return Editor() && child && child->object() == Editor() ? 0 : -1;
  }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QString text(QAccessible::Text t) const override {
    if (!isValid() || t != QAccessible::Name) return {};
    if (IsHeader()) return grid_->TextMatrix(row_, col_);
    return SpokenCellText(*grid_, row_, col_);
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    if (!isValid()) return {};
    const QRect cell = grid_->CellRect(row_, col_);
    return QRect(grid_->viewport()->mapToGlobal(cell.topLeft()), cell.size());
  }
  QAccessible::Role role() const override {
    if (row_ < grid_->FixedRows()) return QAccessible::ColumnHeader;
    if (col_ < grid_->FixedCols()) return QAccessible::RowHeader;
    return QAccessible::Cell;
  }
  QAccessible::State state() const override {
    QAccessible::State state;
    if (!isValid()) {
      state.invalid = true;
      return state;
    }
    if (IsHeader()) return state;
    state.focusable = true;
    state.selectable = true;
    const bool current = row_ == grid_->Row() && col_ == grid_->Col();
    state.focused = current && grid_->hasFocus();
    state.active = current;
    state.selected = isSelected();
    state.editable = grid_->Editable() != CVSFlexGrid::kEditNone;
    state.readOnly = !state.editable;
    state.invisible = grid_->CellRect(row_, col_).isEmpty();
    return state;
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableCellInterface)
      return static_cast<QAccessibleTableCellInterface*>(this);
    return nullptr;
  }

  bool isSelected() const override {
    if (!isValid() || IsHeader()) return false;
    int row1, col1, row2, col2;
    grid_->GetSelection(row1, col1, row2, col2);
    return row_ >= row1 && row_ <= row2 && col_ >= col1 && col_ <= col2;
  }
  QList<QAccessibleInterface*> columnHeaderCells() const override;
  QList<QAccessibleInterface*> rowHeaderCells() const override;
  int columnIndex() const override { return grid_ ? col_ - grid_->FixedCols() : -1; }
  int rowIndex() const override { return grid_ ? row_ - grid_->FixedRows() : -1; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override { return parent(); }

 private:
  bool IsHeader() const { return row_ < grid_->FixedRows() || col_ < grid_->FixedCols(); }
  // The line editor over this cell while the editing machine has it open.
  QWidget* Editor() const {
    if (!grid_) return nullptr;
    const std::optional<grid::Cell> open = grid_->Editing().cell();
    if (!open || open->row != row_ || open->col != col_) return nullptr;
    return grid_->CellEditor();
  }

  QPointer<CVSFlexGrid> grid_;
  int row_;
  int col_;
};

class GridTable : public QAccessibleWidget, public QAccessibleTableInterface {
 public:
  explicit GridTable(CVSFlexGrid* grid) : QAccessibleWidget(grid, QAccessible::Table) {}
  ~GridTable() override {
    for (const auto& [cell, id] : cells_) QAccessible::deleteAccessibleInterface(id);
  }

  CVSFlexGrid* Grid() const { return static_cast<CVSFlexGrid*>(widget()); }

  // Any cell, header cells included, in the grid's own counting.
  QAccessibleInterface* GridCellAt(int row, int col) const {
    if (row < 0 || col < 0 || row >= Grid()->Rows() || col >= Grid()->Cols()) return nullptr;
    const auto found = cells_.find({row, col});
    if (found != cells_.end()) {
      if (QAccessibleInterface* known = QAccessible::accessibleInterface(found->second))
        return known;
    }
    auto* cell = new GridCell(Grid(), row, col);
    cells_[{row, col}] = QAccessible::registerAccessibleInterface(cell);
    return cell;
  }

  QString text(QAccessible::Text t) const override {
    QString text = QAccessibleWidget::text(t);
    // A grid without a name of its own is named by its window, as its only table.
    if (t == QAccessible::Name && text.isEmpty()) text = Grid()->window()->windowTitle();
    return text;
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }
  // The cells, row by row; the scroll bars and the editor are reached through them.
  int childCount() const override { return rowCount() * columnCount(); }
  QAccessibleInterface* child(int index) const override {
    if (index < 0 || index >= childCount()) return nullptr;
    return cellAt(index / columnCount(), index % columnCount());
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    const QAccessibleTableCellInterface* cell =
        child ? const_cast<QAccessibleInterface*>(child)->tableCellInterface() : nullptr;
    if (!cell || cell->table() != this) return -1;
    if (cell->rowIndex() < 0 || cell->columnIndex() < 0) return -1;
    return cell->rowIndex() * columnCount() + cell->columnIndex();
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    for (int index = 0; index < childCount(); ++index)
      if (QAccessibleInterface* cell = child(index); cell->rect().contains(x, y)) return cell;
    return nullptr;
  }
  QAccessibleInterface* focusChild() const override {
    if (!Grid()->hasFocus() && !(Grid()->CellEditor() && Grid()->CellEditor()->hasFocus()))
      return nullptr;
    return GridCellAt(Grid()->Row(), Grid()->Col());
  }

  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override {
    if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount()) return nullptr;
    return GridCellAt(row + Grid()->FixedRows(), column + Grid()->FixedCols());
  }
  int selectedCellCount() const override { return static_cast<int>(selectedCells().size()); }
  QList<QAccessibleInterface*> selectedCells() const override {
    int row1, col1, row2, col2;
    Grid()->GetSelection(row1, col1, row2, col2);
    QList<QAccessibleInterface*> cells;
    for (int row = std::max(row1, Grid()->FixedRows()); row <= row2; ++row)
      for (int col = std::max(col1, Grid()->FixedCols()); col <= col2; ++col)
        cells << GridCellAt(row, col);
    return cells;
  }
  int columnCount() const override { return std::max(Grid()->Cols() - Grid()->FixedCols(), 0); }
  int rowCount() const override { return std::max(Grid()->Rows() - Grid()->FixedRows(), 0); }
  QString columnDescription(int column) const override {
    return Grid()->FixedRows() > 0 ? Grid()->TextMatrix(0, column + Grid()->FixedCols())
                                   : QString();
  }
  QString rowDescription(int row) const override {
    return Grid()->FixedCols() > 0 ? Grid()->TextMatrix(row + Grid()->FixedRows(), 0) : QString();
  }
  int selectedColumnCount() const override { return static_cast<int>(selectedColumns().size()); }
  int selectedRowCount() const override { return static_cast<int>(selectedRows().size()); }
  QList<int> selectedColumns() const override {
    QList<int> columns;
    for (int column = 0; column < columnCount(); ++column)
      if (isColumnSelected(column)) columns << column;
    return columns;
  }
  QList<int> selectedRows() const override {
    QList<int> rows;
    for (int row = 0; row < rowCount(); ++row)
      if (isRowSelected(row)) rows << row;
    return rows;
  }
  bool isColumnSelected(int column) const override {
    int row1, col1, row2, col2;
    Grid()->GetSelection(row1, col1, row2, col2);
    const int col = column + Grid()->FixedCols();
    return rowCount() > 1 && row1 <= Grid()->FixedRows() && row2 == Grid()->Rows() - 1 &&
           col >= col1 && col <= col2;
  }
  bool isRowSelected(int row) const override {
    int row1, col1, row2, col2;
    Grid()->GetSelection(row1, col1, row2, col2);
    const int r = row + Grid()->FixedRows();
    return columnCount() > 1 && col1 <= Grid()->FixedCols() && col2 == Grid()->Cols() - 1 &&
           r >= row1 && r <= row2;
  }
  // Selection belongs to the user's keys and clicks, which the pages' rules watch.
  bool selectRow(int) override { return false; }
  bool selectColumn(int) override { return false; }
  bool unselectRow(int) override { return false; }
  bool unselectColumn(int) override { return false; }
  void modelChange(QAccessibleTableModelChangeEvent*) override {}

 private:
  mutable std::map<std::pair<int, int>, QAccessible::Id> cells_;
};

GridTable* TableOf(const CVSFlexGrid* grid) {
  QAccessibleInterface* table =
      grid ? QAccessible::queryAccessibleInterface(const_cast<CVSFlexGrid*>(grid)) : nullptr;
  return table ? dynamic_cast<GridTable*>(table) : nullptr;
}

QList<QAccessibleInterface*> GridCell::columnHeaderCells() const {
  QList<QAccessibleInterface*> headers;
  GridTable* table = TableOf(grid_);
  if (!table || IsHeader()) return headers;
  for (int row = 0; row < grid_->FixedRows(); ++row)
    if (!grid_->TextMatrix(row, col_).isEmpty()) headers << table->GridCellAt(row, col_);
  return headers;
}

QList<QAccessibleInterface*> GridCell::rowHeaderCells() const {
  QList<QAccessibleInterface*> headers;
  GridTable* table = TableOf(grid_);
  if (!table || IsHeader()) return headers;
  for (int col = 0; col < grid_->FixedCols(); ++col)
    if (!grid_->TextMatrix(row_, col).isEmpty()) headers << table->GridCellAt(row_, col);
  return headers;
}

QAccessibleInterface* GridFactory(const QString& key, QObject* object) {
  auto* grid = qobject_cast<CVSFlexGrid*>(object);
  if (grid && key == QLatin1String(grid->metaObject()->className())) return new GridTable(grid);
  return nullptr;
}

}  // namespace

void InstallGridAccessibility() {
  static const bool done = [] {
    QAccessible::installFactory(GridFactory);
    return true;
  }();
  (void)done;
}

QString SpokenCellText(const CVSFlexGrid& grid, int row, int col) {
  const QString text = grid.TextMatrix(row, col);
  if (text.isEmpty() || text != grid.SpokenMark()) return text;
  const QString header = grid.FixedRows() > 0 ? grid.TextMatrix(0, col) : QString();
  const QString word = QString::fromUtf8(texts::kMarkWord);
  return header.isEmpty() ? word : ColumnWord(header) + " " + word;
}

QString CellHeaders(const CVSFlexGrid& grid, int row, int col) {
  QStringList words;
  for (int c = 0; c < grid.FixedCols(); ++c)
    if (!grid.TextMatrix(row, c).isEmpty()) words << grid.TextMatrix(row, c);
  for (int r = 0; r < grid.FixedRows(); ++r)
    if (!grid.TextMatrix(r, col).isEmpty()) words << ColumnWord(grid.TextMatrix(r, col));
  return words.join(' ');
}

void AnnounceFocusedCell(CVSFlexGrid& grid, int row, int col) {
  if (!QAccessible::isActive()) return;
  GridTable* table = TableOf(&grid);
  QAccessibleInterface* cell = table ? table->GridCellAt(row, col) : nullptr;
  if (!cell) return;
  QAccessibleEvent event(cell, QAccessible::Focus);
  QAccessible::updateAccessibility(&event);
}

}  // namespace tavrin
