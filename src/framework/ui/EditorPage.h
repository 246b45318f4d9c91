// A page of the editor sheet. Each editor is one page; the sheet shows exactly one at a time and
// only talks to it through this interface.
#pragma once

#include <QString>
#include <QWidget>

namespace tavrin {

class EditorPage : public QWidget {
  Q_OBJECT

 public:
  using QWidget::QWidget;

  // The caption of the page's own tab.
  virtual QString TabTitle() const = 0;
  // Fills the page from the working model each time the sheet opens with it. The model is
  // already backed up, so filling may tidy it.
  virtual void Initialise() = 0;
  // OK on the sheet: validate, then store into the working model. False keeps the sheet open;
  // the page has then shown its message and put the cursor on the fault.
  virtual bool Apply() = 0;
  // An Alt+letter key (Qt::Key_A..Qt::Key_Z), taken before the focused control sees it. True
  // when the page has a command for it.
  virtual bool AltKey(int key) {
    (void)key;
    return false;
  }
};

}  // namespace tavrin
