// Message boxes of the desktop program: a QMessageBox with the caption, icon and buttons asked for.
#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include "model/Messages.h"

namespace tavrin {

class QtMessageSink : public MessageSink {
 public:
  // Boxes are centred on `parent` (the main window) when it is given.
  explicit QtMessageSink(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }

  MsgAnswer Show(const std::string& text, const std::string& caption, MsgButtons buttons,
                 MsgIcon icon) override;

  // The width a box needs for its whole caption to show in its title bar.
  static int CaptionWidth(const QWidget& box);

 private:
  static void WidenForCaption(QMessageBox& box);

  QPointer<QWidget> parent_;
};

}  // namespace tavrin
