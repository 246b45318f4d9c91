#include "platform/CVSFlexGrid.h"

#include <QApplication>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <utility>

#include "platform/UiFonts.h"

namespace tavrin {
namespace {

// The look of the original control: grey fixed cells with darker lines, white data cells with
// light lines, a dark grey backdrop where there are no cells.
const QColor kFixedBack(0xD4, 0xD0, 0xC8);
const QColor kFixedLine(0x80, 0x80, 0x80);
const QColor kDataBack(Qt::white);
const QColor kDataLine(0xC0, 0xC0, 0xC0);
const QColor kBackdrop(0x80, 0x80, 0x80);
const QColor kHighlight(0x31, 0x6A, 0xC5);
const QColor kHighlightText(Qt::white);
constexpr int kDefaultRowTwips = 255;
constexpr int kDefaultColTwips = 960;

QColor FromWindowsRgb(uint32_t rgb) {
  return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

int ShiftMaskOf(Qt::KeyboardModifiers modifiers) {
  int mask = 0;
  if (modifiers & Qt::ShiftModifier) mask |= CVSFlexGrid::kShift;
  if (modifiers & Qt::ControlModifier) mask |= CVSFlexGrid::kCtrl;
  if (modifiers & Qt::AltModifier) mask |= CVSFlexGrid::kAlt;
  return mask;
}

// The rows an open list shows at most; the rest scroll.
constexpr int kListRows = 12;

// A key that types a character into a cell, as opposed to moving, confirming or a command.
bool IsTypingKey(const QKeyEvent& key) {
  const QString text = key.text();
  return !text.isEmpty() && text.at(0).isPrint() &&
         !(key.modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

int ButtonOf(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton:
      return CVSFlexGrid::kLeftButton;
    case Qt::RightButton:
      return CVSFlexGrid::kRightButton;
    case Qt::MiddleButton:
      return CVSFlexGrid::kMiddleButton;
    default:
      return 0;
  }
}

}  // namespace

CVSFlexGrid::CVSFlexGrid(QWidget* parent) : QAbstractScrollArea(parent) {
  setFont(UiGothicFont());
  editor_ = new QLineEdit(viewport());
  editor_->setFont(font());
  editor_->setFrame(false);
  editor_->hide();
  editor_->installEventFilter(this);
  connect(editor_, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (editing_.phase() != grid::Phase::LineOpen) return;
    Edit(grid::input::Edited{text.toStdString()});
    emit ChangeEdit();
  });
  // A window of its own, so that it may reach past the dialog, yet one that takes neither the
  // keyboard nor the mouse from the dialog: keys stay with the cell's editor, and a click outside
  // it reaches what it lands on.
  list_ = new QListWidget(this);
  list_->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
  list_->setAttribute(Qt::WA_ShowWithoutActivating);
  list_->setFocusPolicy(Qt::NoFocus);
  list_->setFont(font());
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list_->hide();
  connect(list_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { Edit(grid::input::Pick{list_->row(item)}); });
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled);
  viewport()->setMouseTracking(true);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  Reshape(2, 2);
  SetFixedRows(1);
  SetFixedCols(1);
}

CVSFlexGrid::~CVSFlexGrid() = default;

std::size_t CVSFlexGrid::Index(int row, int col) const {
  return static_cast<std::size_t>(row) * static_cast<std::size_t>(cols_) +
         static_cast<std::size_t>(col);
}

bool CVSFlexGrid::ValidCell(int row, int col) const {
  return row >= 0 && row < rows_ && col >= 0 && col < cols_;
}

bool CVSFlexGrid::IsDataCell(int row, int col) const {
  return ValidCell(row, col) && row >= fixedRows_ && col >= fixedCols_;
}

bool CVSFlexGrid::IsMergeRow(int row) const {
  return mergeMode_ != 0 && row >= 0 && row < rows_ && mergeRows_[static_cast<std::size_t>(row)];
}

void CVSFlexGrid::Reshape(int rows, int cols) {
  CancelEdit();
  rows = std::max(rows, 0);
  cols = std::max(cols, 0);
  std::vector<Cell> cells(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols));
  for (int r = 0; r < std::min(rows, rows_); ++r)
    for (int c = 0; c < std::min(cols, cols_); ++c)
      cells[static_cast<std::size_t>(r) * static_cast<std::size_t>(cols) +
            static_cast<std::size_t>(c)] = std::move(At(r, c));
  cells_ = std::move(cells);
  rows_ = rows;
  cols_ = cols;
  rowHeights_.resize(static_cast<std::size_t>(rows), -1);
  colWidths_.resize(static_cast<std::size_t>(cols), -1);
  lists_.resize(static_cast<std::size_t>(cols));
  colAlignments_.resize(static_cast<std::size_t>(cols), -1);
  colForeColors_.resize(static_cast<std::size_t>(cols));
  mergeRows_.resize(static_cast<std::size_t>(rows), false);
  fixedRows_ = std::min(fixedRows_, rows_);
  fixedCols_ = std::min(fixedCols_, cols_);
  row_ = std::clamp(row_, 0, std::max(rows_ - 1, 0));
  col_ = std::clamp(col_, 0, std::max(cols_ - 1, 0));
  rowSel_ = std::clamp(rowSel_, 0, std::max(rows_ - 1, 0));
  colSel_ = std::clamp(colSel_, 0, std::max(cols_ - 1, 0));
  topRow_ = std::clamp(topRow_, fixedRows_, std::max(MaxTopRow(), fixedRows_));
  leftCol_ = std::clamp(leftCol_, fixedCols_, std::max(MaxLeftCol(), fixedCols_));
  UpdateScrollBars();
  updateGeometry();
  viewport()->update();
}

