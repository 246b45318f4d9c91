// A page of the editor sheet. Each editor is one page; the sheet shows exactly one at a time and
// only talks to it through this interface.
#pragma once

#include <QString>
#include <QWidget>
#include <string>
#include <vector>

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

  // What the page shows that OK would store and the model does not hold yet, as texts (cells with
  // an open edit, check boxes, fields); none for a page that writes the model directly.
  virtual std::vector<std::string> ScreenTexts() const { return {}; }
  // The texts as the page last filled itself from the model; Cancel compares them with the above.
  const std::vector<std::string>& FilledTexts() const { return filled_; }

 protected:
  // A page calls this each time it has filled itself from the model.
  void MarkFilled() { filled_ = ScreenTexts(); }

 private:
  std::vector<std::string> filled_;
};

}  // namespace tavrin
