// The standard open and save dialogs over QFileDialog, with Japanese labels.
#pragma once

#include <QPointer>
#include <QWidget>

#include "document/FileDialogs.h"

namespace tavrin {

class QtFileDialogs : public FileDialogs {
 public:
  explicit QtFileDialogs(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  std::optional<std::string> Run(const FileDialogRequest& request) override;

 private:
  QPointer<QWidget> parent_;
};

// "description |*.EXT|" as a Qt name filter that also matches the lower-case extension.
QString ToQtNameFilter(const std::string& filter);

}  // namespace tavrin