void CVSFlexGrid::SetRows(int rows) { Reshape(rows, cols_); }
void CVSFlexGrid::SetCols(int cols) { Reshape(rows_, cols); }

void CVSFlexGrid::SetFixedRows(int rows) {
  fixedRows_ = std::clamp(rows, 0, rows_);
  Reshape(rows_, cols_);
}

void CVSFlexGrid::SetFixedCols(int cols) {
  fixedCols_ = std::clamp(cols, 0, cols_);
  Reshape(rows_, cols_);
}

void CVSFlexGrid::MoveCurrent(int row, int col, int rowSel, int colSel) {
  if (IsEditing() && !Edit(grid::input::ClickCell{{row, col}})) return;
  if (!MayLeaveFor(row, col)) return;
  int oldRow = row_;
  int oldCol = col_;
  row_ = row;
  col_ = col;
  rowSel_ = rowSel;
  colSel_ = colSel;
  viewport()->update();
  if (oldRow != row || oldCol != col) emit AfterRowColChange(oldRow, oldCol, row, col);
}

void CVSFlexGrid::SetSelectionCorner(int rowSel, int colSel) {
  rowSel_ = std::clamp(rowSel, fixedRows_, rows_ - 1);
  colSel_ = std::clamp(colSel, fixedCols_, cols_ - 1);
  viewport()->update();
}

void CVSFlexGrid::ScheduleShowCurrent() {
  // Editors move the cursor cell by cell while they fill or colour a grid; only where it ends
  // up has to come into view.
  if (showPending_) return;
  showPending_ = true;
  QTimer::singleShot(0, this, [this] {
    showPending_ = false;
    if (IsDataCell(row_, col_)) ShowCell(row_, col_);
  });
}

void CVSFlexGrid::SetRow(int row) {
  if (row < 0 || row >= rows_) return;
  MoveCurrent(row, col_, row, col_);
  ScheduleShowCurrent();
}

void CVSFlexGrid::SetCol(int col) {
  if (col < 0 || col >= cols_) return;
  MoveCurrent(row_, col, row_, col);
  ScheduleShowCurrent();
}

void CVSFlexGrid::SetCurrentCell(int row, int col) {
  if (!ValidCell(row, col)) return;
  MoveCurrent(row, col, row, col);
  ScheduleShowCurrent();
}

void CVSFlexGrid::GetSelection(int& row1, int& col1, int& row2, int& col2) const {
  row1 = std::min(row_, rowSel_);
  row2 = std::max(row_, rowSel_);
  col1 = std::min(col_, colSel_);
  col2 = std::max(col_, colSel_);
}

void CVSFlexGrid::SetTopRow(int row) {
  topRow_ = std::clamp(row, fixedRows_, std::max(MaxTopRow(), fixedRows_));
  UpdateScrollBars();
  PlaceEditor();
  viewport()->update();
}

void CVSFlexGrid::SetLeftCol(int col) {
  leftCol_ = std::clamp(col, fixedCols_, std::max(MaxLeftCol(), fixedCols_));
  UpdateScrollBars();
  PlaceEditor();
  viewport()->update();
}

void CVSFlexGrid::ShowCell(int row, int col) {
  if (!ValidCell(row, col)) return;
  int height = viewport()->height();
  int width = viewport()->width();
  if (row >= fixedRows_) {
    if (row < topRow_) topRow_ = row;
    auto bottom = [&] {
      int y = 0;
      for (int r = 0; r < fixedRows_; ++r) y += RowHeightPixels(r);
      for (int r = topRow_; r <= row; ++r) y += RowHeightPixels(r);
      return y;
    };
    while (topRow_ < row && bottom() > height) ++topRow_;
  }
  if (col >= fixedCols_) {
    if (col < leftCol_) leftCol_ = col;
    auto right = [&] {
      int x = 0;
      for (int c = 0; c < fixedCols_; ++c) x += ColWidthPixels(c);
      for (int c = leftCol_; c <= col; ++c) x += ColWidthPixels(c);
      return x;
    };
    while (leftCol_ < col && right() > width) ++leftCol_;
  }
  UpdateScrollBars();
  PlaceEditor();
  viewport()->update();
}

void CVSFlexGrid::SetCellBackColor(uint32_t rgb) {
  if (!ValidCell(row_, col_)) return;
  At(row_, col_).back = FromWindowsRgb(rgb);
  viewport()->update();
}

void CVSFlexGrid::SetCellForeColor(uint32_t rgb) {
  if (!ValidCell(row_, col_)) return;
  At(row_, col_).fore = FromWindowsRgb(rgb);
  viewport()->update();
}

void CVSFlexGrid::SetCellAlignment(int alignment) {
  if (!ValidCell(row_, col_) || alignment < 0 || alignment > kAlignGeneral) return;
  At(row_, col_).alignment = alignment;
  viewport()->update();
}

void CVSFlexGrid::SetCellPicture(const QPixmap& picture) {
  if (!ValidCell(row_, col_)) return;
  At(row_, col_).picture = picture;
  viewport()->update();
}

void CVSFlexGrid::SetCellFontBold(bool bold) {
  if (!ValidCell(row_, col_)) return;
  At(row_, col_).bold = bold;
  viewport()->update();
}

int CVSFlexGrid::CellAlignment() const {
  if (!ValidCell(row_, col_)) return kAlignGeneral;
  int alignment = At(row_, col_).alignment;
  if (alignment >= 0) return alignment;
  if (IsDataCell(row_, col_) && colAlignments_[static_cast<std::size_t>(col_)] >= 0)
    return colAlignments_[static_cast<std::size_t>(col_)];
  return IsDataCell(row_, col_) ? kAlignGeneral : kAlignCenterCenter;
}

