// The main frame: a fixed 800 x 500 window with the menu, the toolbar and the logo around the form.
#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QMap>
#include <functional>
#include <optional>

class QToolBar;

namespace tavrin {

class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  // `position` is the stored top-left corner, already checked.
  explicit CMainFrame(QPoint position, QWidget* parent = nullptr);

  // The menu or toolbar action of a command identifier (nullptr for an unknown one).
  QAction* action(int id) const { return actions_.value(id, nullptr); }
  QToolBar* toolBar() const { return toolBar_; }
  QLabel* logo() const { return logo_; }

  // Decides whether the close box may close the window. It gets the top-left corner to store, or
  // nothing when the window is minimised. Without a handler the window closes.
  void SetCloseHandler(std::function<bool(std::optional<QPoint>)> handler) {
    closeHandler_ = std::move(handler);
  }

  // Out of the task bar and in front, for a second start of the program. A modal dialog open
  // on top comes along, so the user sees what waits for an answer.
  void BringToFront();

 signals:
  void commandTriggered(int id);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool event(QEvent* event) override;

 private:
  QAction* AddCommand(QWidget* owner, int id, const QString& text,
                      const QList<QKeySequence>& keys = {});
  void BuildMenus();
  void BuildToolBar();
  void PlaceLogo();

  QMap<int, QAction*> actions_;
  QToolBar* toolBar_ = nullptr;
  QLabel* logo_ = nullptr;
  std::function<bool(std::optional<QPoint>)> closeHandler_;
};

}  // namespace tavrin
