#include "app/ui/GuideAccessible.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessibleWidget>
#include <QPointer>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextList>
#include <map>
#include <vector>

#include "app/ui/GuideBrowser.h"

namespace tavrin {
namespace {

constexpr QChar kObjectMark(0xFFFC);  // where a picture stands in the text

// A block of the page, or a link inside one.
struct Part {
  QAccessible::Role role = QAccessible::Paragraph;
  int start = 0;  // document positions
  int end = 0;
  QString text;
  QString href;            // a link's target
  int parent = -1;         // the block holding a link
  std::vector<int> links;  // the links of a block
};

std::vector<Part> ReadParts(const QTextDocument& document) {
  std::vector<Part> parts;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    Part part;
    part.start = block.position();
    part.end = block.position() + block.length() - 1;
    part.text = block.text();
    part.text.remove(kObjectMark);
    if (block.blockFormat().headingLevel() > 0) {
      part.role = QAccessible::Heading;
    } else if (block.textList() != nullptr) {
      part.role = QAccessible::ListItem;
    } else if (part.text.trimmed().isEmpty()) {
      // A picture alone on its line is read by what it shows; an empty line is nothing.
      for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
        const QTextCharFormat format = fragment.fragment().charFormat();
        if (format.isImageFormat()) {
          part.role = QAccessible::Graphic;
          part.text = format.property(QTextFormat::ImageAltText).toString();
        }
      }
      if (part.role != QAccessible::Graphic) continue;
    }
    const int index = static_cast<int>(parts.size());
    parts.push_back(part);
    // Neighbouring fragments with one target are one link.
    for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
      const QTextFragment piece = fragment.fragment();
      const QTextCharFormat format = piece.charFormat();
      if (!format.isAnchor() || format.anchorHref().isEmpty()) continue;
      Part& last = parts.back();
      if (last.role == QAccessible::Link && last.href == format.anchorHref() &&
          last.end == piece.position()) {
        last.end += piece.length();
        last.text += piece.text();
        continue;
      }
      Part link;
      link.role = QAccessible::Link;
      link.start = piece.position();
      link.end = piece.position() + piece.length();
      link.text = piece.text();
      link.href = format.anchorHref();
      link.parent = index;
      parts[static_cast<std::size_t>(index)].links.push_back(static_cast<int>(parts.size()));
      parts.push_back(link);
    }
  }
  return parts;
}

class GuideDocumentAccessible;

class GuidePartAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  GuidePartAccessible(GuideDocumentAccessible* document, int index, int revision)
      : document_(document), index_(index), revision_(revision) {}

  bool isValid() const override;
  QObject* object() const override { return nullptr; }
  QWindow* window() const override;
  QAccessibleInterface* parent() const override;
  QAccessibleInterface* child(int index) const override;
  int childCount() const override;
  int indexOfChild(const QAccessibleInterface* child) const override;
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QString text(QAccessible::Text t) const override;
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override;
  QAccessible::Role role() const override;
  QAccessible::State state() const override;
  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ActionInterface && role() == QAccessible::Link) {
      return static_cast<QAccessibleActionInterface*>(this);
    }
    return nullptr;
  }

  QStringList actionNames() const override { return {pressAction(), setFocusAction()}; }
  void doAction(const QString& action) override;
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

  int index() const { return index_; }

 private:
  const Part* part() const;

  GuideDocumentAccessible* document_;
  int index_;
  int revision_;
};

class GuideDocumentAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit GuideDocumentAccessible(GuideBrowser* browser)
      : QAccessibleWidget(browser, QAccessible::Document), browser_(browser) {}
  ~GuideDocumentAccessible() override { Forget(); }

  GuideBrowser* browser() const { return browser_; }

  // The parts of the page shown now; read again after each new page.
  const std::vector<Part>& Parts() {
    if (revision_ != browser_->revision()) {
      Forget();
      parts_ = ReadParts(*browser_->document());
      revision_ = browser_->revision();
    }
    return parts_;
  }
  int revision() const { return revision_; }

  QAccessibleInterface* PartInterface(int index) {
    const std::vector<Part>& parts = Parts();
    if (index < 0 || index >= static_cast<int>(parts.size())) return nullptr;
    if (const auto known = ids_.find(index); known != ids_.end()) {
      return QAccessible::accessibleInterface(known->second);
    }
    auto* part = new GuidePartAccessible(this, index, revision_);
    ids_[index] = QAccessible::registerAccessibleInterface(part);
    return part;
  }

  // The blocks, in reading order.
  std::vector<int> Blocks() {
    std::vector<int> blocks;
    const std::vector<Part>& parts = Parts();
    for (std::size_t i = 0; i < parts.size(); ++i) {
      if (parts[i].parent < 0) blocks.push_back(static_cast<int>(i));
    }
    return blocks;
  }

  // The link the keyboard is on: the selection is exactly its text.
  int FocusedLink() {
    const QTextCursor cursor = browser_->textCursor();
    const std::vector<Part>& parts = Parts();
    for (std::size_t i = 0; i < parts.size(); ++i) {
      if (parts[i].role == QAccessible::Link && cursor.selectionStart() == parts[i].start &&
          cursor.selectionEnd() == parts[i].end) {
        return static_cast<int>(i);
      }
    }
    return -1;
  }

  QRect PartRect(const Part& part) const {
    QRect area;
    if (part.role == QAccessible::Link) {
      QTextCursor cursor(browser_->document());
      cursor.setPosition(part.start);
      area = browser_->cursorRect(cursor);
      cursor.setPosition(part.end);
      area = area.united(browser_->cursorRect(cursor));
    } else {
      const QTextBlock block = browser_->document()->findBlock(part.start);
      area = browser_->document()->documentLayout()->blockBoundingRect(block).toRect().translated(
          -browser_->horizontalScrollBar()->value(), -browser_->verticalScrollBar()->value());
    }
    return QRect(browser_->viewport()->mapToGlobal(area.topLeft()), area.size());
  }

  void Follow(const Part& part) { browser_->Follow(QUrl(part.href)); }
  void Focus(const Part& part) {
    QTextCursor cursor(browser_->document());
    cursor.setPosition(part.start);
    cursor.setPosition(part.end, QTextCursor::KeepAnchor);
    browser_->setTextCursor(cursor);
    browser_->setFocus(Qt::OtherFocusReason);
  }

  // QAccessibleInterface
  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }
  int childCount() const override { return static_cast<int>(Self().Blocks().size()); }
  QAccessibleInterface* child(int index) const override {
    const std::vector<int> blocks = Self().Blocks();
    if (index < 0 || index >= static_cast<int>(blocks.size())) return nullptr;
    return Self().PartInterface(blocks[static_cast<std::size_t>(index)]);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    const auto* part = dynamic_cast<const GuidePartAccessible*>(child);
    if (part == nullptr) return -1;
    const std::vector<int> blocks = Self().Blocks();
    const auto found = std::find(blocks.begin(), blocks.end(), part->index());
    return found == blocks.end() ? -1 : static_cast<int>(found - blocks.begin());
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    for (int index : Self().Blocks()) {
      QAccessibleInterface* block = Self().PartInterface(index);
      if (block != nullptr && block->rect().contains(x, y)) return block;
    }
    return nullptr;
  }
  // A screen reader asks where the keyboard is: on a link of the page, when Tab took it there.
  QAccessibleInterface* focusChild() const override {
    if (browser_->hasFocus()) {
      if (QAccessibleInterface* link = Self().PartInterface(Self().FocusedLink())) return link;
    }
    return QAccessibleWidget::focusChild();
  }
  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    state.multiLine = true;
    state.selectableText = true;
    return state;
  }

  // QAccessibleTextInterface
  void selection(int index, int* start, int* end) const override {
    const QTextCursor cursor = browser_->textCursor();
    *start = *end = 0;
    if (index == 0 && cursor.hasSelection()) {
      *start = cursor.selectionStart();
      *end = cursor.selectionEnd();
    }
  }
  int selectionCount() const override { return browser_->textCursor().hasSelection() ? 1 : 0; }
  void addSelection(int start, int end) override { setSelection(0, start, end); }
  void removeSelection(int) override {
    QTextCursor cursor = browser_->textCursor();
    cursor.clearSelection();
    browser_->setTextCursor(cursor);
  }
  void setSelection(int, int start, int end) override {
    QTextCursor cursor(browser_->document());
    cursor.setPosition(Clamp(start));
    cursor.setPosition(Clamp(end), QTextCursor::KeepAnchor);
    browser_->setTextCursor(cursor);
  }
  int cursorPosition() const override { return browser_->textCursor().position(); }
  void setCursorPosition(int position) override {
    QTextCursor cursor(browser_->document());
    cursor.setPosition(Clamp(position));
    browser_->setTextCursor(cursor);
  }
  QString text(int start, int end) const override {
    return browser_->document()->toPlainText().mid(start, end - start);
  }
  int characterCount() const override { return browser_->document()->characterCount() - 1; }
  QRect characterRect(int offset) const override {
    QTextCursor cursor(browser_->document());
    cursor.setPosition(Clamp(offset));
    const QRect area = browser_->cursorRect(cursor);
    return QRect(browser_->viewport()->mapToGlobal(area.topLeft()), area.size());
  }
  int offsetAtPoint(const QPoint& point) const override {
    return browser_->cursorForPosition(browser_->viewport()->mapFromGlobal(point)).position();
  }
  void scrollToSubstring(int start, int end) override {
    setSelection(0, start, end);
    browser_->ensureCursorVisible();
  }
  QString attributes(int offset, int* start, int* end) const override {
    *start = *end = offset;
    return {};
  }
  using QAccessibleWidget::text;

 private:
  // The parts are read lazily, also from the const members Qt calls.
  GuideDocumentAccessible& Self() const { return const_cast<GuideDocumentAccessible&>(*this); }
  int Clamp(int position) const { return qBound(0, position, characterCount()); }

  void Forget() {
    for (const auto& [index, id] : ids_) QAccessible::deleteAccessibleInterface(id);
    ids_.clear();
  }

  GuideBrowser* browser_;
  std::vector<Part> parts_;
  int revision_ = -1;
  std::map<int, QAccessible::Id> ids_;
};