QColor CVSFlexGrid::CellBackColor() const {
  return ValidCell(row_, col_) ? At(row_, col_).back : QColor();
}

QColor CVSFlexGrid::CellForeColor() const {
  return ValidCell(row_, col_) ? At(row_, col_).fore : QColor();
}

bool CVSFlexGrid::CellFontBold() const { return ValidCell(row_, col_) && At(row_, col_).bold; }

bool CVSFlexGrid::HasCellPicture() const {
  return ValidCell(row_, col_) && !At(row_, col_).picture.isNull();
}

void CVSFlexGrid::SetMergeCells(int mode) {
  mergeMode_ = mode;
  viewport()->update();
}

void CVSFlexGrid::SetMergeRow(int row, bool merge) {
  if (row < 0 || row >= rows_) return;
  mergeRows_[static_cast<std::size_t>(row)] = merge;
  viewport()->update();
}

std::pair<int, int> CVSFlexGrid::MergedRange(int row, int col) const {
  if (!ValidCell(row, col) || !IsMergeRow(row) || At(row, col).text.isEmpty()) return {col, col};
  // Groups never cross from the fixed columns into the scrolled ones, so scrolling cannot tear a
  // group apart; with the fixed-only mode, data cells never join.
  auto joins = [&](int c) {
    if (c < 0 || c >= cols_ || (c < fixedCols_) != (col < fixedCols_)) return false;
    if (mergeMode_ == kMergeFixedOnly && IsDataCell(row, c)) return false;
    return At(row, c).text == At(row, col).text;
  };
  if (!joins(col)) return {col, col};
  int first = col;
  int last = col;
  while (joins(first - 1)) --first;
  while (joins(last + 1)) ++last;
  return {first, last};
}

void CVSFlexGrid::SetEditable(int mode) {
  editable_ = std::clamp(mode, 0, static_cast<int>(kEditKeyboardMouse));
  if (editable_ == kEditNone) CancelEdit();
}

QString CVSFlexGrid::EditText() const {
  if (IsEditing()) return QString::fromStdString(editing_.shown());
  return TextMatrix(row_, col_);
}

void CVSFlexGrid::StartEdit() { Edit(grid::input::Open{{row_, col_}}); }
void CVSFlexGrid::CommitEdit() { Edit(grid::input::Enter{}); }
void CVSFlexGrid::CancelEdit() { Edit(grid::input::Escape{}); }

bool CVSFlexGrid::Edit(const grid::Event& event) {
  const bool wasOpen = IsEditing();
  const grid::Answer answer = editing_.Handle(event);
  if (answer.outcome == grid::Outcome::Refuse) QApplication::beep();
  const bool opened = !wasOpen && IsEditing();
  // Opened by Enter or a click, or kept after the page refused it, the cell's text is selected:
  // what is typed next replaces it. Opened by a key, that key is the text.
  const bool select = (opened && !std::holds_alternative<grid::input::Key>(event)) ||
                      (wasOpen && !answer.proceed && IsEditing());
  ShowEditing(opened, select);
  // The key that opened a line editor is its first edit.
  if (opened && editing_.phase() == grid::Phase::LineOpen &&
      std::holds_alternative<grid::input::Key>(event))
    emit ChangeEdit();
  return answer.proceed;
}

void CVSFlexGrid::ShowEditing(bool opened, bool select) {
  const grid::Phase phase = editing_.phase();
  if (phase == grid::Phase::Committing) return;
  if (phase == grid::Phase::Idle) {
    // The keyboard may be in the editor, or the window inactive (a message box, a window
    // manager's hand-over): the grid takes it back wherever the editor had it, never the next
    // widget of the window.
    const bool hadFocus = editor_->hasFocus() || window()->focusWidget() == editor_;
    list_->hide();
    editor_->hide();
    WatchWindow(false);
    if (hadFocus) setFocus();
    viewport()->update();
    return;
  }
  const bool list = phase == grid::Phase::ListOpen;
  if (opened) {
    WatchWindow(true);
    list_->clear();
    if (list)
      for (const std::string& item : editing_.list()->items)
        list_->addItem(QString::fromStdString(item));
  }
  if (opened || list) editor_->setText(QString::fromStdString(editing_.shown()));
  if (list) {
    const std::optional<int> highlight = editing_.highlighted();
    list_->setCurrentRow(highlight.value_or(-1));
    if (highlight)
      list_->scrollToItem(list_->item(*highlight));
    else
      list_->clearSelection();
    select = editing_.typed().empty();
  }
  if (select)
    editor_->selectAll();
  else if (opened || list)
    editor_->end(false);
  PlaceEditor();
  // The keyboard stays in the cell's editor, also after a message box about a refusal took it.
  editor_->setFocus();
}

void CVSFlexGrid::PlaceEditor() {
  const std::optional<grid::Cell> cell = editing_.cell();
  if (!cell || editing_.phase() == grid::Phase::Committing) return;
  QRect rect = CellRect(cell->row, cell->col);
  if (rect.isEmpty()) {
    editor_->hide();
    list_->hide();
    return;
  }
  editor_->setGeometry(rect.adjusted(0, 0, -1, -1));
  if (!editor_->isVisible()) editor_->show();
  // The list shows only over the window the user works in: not over a message box, nor over
  // another program.
  if (editing_.phase() != grid::Phase::ListOpen || list_->count() == 0 ||
      !window()->isActiveWindow()) {
    list_->hide();
    return;
  }
  const int rowHeight = std::max(list_->sizeHintForRow(0), 1);
  const int rows = std::min(list_->count(), kListRows);
  const int frame = 2 * list_->frameWidth();
  const int width = std::max(
      rect.width(),
      list_->sizeHintForColumn(0) + frame +
          (list_->count() > kListRows ? list_->verticalScrollBar()->sizeHint().width() : 0));
  list_->setGeometry(QRect(viewport()->mapToGlobal(rect.bottomLeft() + QPoint(0, 1)),
                           QSize(width, rows * rowHeight + frame)));
  if (!list_->isVisible()) list_->show();
}

