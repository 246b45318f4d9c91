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
  // Escape closes the sheet when it comes up, not when it goes down. A tool that sends its keys
  // to a window (xdotool key --window, as automation and assistive tools do) presses the key
  // through the X server while the window has the keyboard and sends the release by another
  // route once the window has lost it: a sheet closed on the press left the server holding
  // Escape down and repeating it into the main window, which then closed every sheet it opened.
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  bool OwnsKeyEvent(QObject* watched, QEvent* event) const;

  QTabWidget* tabs_;
  QPointer<EditorPage> page_;
  // Only while Run runs.
  const SheetWork* work_ = nullptr;
  std::unique_ptr<OpenedState> opened_;
  // Escape went down in this sheet: the release of one pressed elsewhere (on a question box
  // over it, on a cell's editor) closes nothing.
  bool escapeDown_ = false;
};

}  // namespace tavrin
