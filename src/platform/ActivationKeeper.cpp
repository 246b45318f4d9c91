#include "platform/ActivationKeeper.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace tavrin {

ActivationKeeper::ActivationKeeper(QObject* parent) : QObject(parent) {
  qApp->installEventFilter(this);
}

ActivationKeeper::~ActivationKeeper() { qApp->removeEventFilter(this); }

bool ActivationKeeper::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Hide || !watched->isWidgetType()) return false;
  auto* window = static_cast<QWidget*>(watched);
  // Lists and tips hand the keyboard back themselves. A window that did not have the keyboard
  // has none to hand on: the user is working in another program, or elsewhere in this one.
  // (Platforms differ in which of the two they have cleared by now.)
  const bool hadKeyboard = QApplication::activeWindow() == window ||
                           (window->windowHandle() != nullptr &&
                            QGuiApplication::focusWindow() == window->windowHandle());
  if (!window->isWindow() || window->windowType() == Qt::Popup ||
      window->windowType() == Qt::ToolTip || !hadKeyboard)
    return false;
  // Taken now: a dialog run on the stack is gone by the time the closing is through.
  QPointer<QWidget> below = window->parentWidget() ? window->parentWidget()->window() : nullptr;
  QTimer::singleShot(0, this, [below] {
    // A window manager may have handed the keyboard on meanwhile.
    const QWidget* active = QApplication::activeWindow();
    if (active != nullptr && active->isVisible()) return;
    QWidget* target = QApplication::activeModalWidget();
    if (target == nullptr) target = below;
    if (target != nullptr && target->isVisible()) target->activateWindow();
  });
  return false;
}

}  // namespace tavrin