bool CVSFlexGrid::EditorKey(QKeyEvent* key) {
  const grid::Phase phase = editing_.phase();
  const bool list = phase == grid::Phase::ListOpen;
  switch (key->key()) {
    case Qt::Key_Escape:
      Edit(grid::input::Escape{});
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      Edit(grid::input::Enter{});
      return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
      const bool back = key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
      const grid::Cell next = TabTarget(back);
      if (Edit(grid::input::Tab{}) && !IsEditing()) SetCurrentCell(next.row, next.col);
      return true;
    }
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
      const bool up = key->key() == Qt::Key_Up || key->key() == Qt::Key_PageUp;
      const bool page = key->key() == Qt::Key_PageUp || key->key() == Qt::Key_PageDown;
      if (list) {
        Edit(grid::input::Step{(up ? -1 : 1) * (page ? kListRows : 1)});
        return true;
      }
      // A line editor is left as the cursor moves on, the edit stored first.
      const grid::Cell cell = *editing_.cell();
      if (Edit(grid::input::Enter{}) && !IsEditing())
        SetCurrentCell(std::clamp(cell.row + (up ? -1 : 1), fixedRows_, rows_ - 1), cell.col);
      return true;
    }
    case Qt::Key_Home:
    case Qt::Key_End:
      if (!list) return false;
      Edit(grid::input::Step{key->key() == Qt::Key_Home ? -list_->count() : list_->count()});
      return true;
    case Qt::Key_Backspace:
      if (!list) return false;
      Edit(grid::input::BackSpace{});
      return true;
    default:
      break;
  }
  if (!list) return false;
  // Every other key of an open list is its own: typed text picks, the rest does nothing.
  if (IsTypingKey(*key)) Edit(grid::input::Key{{row_, col_}, key->text().toStdString()});
  return true;
}

grid::Cell CVSFlexGrid::TabTarget(bool back) const {
  int row = row_;
  int col = col_ + (back ? -1 : 1);
  if (col >= cols_) {
    col = fixedCols_;
    ++row;
  } else if (col < fixedCols_) {
    col = cols_ - 1;
    --row;
  }
  if (row < fixedRows_ || row >= rows_) return {row_, col_};
  return {row, col};
}

bool CVSFlexGrid::IsDropper(QWidget* widget) const {
  return widget && std::any_of(editDroppers_.begin(), editDroppers_.end(),
                               [widget](const QPointer<QWidget>& w) {
                                 return w && (w == widget || w->isAncestorOf(widget));
                               });
}

void CVSFlexGrid::WatchWindow(bool watch) {
  if (watchedWindow_) {
    watchedWindow_->removeEventFilter(this);
    if (QWindow* handle = watchedWindow_->windowHandle()) handle->removeEventFilter(this);
  }
  watchedWindow_ = watch ? window() : nullptr;
  if (!watchedWindow_) return;
  // The window's own moves carry the list along; its presses are seen before any widget of it
  // takes the keyboard, so that a click on a button commits the cell first.
  watchedWindow_->installEventFilter(this);
  if (QWindow* handle = watchedWindow_->windowHandle()) handle->installEventFilter(this);
}

bool CVSFlexGrid::WindowPress(QObject* watched, QEvent* event) {
  if (!watchedWindow_ || watched != watchedWindow_->windowHandle() || !IsEditing()) return false;
  const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
  QWidget* target = watchedWindow_->childAt(at);
  if (target == nullptr || target == this || isAncestorOf(target) || IsDropper(target))
    return false;
  return !Edit(grid::input::ClickElsewhere{});
}

int CVSFlexGrid::TwipsToPixels(int twips, int dpi) { return (twips * dpi + 720) / 1440; }

int CVSFlexGrid::Dpi() const { return logicalDpiY(); }

void CVSFlexGrid::SetColWidth(int col, int twips) {
  if (col < 0 || col >= cols_) return;
  colWidths_[static_cast<std::size_t>(col)] = std::max(twips, 0);
  UpdateScrollBars();
  updateGeometry();
  PlaceEditor();
  viewport()->update();
}

void CVSFlexGrid::SetRowHeight(int row, int twips) {
  if (row < 0 || row >= rows_) return;
  rowHeights_[static_cast<std::size_t>(row)] = std::max(twips, 0);
  UpdateScrollBars();
  updateGeometry();
  PlaceEditor();
  viewport()->update();
}

int CVSFlexGrid::ColWidthPixels(int col) const {
  int twips = colWidths_[static_cast<std::size_t>(col)];
  return TwipsToPixels(twips < 0 ? kDefaultColTwips : twips, logicalDpiX());
}

int CVSFlexGrid::RowHeightPixels(int row) const {
  int twips = rowHeights_[static_cast<std::size_t>(row)];
  return TwipsToPixels(twips < 0 ? kDefaultRowTwips : twips, Dpi());
}

QString CVSFlexGrid::TextMatrix(int row, int col) const {
  return ValidCell(row, col) ? At(row, col).text : QString();
}

