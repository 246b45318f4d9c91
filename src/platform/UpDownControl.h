// The up-down control of the original dialogs: two arrow buttons beside a read-only edit box (its
// buddy) that step the number in it within a range. Only the buddy's text changes; whoever owns
// the buddy reacts to that, as to any change of the edit box.
#pragma once

#include <QWidget>
#include <vector>

class QLineEdit;
class QToolButton;

namespace tavrin {

class UpDownControl : public QWidget {
  Q_OBJECT

 public:
  UpDownControl(QLineEdit* buddy, QWidget* parent = nullptr);

  void SetRange(int low, int high);
  // Names the arrows for a screen reader after the field they step ("年を増やす", "年を減らす").
  void NameArrows(const QString& field);
  // One step up (+1) or down (-1), stopping at the ends of the range.
  void Step(int delta);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLineEdit* buddy_;
  std::vector<QToolButton*> arrows_;  // up, down
  int low_ = 0;
  int high_ = 100;
};

}  // namespace tavrin
