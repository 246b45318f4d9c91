// The modal editor window: one page, OK and "キャンセル". It opens where it was last closed and
// takes every Alt+letter key for its page before the page's controls (the grid keeps the focus,
// so the row commands would otherwise never arrive).
#pragma once

#include <QDialog>
#include <QPointer>
#include <memory>

#include "editors/OpenedState.h"
#include "model/Messages.h"
#include "model/ScheduleModel.h"

class QTabWidget;

namespace tavrin {

class EditorPage;

// What the sheet's Cancel weighs before it lets the page's work go, and where it asks.
struct SheetWork {
  const ScheduleModel& model;
  const ProgramNameTable& names;
  MessageSink& messages;
  const char* caption;  // of the question: the editor's name
};

class CProgSheet : public QDialog {
  Q_OBJECT

 public:
  explicit CProgSheet(QWidget* parent = nullptr);
  ~CProgSheet() override;

  // Shows `page` as the only page, taking the previous one out (the caller owns pages).
  void SetPage(EditorPage* page, const QString& caption);
  EditorPage* Page() const { return page_; }
  // Runs modally with the top-left corner at (x, y), which receive the corner at closing.
  // True for OK (the page accepted), false for Cancel or the close box. The page is filled
  // already: what `work` holds now is what Cancel compares with.
  bool Run(int& x, int& y, const SheetWork& work);

  void accept() override;
  // Escape, "キャンセル" and the close box: asks first when the page's work would be lost.
  void reject() override;

 signals:
  // The main window repaints its logo whenever an editor window moves.
  void Moved();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  bool OwnsKeyEvent(QObject* watched, QEvent* event) const;

  QTabWidget* tabs_;
  QPointer<EditorPage> page_;
  // Only while Run runs.
  const SheetWork* work_ = nullptr;
  std::unique_ptr<OpenedState> opened_;
};

}  // namespace tavrin