bool GuidePartAccessible::isValid() const { return revision_ == document_->revision(); }

QWindow* GuidePartAccessible::window() const { return document_->window(); }

const Part* GuidePartAccessible::part() const {
  if (!isValid()) return nullptr;
  const std::vector<Part>& parts = document_->Parts();
  return index_ < static_cast<int>(parts.size()) ? &parts[static_cast<std::size_t>(index_)]
                                                 : nullptr;
}

QAccessibleInterface* GuidePartAccessible::parent() const {
  const Part* self = part();
  if (self != nullptr && self->parent >= 0) return document_->PartInterface(self->parent);
  return document_;
}

QAccessibleInterface* GuidePartAccessible::child(int index) const {
  const Part* self = part();
  if (self == nullptr || index < 0 || index >= static_cast<int>(self->links.size())) return nullptr;
  return document_->PartInterface(self->links[static_cast<std::size_t>(index)]);
}

int GuidePartAccessible::childCount() const {
  const Part* self = part();
  return self == nullptr ? 0 : static_cast<int>(self->links.size());
}

int GuidePartAccessible::indexOfChild(const QAccessibleInterface* child) const {
  const Part* self = part();
  const auto* link = dynamic_cast<const GuidePartAccessible*>(child);
  if (self == nullptr || link == nullptr) return -1;
  const auto found = std::find(self->links.begin(), self->links.end(), link->index());
  return found == self->links.end() ? -1 : static_cast<int>(found - self->links.begin());
}

QString GuidePartAccessible::text(QAccessible::Text t) const {
  const Part* self = part();
  if (self == nullptr) return {};
  if (t == QAccessible::Name) return self->text;
  if (t == QAccessible::Value && self->role == QAccessible::Link) return self->href;
  return {};
}

QRect GuidePartAccessible::rect() const {
  const Part* self = part();
  return self == nullptr ? QRect() : document_->PartRect(*self);
}

QAccessible::Role GuidePartAccessible::role() const {
  const Part* self = part();
  return self == nullptr ? QAccessible::NoRole : self->role;
}

QAccessible::State GuidePartAccessible::state() const {
  QAccessible::State state;
  const Part* self = part();
  if (self == nullptr) {
    state.invalid = true;
    return state;
  }
  state.readOnly = true;
  const QRect shown(document_->browser()->viewport()->mapToGlobal(QPoint(0, 0)),
                    document_->browser()->viewport()->size());
  state.offscreen = !shown.intersects(rect());
  if (self->role == QAccessible::Link) {
    state.focusable = true;
    state.linked = true;
    state.focused = document_->browser()->hasFocus() && document_->FocusedLink() == index_;
  }
  return state;
}

void GuidePartAccessible::doAction(const QString& action) {
  const Part* self = part();
  if (self == nullptr || self->role != QAccessible::Link) return;
  const Part link = *self;  // following it replaces the page and its parts
  if (action == setFocusAction()) document_->Focus(link);
  if (action == pressAction()) document_->Follow(link);
}

QAccessibleInterface* GuideFactory(const QString& key, QObject* object) {
  if (key == QLatin1String("tavrin::GuideBrowser")) {
    if (auto* browser = qobject_cast<GuideBrowser*>(object)) {
      return new GuideDocumentAccessible(browser);
    }
  }
  return nullptr;
}

GuideDocumentAccessible* DocumentOf(GuideBrowser* browser) {
  return dynamic_cast<GuideDocumentAccessible*>(QAccessible::queryAccessibleInterface(browser));
}

}  // namespace

void InstallGuideAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(GuideFactory);
    return true;
  }();
  (void)installed;
}

void NotifyDocumentShown(GuideBrowser* browser) {
  QAccessibleEvent name(browser, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&name);
  QAccessibleEvent reorder(browser, QAccessible::ObjectReorder);
  QAccessible::updateAccessibility(&reorder);
}

void NotifyLinkFocused(GuideBrowser* browser) {
  GuideDocumentAccessible* document = DocumentOf(browser);
  if (document == nullptr) return;
  QAccessibleInterface* link = document->PartInterface(document->FocusedLink());
  if (link == nullptr) return;
  QAccessibleEvent focus(link, QAccessible::Focus);
  QAccessible::updateAccessibility(&focus);
}

}  // namespace tavrin
