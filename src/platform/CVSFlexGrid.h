// The grid control of every editor table. Rows and columns count from 0 and include the fixed
// (header) rows and columns, which are ordinary cells here: they carry text and colours, stay in
// place while the data scrolls, and can be merged. Sizes are in twips, colours are Windows RGB
// values (0x00BBGGRR). Cell properties act on the current cell (Row, Col). All contents are text;
// what the texts mean is the editors' business.
#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "grid/CellEditing.h"

class QKeyEvent;
class QLineEdit;
class QListWidget;

namespace tavrin {

// Cell editing is the machine of grid/CellEditing.h: the grid turns keys and clicks into its events
// and shows its state (a line editor over the cell, and under it the open list in a window of its
// own that never takes the keyboard or the mouse from the window around the grid).
class CVSFlexGrid : public QAbstractScrollArea {
  Q_OBJECT

 public:
  // CellAlignment values.
  enum Alignment {
    kAlignLeftTop = 0,
    kAlignLeftCenter = 1,
    kAlignLeftBottom = 2,
    kAlignCenterTop = 3,
    kAlignCenterCenter = 4,
    kAlignCenterBottom = 5,
    kAlignRightTop = 6,
    kAlignRightCenter = 7,
    kAlignRightBottom = 8,
    kAlignGeneral = 9,  // text left, numbers right
  };
  // Editable values.
  enum EditMode { kEditNone = 0, kEditKeyboard = 1, kEditKeyboardMouse = 2 };
  // MergeCells value that joins equal neighbours of flagged rows among the fixed cells only.
  static constexpr int kMergeFixedOnly = 5;
  // The mask of shift keys the key and mouse events report.
  enum ShiftMask { kShift = 1, kCtrl = 2, kAlt = 4 };
  // The buttons the mouse event reports.
  enum MouseButton { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };

  explicit CVSFlexGrid(QWidget* parent = nullptr);
  ~CVSFlexGrid() override;

  int Rows() const { return rows_; }
  void SetRows(int rows);
  int Cols() const { return cols_; }
  void SetCols(int cols);
  int FixedRows() const { return fixedRows_; }
  void SetFixedRows(int rows);
  int FixedCols() const { return fixedCols_; }
  void SetFixedCols(int cols);

  // The current cell. Setting it collapses the selection onto it and reports the change.
  int Row() const { return row_; }
  void SetRow(int row);
  int Col() const { return col_; }
  void SetCol(int col);
  // Moves the current cell to (row, col) in one step: one after-row/col-change from the old cell to
  // the new one, never through the in-between cell that SetRow then SetCol would visit.
  void SetCurrentCell(int row, int col);
  // The other corner of the selection.
  int RowSel() const { return rowSel_; }
  int ColSel() const { return colSel_; }
  // First row, first column, last row, last column of the selection.
  void GetSelection(int& row1, int& col1, int& row2, int& col2) const;
  // The first scrolled row and column shown after the fixed ones.
  int TopRow() const { return topRow_; }
  void SetTopRow(int row);
  int LeftCol() const { return leftCol_; }
  void SetLeftCol(int col);
  // Scrolls so that the cell is in view.
  void ShowCell(int row, int col);
  // The cell under the mouse at the last mouse event; -1 outside the cells.
  int MouseRow() const { return mouseRow_; }
  int MouseCol() const { return mouseCol_; }

  void SetCellBackColor(uint32_t rgb);
  void SetCellForeColor(uint32_t rgb);
  void SetCellAlignment(int alignment);
  void SetCellPicture(const QPixmap& picture);
  void SetCellFontBold(bool bold);
  int CellAlignment() const;
  QColor CellBackColor() const;  // invalid while the cell uses the default
  QColor CellForeColor() const;
  bool CellFontBold() const;
  bool HasCellPicture() const;

  void SetMergeCells(int mode);
  void SetMergeRow(int row, bool merge);
  // First and last column of the merged group holding (row, col); the cell alone when unmerged.
  std::pair<int, int> MergedRange(int row, int col) const;