void CVSFlexGrid::SetTextMatrix(int row, int col, const QString& text) {
  if (!ValidCell(row, col)) return;
  At(row, col).text = text;
  viewport()->update();
}

void CVSFlexGrid::SetColList(int col, std::optional<grid::CellList> list) {
  if (col < 0 || col >= cols_) return;
  lists_[static_cast<std::size_t>(col)] = std::move(list);
}

const std::optional<grid::CellList>& CVSFlexGrid::ColList(int col) const {
  static const std::optional<grid::CellList> kNone;
  return col >= 0 && col < cols_ ? lists_[static_cast<std::size_t>(col)] : kNone;
}

bool CVSFlexGrid::EditHost::Editable(grid::Cell cell) const {
  return grid_.editable_ != kEditNone && grid_.IsDataCell(cell.row, cell.col);
}

std::optional<grid::CellList> CVSFlexGrid::EditHost::ListOf(grid::Cell cell) const {
  return grid_.ColList(cell.col);
}

std::string CVSFlexGrid::EditHost::Text(grid::Cell cell) const {
  return grid_.TextMatrix(cell.row, cell.col).toStdString();
}

void CVSFlexGrid::EditHost::BeforeEdit(grid::Cell cell) {
  grid_.ShowCell(cell.row, cell.col);
  emit grid_.BeforeEdit(cell.row, cell.col);
}

bool CVSFlexGrid::EditHost::Validate(grid::Cell cell, const std::string& text) {
  return !grid_.editCheck_ || grid_.editCheck_(cell.row, cell.col, QString::fromStdString(text));
}

void CVSFlexGrid::EditHost::Store(grid::Cell cell, const std::string& text) {
  grid_.At(cell.row, cell.col).text = QString::fromStdString(text);
  grid_.viewport()->update();
}

void CVSFlexGrid::EditHost::AfterEdit(grid::Cell cell) { emit grid_.AfterEdit(cell.row, cell.col); }

bool CVSFlexGrid::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress && WindowPress(watched, event)) return true;
  if (watchedWindow_ && watched == watchedWindow_ &&
      (event->type() == QEvent::Move || event->type() == QEvent::WindowActivate ||
       event->type() == QEvent::WindowDeactivate))
    PlaceEditor();
  if (watched != editor_ || !IsEditing()) return QAbstractScrollArea::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::KeyPress:
      return EditorKey(static_cast<QKeyEvent*>(event));
    case QEvent::InputMethod:
      // Japanese typed into an open list picks its item as typed keys do.
      if (editing_.phase() == grid::Phase::ListOpen) {
        const QString text = static_cast<QInputMethodEvent*>(event)->commitString();
        if (!text.isEmpty()) Edit(grid::input::Key{{row_, col_}, text.toStdString()});
        return true;
      }
      break;
    case QEvent::FocusOut: {
      // The grid itself taking the keyboard hands its keys on to the editor, and a dropper decides
      // itself; another control taking it commits the cell. Another window coming to the front (a
      // message box, another program) leaves the cell open, its list put away until the window is
      // back.
      const auto reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) break;
      QWidget* focus = QApplication::focusWidget();
      if (focus != this && focus != editor_ && !IsDropper(focus)) Edit(grid::input::FocusLost{});
      break;
    }
    default:
      break;
  }
  return QAbstractScrollArea::eventFilter(watched, event);
}

int CVSFlexGrid::RowTop(int row) const {
  if (row < 0 || row >= rows_ || (row >= fixedRows_ && row < topRow_)) return -1;
  int y = 0;
  for (int r = 0; r < std::min(row, fixedRows_); ++r) y += RowHeightPixels(r);
  for (int r = topRow_; r < row; ++r) y += RowHeightPixels(r);
  return y < viewport()->height() ? y : -1;
}

int CVSFlexGrid::ColLeft(int col) const {
  if (col < 0 || col >= cols_ || (col >= fixedCols_ && col < leftCol_)) return -1;
  int x = 0;
  for (int c = 0; c < std::min(col, fixedCols_); ++c) x += ColWidthPixels(c);
  for (int c = leftCol_; c < col; ++c) x += ColWidthPixels(c);
  return x < viewport()->width() ? x : -1;
}

QRect CVSFlexGrid::CellRect(int row, int col) const {
  auto [first, last] = MergedRange(row, col);
  if (first >= fixedCols_) first = std::max(first, leftCol_);
  int y = RowTop(row);
  int x = ColLeft(first);
  if (y < 0 || x < 0) return {};
  int width = 0;
  for (int c = first; c <= last; ++c) width += ColWidthPixels(c);
  return QRect(x, y, width, RowHeightPixels(row));
}

std::pair<int, int> CVSFlexGrid::CellAt(QPoint pos) const {
  auto find = [](int target, int fixedCount, int first, int count, auto size) {
    int at = 0;
    for (int i = 0; i < count; ++i) {
      if (i == fixedCount) i = std::max(i, first);
      if (i >= count) break;
      at += size(i);
      if (target < at) return i;
    }
    return -1;
  };
  if (pos.x() < 0 || pos.y() < 0) return {-1, -1};
  int row = find(pos.y(), fixedRows_, topRow_, rows_, [this](int r) { return RowHeightPixels(r); });
  int col = find(pos.x(), fixedCols_, leftCol_, cols_, [this](int c) { return ColWidthPixels(c); });
  if (row < 0 || col < 0) return {-1, -1};
  return {row, col};
}

int CVSFlexGrid::MaxTopRow() const { return MaxTopRow(viewport()->height()); }
int CVSFlexGrid::MaxLeftCol() const { return MaxLeftCol(viewport()->width()); }

