#include "platform/UpDownControl.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace tavrin {

UpDownControl::UpDownControl(QLineEdit* buddy, QWidget* parent) : QWidget(parent), buddy_(buddy) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  for (auto [arrow, delta] : {std::pair{Qt::UpArrow, 1}, std::pair{Qt::DownArrow, -1}}) {
    auto* button = new QToolButton(this);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(16, buddy->sizeHint().height() / 2);
    arrows_.push_back(button);
    connect(button, &QToolButton::clicked, this, [this, delta = delta] { Step(delta); });
    layout->addWidget(button);
  }
  // As with the original's arrow-key style, Up and Down in the edit box step it as well.
  buddy_->installEventFilter(this);
}

void UpDownControl::NameArrows(const QString& field) {
  arrows_[0]->setAccessibleName(field + "を増やす");
  arrows_[1]->setAccessibleName(field + "を減らす");
}

void UpDownControl::SetRange(int low, int high) {
  low_ = low;
  high_ = high;
}

void UpDownControl::Step(int delta) {
  const int value = buddy_->text().toInt();
  const int stepped = std::clamp(value + delta, low_, high_);
  if (stepped != value) buddy_->setText(QString::number(stepped));
}

bool UpDownControl::eventFilter(QObject* watched, QEvent* event) {
  if (watched == buddy_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      Step(key == Qt::Key_Up ? 1 : -1);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace tavrin