  int Editable() const { return editable_; }
  void SetEditable(int mode);
  // What the cell's editor shows while one is open (for a list, what was typed or the highlighted
  // item), else the current cell's text.
  QString EditText() const;
  bool IsEditing() const { return editing_.phase() != grid::Phase::Idle; }
  // The editing machine's state: the cell, whether a list or editor is open, what was typed, the
  // highlighted item.
  const grid::CellEditing& Editing() const { return editing_; }
  // Opens the editor on the current cell when editing is allowed there; for a column with a
  // list it is a drop-down list.
  void StartEdit();
  // Commits the open cell as Enter does: the page's check, then the store. A refused edit stays
  // open (IsEditing()) with the keyboard.
  void CommitEdit();
  void CancelEdit();

  // The pages' checks. An edit about to be stored is refused when `check` answers false (the
  // page says why); a move of the cursor out of a cell is refused when `leave` answers false.
  using EditCheck = std::function<bool(int row, int col, const QString& text)>;
  void SetEditCheck(EditCheck check) { editCheck_ = std::move(check); }
  using LeaveCheck = std::function<bool(int oldRow, int oldCol, int newRow, int newCol)>;
  void SetLeaveCheck(LeaveCheck leave) { leaveCheck_ = std::move(leave); }

  // Widths and heights in twips, converted at the screen's logical resolution.
  void SetColWidth(int col, int twips);
  void SetRowHeight(int row, int twips);
  int ColWidthPixels(int col) const;
  int RowHeightPixels(int row) const;
  static int TwipsToPixels(int twips, int dpi);

  QString TextMatrix(int row, int col) const;
  void SetTextMatrix(int row, int col, const QString& text);

  // The drop-down list of a column's data cells; none: the cells are edited as text.
  void SetColList(int col, std::optional<grid::CellList> list);
  const std::optional<grid::CellList>& ColList(int col) const;

  // An open edit is neither checked nor stored when the user clicks `widget` or the keyboard goes
  // to it: a dialog's Cancel button, which asks before throwing the edit away with the window.
  void DropEditOnFocusTo(QWidget* widget);

  // Where a cell is drawn, in viewport coordinates (merged cells give the whole group); empty when
  // it is scrolled out of view.
  QRect CellRect(int row, int col) const;
  QSize sizeHint() const override;

  // How a cell picture is drawn: scaled into the cell's inset (the default), at its own size, or
  // stretched over the whole cell so that pictures of neighbouring cells join.
  enum class PictureFit { Inset, Natural, Fill };
  void SetCellPictureFit(PictureFit fit);
  // The alignment of every data cell of a column that has none of its own; a whole column at
  // once, where setting each cell would move the cursor over every one of them.
  void SetColAlignment(int col, int alignment);
  // The text colour of every data cell of a column that has none of its own.
  void SetColForeColor(int col, uint32_t rgb);
  // Colours of one cell, without moving the cursor there.
  void SetCellBackColorAt(int row, int col, uint32_t rgb);
  void SetCellForeColorAt(int row, int col, uint32_t rgb);