int CVSFlexGrid::MaxTopRow(int height) const {
  int available = height;
  for (int r = 0; r < fixedRows_; ++r) available -= RowHeightPixels(r);
  int row = rows_;
  while (row > fixedRows_ && available >= RowHeightPixels(row - 1))
    available -= RowHeightPixels(--row);
  return std::max(row, fixedRows_);
}

int CVSFlexGrid::MaxLeftCol(int width) const {
  int available = width;
  for (int c = 0; c < fixedCols_; ++c) available -= ColWidthPixels(c);
  int col = cols_;
  while (col > fixedCols_ && available >= ColWidthPixels(col - 1))
    available -= ColWidthPixels(--col);
  return std::max(col, fixedCols_);
}

void CVSFlexGrid::UpdateScrollBars() {
  // The bars count whole rows and columns: the grid scrolls cell by cell.
  // The bars' signals stay connected: their range changes are what shows or hides them.
  QScrollBar* vertical = verticalScrollBar();
  QScrollBar* horizontal = horizontalScrollBar();
  // Decide from the whole area whether bars are needed at all; judged from the viewport, a bar
  // once shown would keep itself needed by the room it takes.
  QSize area = maximumViewportSize();
  bool needH = MaxLeftCol(area.width()) > fixedCols_;
  bool needV =
      MaxTopRow(area.height() - (needH ? horizontal->sizeHint().height() : 0)) > fixedRows_;
  if (needV && !needH) needH = MaxLeftCol(area.width() - vertical->sizeHint().width()) > fixedCols_;
  int height = area.height() - (needH ? horizontal->sizeHint().height() : 0);
  int width = area.width() - (needV ? vertical->sizeHint().width() : 0);
  int maxTop = MaxTopRow(height);
  int maxLeft = MaxLeftCol(width);
  // Setting a range may move a bar, which reports back through scrollContentsBy.
  int top = std::clamp(topRow_, fixedRows_, maxTop);
  int left = std::clamp(leftCol_, fixedCols_, maxLeft);
  vertical->setRange(0, maxTop - fixedRows_);
  vertical->setPageStep(std::max(1, rows_ - maxTop));
  horizontal->setRange(0, maxLeft - fixedCols_);
  horizontal->setPageStep(std::max(1, cols_ - maxLeft));
  vertical->setValue(top - fixedRows_);
  horizontal->setValue(left - fixedCols_);
  topRow_ = top;
  leftCol_ = left;
}

void CVSFlexGrid::scrollContentsBy(int, int) {
  topRow_ = fixedRows_ + verticalScrollBar()->value();
  leftCol_ = fixedCols_ + horizontalScrollBar()->value();
  PlaceEditor();
  viewport()->update();
}

void CVSFlexGrid::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
  PlaceEditor();
}

void CVSFlexGrid::hideEvent(QHideEvent* event) {
  // A grid put away (another kind of the annual page, a closed window) takes its open list along.
  CancelEdit();
  QAbstractScrollArea::hideEvent(event);
}

QSize CVSFlexGrid::sizeHint() const {
  int width = 2 * frameWidth();
  int height = 2 * frameWidth();
  for (int c = 0; c < cols_; ++c) width += ColWidthPixels(c);
  for (int r = 0; r < rows_; ++r) height += RowHeightPixels(r);
  return {std::min(width, 1000), std::min(height, 700)};
}

Qt::Alignment CVSFlexGrid::QtAlignment(int row, int col) const {
  int alignment = At(row, col).alignment;
  if (alignment < 0 && IsDataCell(row, col))
    alignment = colAlignments_[static_cast<std::size_t>(col)];
  if (alignment < 0) alignment = IsDataCell(row, col) ? kAlignGeneral : kAlignCenterCenter;
  if (alignment == kAlignGeneral) {
    bool number = false;
    At(row, col).text.toDouble(&number);
    return Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft);
  }
  static constexpr Qt::AlignmentFlag kHorizontal[] = {Qt::AlignLeft, Qt::AlignHCenter,
                                                      Qt::AlignRight};
  static constexpr Qt::AlignmentFlag kVertical[] = {Qt::AlignTop, Qt::AlignVCenter,
                                                    Qt::AlignBottom};
  return kHorizontal[alignment / 3] | kVertical[alignment % 3];
}