 signals:
  void AfterRowColChange(int oldRow, int oldCol, int newRow, int newCol);
  void BeforeEdit(int row, int col);
  // The text of an open cell's editor changed as the user typed.
  void ChangeEdit();
  void AfterEdit(int row, int col);
  void Click();
  // The key comes by reference: a handler may change it for the handlers after it and the
  // windows around the grid, or set it to 0 to swallow it.
  void KeyUp(int* keyCode, int shift);
  void MouseUp(int button, int shift, int x, int y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Cell {
    QString text;
    QColor back;
    QColor fore;
    int alignment = -1;  // -1: the default of its kind
    bool bold = false;
    QPixmap picture;
    PictureFit pictureFit = PictureFit::Inset;
  };

  Cell& At(int row, int col) { return cells_[Index(row, col)]; }
  const Cell& At(int row, int col) const { return cells_[Index(row, col)]; }
  std::size_t Index(int row, int col) const;
  bool ValidCell(int row, int col) const;
  bool IsDataCell(int row, int col) const;
  bool IsMergeRow(int row) const;
  void Reshape(int rows, int cols);
  void MoveCurrent(int row, int col, int rowSel, int colSel);
  void SetSelectionCorner(int rowSel, int colSel);
  void ScheduleShowCurrent();
  std::pair<int, int> CellAt(QPoint pos) const;
  int RowTop(int row) const;  // viewport y, -1 when not shown
  int ColLeft(int col) const;
  int MaxTopRow() const;
  int MaxLeftCol() const;
  int MaxTopRow(int height) const;  // for a viewport of that height
  int MaxLeftCol(int width) const;
  void UpdateScrollBars();
  void PlaceEditor();
  // Hands an event to the editing machine and shows the state it leaves: a refused key beeps, a
  // refused commit keeps the editor and the keyboard. Answers whether what the event leads to
  // may go on.
  bool Edit(const grid::Event& event);
  void ShowEditing(bool opened, bool select);
  // The keys of an open cell, before its editor sees them; true when taken.
  bool EditorKey(QKeyEvent* key);
  // A press anywhere in the window while a cell is open: a click outside the grid commits the
  // cell first (or drops it, on a dropper), and is swallowed when the page refuses the edit.
  bool WindowPress(QObject* watched, QEvent* event);
  bool IsDropper(QWidget* widget) const;
  void WatchWindow(bool watch);
  // The cell Tab (or Shift+Tab) goes to from the current one.
  grid::Cell TabTarget(bool back) const;
  bool MayLeaveFor(int row, int col);

  // The grid as the editing machine sees it: its cells, and the pages' hooks.
  class EditHost : public grid::CellHost {
   public:
    explicit EditHost(CVSFlexGrid& grid) : grid_(grid) {}
    bool Editable(grid::Cell cell) const override;
    std::optional<grid::CellList> ListOf(grid::Cell cell) const override;
    std::string Text(grid::Cell cell) const override;
    void BeforeEdit(grid::Cell cell) override;
    bool Validate(grid::Cell cell, const std::string& text) override;
    void Store(grid::Cell cell, const std::string& text) override;
    void AfterEdit(grid::Cell cell) override;

   private:
    CVSFlexGrid& grid_;
  };
  Qt::Alignment QtAlignment(int row, int col) const;
  void PaintCell(QPainter& painter, int row, int col, const QRect& rect) const;
  void PaintFittedPicture(QPainter& painter, const Cell& cell, const QRect& rect) const;
  int Dpi() const;

  int rows_ = 0;
  int cols_ = 0;
  int fixedRows_ = 0;
  int fixedCols_ = 0;
  std::vector<Cell> cells_;
  std::vector<int> rowHeights_;  // twips, -1 = default
  std::vector<int> colWidths_;
  std::vector<std::optional<grid::CellList>> lists_;
  std::vector<int> colAlignments_;  // -1: the default of data cells
  std::vector<QColor> colForeColors_;
  std::vector<bool> mergeRows_;
  int mergeMode_ = 0;
  int editable_ = kEditNone;

  int row_ = 0;
  int col_ = 0;
  int rowSel_ = 0;
  int colSel_ = 0;
  int topRow_ = 0;
  int leftCol_ = 0;
  int mouseRow_ = -1;
  int mouseCol_ = -1;

  // What a move with the left button down selects: cells, whole rows from their labels, or whole
  // columns from their headers.
  enum class Drag { None, Cells, Rows, Columns };
  Drag drag_ = Drag::None;
  bool pressWasOnCurrent_ = false;
  bool showPending_ = false;
  EditHost host_{*this};
  grid::CellEditing editing_{host_};
  QLineEdit* editor_ = nullptr;
  QListWidget* list_ = nullptr;
  QPointer<QWidget> watchedWindow_;
  EditCheck editCheck_;
  LeaveCheck leaveCheck_;
  std::vector<QPointer<QWidget>> editDroppers_;
};

}  // namespace tavrin