void CVSFlexGrid::PaintCell(QPainter& painter, int row, int col, const QRect& rect) const {
  const Cell& cell = At(row, col);
  bool fixed = !IsDataCell(row, col);
  int row1, col1, row2, col2;
  GetSelection(row1, col1, row2, col2);
  bool current = row == row_ && col == col_;
  bool selected = !fixed && !current && row >= row1 && row <= row2 && col >= col1 && col <= col2;

  QColor back = cell.back.isValid() ? cell.back : (fixed ? kFixedBack : kDataBack);
  QColor fore = cell.fore.isValid() ? cell.fore : QColor(Qt::black);
  if (!cell.fore.isValid() && !fixed && colForeColors_[static_cast<std::size_t>(col)].isValid())
    fore = colForeColors_[static_cast<std::size_t>(col)];
  if (selected) {
    back = kHighlight;
    fore = kHighlightText;
  }
  painter.fillRect(rect, back);

  QRect inner = rect.adjusted(2, 0, -3, -1);
  if (!cell.picture.isNull() && cell.pictureFit == PictureFit::Natural) {
    PaintFittedPicture(painter, cell, rect);
  } else if (cell.pictureFit == PictureFit::Fill) {
    // Drawn over the grid lines below.
  } else if (!cell.picture.isNull()) {
    QSize size = cell.picture.size().scaled(inner.size(), Qt::KeepAspectRatio);
    if (size.width() > cell.picture.width()) size = cell.picture.size();
    QRect place(QPoint(0, 0), size);
    place.moveCenter(inner.center());
    if (!cell.text.isEmpty()) place.moveLeft(inner.left());
    painter.drawPixmap(place, cell.picture);
    if (!cell.text.isEmpty()) inner.setLeft(place.right() + 2);
  }
  if (!cell.text.isEmpty()) {
    QFont font = painter.font();
    font.setBold(cell.bold);
    painter.setFont(font);
    painter.setPen(fore);
    painter.drawText(inner, static_cast<int>(QtAlignment(row, col)) | Qt::TextSingleLine,
                     cell.text);
  }

  painter.setPen(fixed ? kFixedLine : kDataLine);
  painter.drawLine(rect.topRight(), rect.bottomRight());
  painter.drawLine(rect.bottomLeft(), rect.bottomRight());
  if (fixed) {
    // The raised edge of a header cell.
    painter.setPen(Qt::white);
    painter.drawLine(rect.topLeft(), rect.topRight() - QPoint(1, 0));
    painter.drawLine(rect.topLeft(), rect.bottomLeft() - QPoint(0, 1));
  }
  if (!cell.picture.isNull() && cell.pictureFit == PictureFit::Fill)
    PaintFittedPicture(painter, cell, rect);
  if (current && !fixed) {
    QPen pen(Qt::black, 1, Qt::DotLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(1, 1, -2, -2));
  }
}

void CVSFlexGrid::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  painter.setFont(font());
  painter.fillRect(viewport()->rect(), kBackdrop);
  const int height = viewport()->height();
  const int width = viewport()->width();
  auto paintRow = [&](int row, int y) {
    int x = 0;
    for (int col = 0; col < cols_ && x < width; ++col) {
      if (col == fixedCols_) col = std::max(col, leftCol_);
      if (col >= cols_) break;
      auto [first, last] = MergedRange(row, col);
      int span = 0;
      for (int c = col; c <= last; ++c) span += ColWidthPixels(c);
      PaintCell(painter, row, first, QRect(x, y, span, RowHeightPixels(row)));
      x += span;
      col = last;
    }
  };
  int y = 0;
  for (int row = 0; row < rows_ && y < height; ++row) {
    if (row == fixedRows_) row = std::max(row, topRow_);
    if (row >= rows_) break;
    paintRow(row, y);
    y += RowHeightPixels(row);
  }
}

void CVSFlexGrid::mousePressEvent(QMouseEvent* event) {
  auto [row, col] = CellAt(event->position().toPoint());
  mouseRow_ = row;
  mouseCol_ = col;
  pressWasOnCurrent_ = false;
  // An open cell is committed before the click acts; refused, its editor keeps the keyboard.
  if (IsEditing()) {
    const bool onCell = row >= 0 && IsDataCell(row, col);
    if (!Edit(onCell ? grid::Event{grid::input::ClickCell{{row, col}}}
                     : grid::Event{grid::input::ClickElsewhere{}}))
      return;
  }
  setFocus(Qt::MouseFocusReason);
  if (row < 0) return;
  const bool extend = event->modifiers() & Qt::ShiftModifier;
  const bool left = event->button() == Qt::LeftButton;
  if (IsDataCell(row, col)) {
    int row1, col1, row2, col2;
    GetSelection(row1, col1, row2, col2);
    pressWasOnCurrent_ = row == row_ && col == col_ && row1 == row2 && col1 == col2;
    if (extend)
      SetSelectionCorner(row, col);
    else
      MoveCurrent(row, col, row, col);
    drag_ = left ? Drag::Cells : Drag::None;
  } else if (row < fixedRows_ && col >= fixedCols_ && rows_ > fixedRows_) {
    // A column header picks the whole column, a row label the whole row; Shift or a drag along
    // the headers or labels makes it a range of them.
    MoveCurrent(fixedRows_, extend ? col_ : col, rows_ - 1, col);
    drag_ = left ? Drag::Columns : Drag::None;
  } else if (col < fixedCols_ && row >= fixedRows_ && cols_ > fixedCols_) {
    MoveCurrent(extend ? row_ : row, fixedCols_, row, cols_ - 1);
    drag_ = left ? Drag::Rows : Drag::None;
  }
}

void CVSFlexGrid::mouseMoveEvent(QMouseEvent* event) {
  auto [row, col] = CellAt(event->position().toPoint());
  mouseRow_ = row;
  mouseCol_ = col;
  if (drag_ == Drag::None || !(event->buttons() & Qt::LeftButton) || row < 0) return;
  // Over the labels or the data alike, only the row (or column) under the mouse counts, and the
  // grid scrolls only along the drag.
  if (drag_ == Drag::Rows) {
    SetSelectionCorner(row, cols_ - 1);
    ShowCell(rowSel_, leftCol_);
  } else if (drag_ == Drag::Columns) {
    SetSelectionCorner(rows_ - 1, col);
    ShowCell(topRow_, colSel_);
  } else {
    SetSelectionCorner(row, col);
    ShowCell(rowSel_, colSel_);
  }
}

void CVSFlexGrid::mouseReleaseEvent(QMouseEvent* event) {
  QPoint pos = event->position().toPoint();
  auto [row, col] = CellAt(pos);
  mouseRow_ = row;
  mouseCol_ = col;
  drag_ = Drag::None;
  emit MouseUp(ButtonOf(event->button()), ShiftMaskOf(event->modifiers()), pos.x(), pos.y());
  emit Click();
  if (pressWasOnCurrent_ && editable_ == kEditKeyboardMouse && row == row_ && col == col_)
    StartEdit();
  pressWasOnCurrent_ = false;
}

void CVSFlexGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  auto [row, col] = CellAt(event->position().toPoint());
  if (editable_ == kEditKeyboardMouse && row == row_ && col == col_) StartEdit();
}

void CVSFlexGrid::keyPressEvent(QKeyEvent* event) {
  if (IsEditing()) {
    // Keys the editor passes on go on to the window.
    if (!hasFocus()) {
      QAbstractScrollArea::keyPressEvent(event);
      return;
    }
    // The grid has the keyboard while its cell's editor is open only when something took the
    // focus from the editor; the key is the editor's, and Escape ends the edit, not the window.
    editor_->setFocus();
    QKeyEvent forwarded(event->type(), event->key(), event->modifiers(), event->text());
    QCoreApplication::sendEvent(editor_, &forwarded);
    return;
  }
  if (rows_ <= fixedRows_ || cols_ <= fixedCols_) {
    QAbstractScrollArea::keyPressEvent(event);
    return;
  }
  bool extend = event->modifiers() & Qt::ShiftModifier;
  bool ctrl = event->modifiers() & Qt::ControlModifier;
  int row = extend ? rowSel_ : row_;
  int col = extend ? colSel_ : col_;
  int page = std::max(1, MaxTopRow() < rows_ ? rows_ - MaxTopRow() : 1);
  switch (event->key()) {
    case Qt::Key_Up:
      --row;
      break;
    case Qt::Key_Down:
      ++row;
      break;
    case Qt::Key_Left:
      --col;
      break;
    case Qt::Key_Right:
      ++col;
      break;
    case Qt::Key_PageUp:
      row -= page;
      break;
    case Qt::Key_PageDown:
      row += page;
      break;
    case Qt::Key_Home:
      col = fixedCols_;
      if (ctrl) row = fixedRows_;
      break;
    case Qt::Key_End:
      col = cols_ - 1;
      if (ctrl) row = rows_ - 1;
      break;
    case Qt::Key_F2:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      StartEdit();
      return;
    default: {
      if (IsTypingKey(*event)) {
        Edit(grid::input::Key{{row_, col_}, event->text().toStdString()});
        if (IsEditing()) return;
      }
      QAbstractScrollArea::keyPressEvent(event);
      return;
    }
  }
  row = std::clamp(row, fixedRows_, rows_ - 1);
  col = std::clamp(col, fixedCols_, cols_ - 1);
  if (extend)
    SetSelectionCorner(row, col);
  else
    MoveCurrent(row, col, row, col);
  ShowCell(row, col);
}

void CVSFlexGrid::keyReleaseEvent(QKeyEvent* event) {
  if (event->isAutoRepeat()) return;
  int key = event->key();
  emit KeyUp(&key, ShiftMaskOf(event->modifiers()));
  if (key == event->key()) {
    QAbstractScrollArea::keyReleaseEvent(event);
    return;
  }
  event->accept();
  if (key != 0 && parentWidget() != nullptr) {
    QKeyEvent changed(QEvent::KeyRelease, key, event->modifiers());
    QCoreApplication::sendEvent(parentWidget(), &changed);
  }
}

void CVSFlexGrid::inputMethodEvent(QInputMethodEvent* event) {
  // Japanese typed while the grid itself has the focus starts an edit with the composed text, or
  // in a list picks the item it starts.
  if (!event->commitString().isEmpty()) {
    Edit(grid::input::Key{{row_, col_}, event->commitString().toStdString()});
    if (IsEditing()) {
      event->accept();
      return;
    }
  }
  QAbstractScrollArea::inputMethodEvent(event);
}

bool CVSFlexGrid::MayLeaveFor(int row, int col) {
  if (row == row_ && col == col_) return true;
  return !leaveCheck_ || leaveCheck_(row_, col_, row, col);
}

void CVSFlexGrid::DropEditOnFocusTo(QWidget* widget) { editDroppers_.emplace_back(widget); }

void CVSFlexGrid::SetCellPictureFit(PictureFit fit) {
  if (!ValidCell(row_, col_)) return;
  At(row_, col_).pictureFit = fit;
  viewport()->update();
}

void CVSFlexGrid::PaintFittedPicture(QPainter& painter, const Cell& cell, const QRect& rect) const {
  // A filled picture covers the grid line between two cells, so bars of neighbours join.
  if (cell.pictureFit == PictureFit::Fill) {
    painter.drawPixmap(rect, cell.picture);
    return;
  }
  QRect place(QPoint(0, 0), cell.picture.size());
  place.moveCenter(rect.center());
  painter.drawPixmap(place, cell.picture);
}

void CVSFlexGrid::SetColAlignment(int col, int alignment) {
  if (col < 0 || col >= cols_ || alignment < -1 || alignment > kAlignGeneral) return;
  colAlignments_[static_cast<std::size_t>(col)] = alignment;
  viewport()->update();
}

void CVSFlexGrid::SetColForeColor(int col, uint32_t rgb) {
  if (col < 0 || col >= cols_) return;
  colForeColors_[static_cast<std::size_t>(col)] = FromWindowsRgb(rgb);
  viewport()->update();
}

void CVSFlexGrid::SetCellBackColorAt(int row, int col, uint32_t rgb) {
  if (!ValidCell(row, col)) return;
  At(row, col).back = FromWindowsRgb(rgb);
  viewport()->update();
}

void CVSFlexGrid::SetCellForeColorAt(int row, int col, uint32_t rgb) {
  if (!ValidCell(row, col)) return;
  At(row, col).fore = FromWindowsRgb(rgb);
  viewport()->update();
}

}  // namespace tavrin
