#include "app/ui/CMainFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QToolBar>

#include "app/DocumentHistory.h"
#include "app/MainFormLayout.h"
#include "app/NextYearCommand.h"
#include "app/ui/CommandIds.h"
#include "platform/ControlNames.h"

namespace tavrin {

CMainFrame::CMainFrame(QPoint position, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint) {
  setWindowTitle(QStringLiteral("Tavrin"));
  setWindowIcon(QIcon(QStringLiteral(":/pictures/tavrin.png")));
  setFixedSize(kMainWidth, kMainHeight);
  move(position);
  BuildMenus();
  BuildToolBar();
  logo_ = new QLabel(this);
  logo_->setObjectName(QLatin1String(kLogoName));
  logo_->setPixmap(QPixmap(QStringLiteral(":/pictures/logo.png")));
  logo_->adjustSize();
  PlaceLogo();
}

bool CMainFrame::event(QEvent* event) {
  // The focus mark shows from the start, not only after the first Tab: a keyboard user has to see
  // where the keys go. Qt clears the flag whenever the window gets the keyboard by other means.
  if (event->type() == QEvent::Show || event->type() == QEvent::WindowActivate)
    setAttribute(Qt::WA_KeyboardFocusChange);
  return QMainWindow::event(event);
}

void CMainFrame::BringToFront() {
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
  if (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr && modal != this) {
    modal->raise();
    modal->activateWindow();
  }
}

QAction* CMainFrame::AddCommand(QWidget* owner, int id, const QString& text,
                                const QList<QKeySequence>& keys) {
  auto* action = new QAction(text, this);
  action->setData(id);
  // The main window's own shortcuts: the editor sheet and the dialogs are windows of their own,
  // so they keep these keys for their fields and grids.
  action->setShortcutContext(Qt::WindowShortcut);
  action->setShortcuts(keys);
  owner->addAction(action);
  connect(action, &QAction::triggered, this, [this, id] { emit commandTriggered(id); });
  actions_.insert(id, action);
  return action;
}

void CMainFrame::BuildMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
  AddCommand(file, ID_FILE_NEW, QStringLiteral("新規作成(&N)\tCtrl+N"), {Qt::CTRL | Qt::Key_N});
  AddCommand(file, ID_FILE_OPEN, QStringLiteral("開く(&O)...\tCtrl+O"), {Qt::CTRL | Qt::Key_O});
  AddCommand(file, ID_FILE_SAVE, QStringLiteral("上書き保存(&S)\tCtrl+S"), {Qt::CTRL | Qt::Key_S});
  AddCommand(file, ID_FILE_SAVE_AS, QStringLiteral("名前を付けて保存(&A)..."));
  file->addSeparator();
  AddCommand(file, ID_FILE_EXPORT, QStringLiteral("エクスポート(&E)..."));
  AddCommand(file, ID_FILE_COMPARE, QStringLiteral("比較(&M)..."));
  file->addSeparator();
  AddCommand(file, ID_FILE_PRINT, QStringLiteral("印刷(&P)...\tCtrl+P"), {Qt::CTRL | Qt::Key_P});
  AddCommand(file, ID_FILE_PDF, QStringLiteral("PDFに保存(&D)..."));
  file->addSeparator();
  AddCommand(file, ID_APP_EXIT, QStringLiteral("アプリケーションの終了(&X)"));

  // The view names the steps in these items and greys them while there is nothing to take.
  QMenu* edit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
  AddCommand(edit, ID_EDIT_UNDO, QString::fromStdString(UndoMenuText("")),
             {Qt::CTRL | Qt::Key_Z, Qt::ALT | Qt::Key_Backspace});
  AddCommand(edit, ID_EDIT_REDO, QString::fromStdString(RedoMenuText("")),
             {Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z});
  edit->addSeparator();
  AddCommand(edit, ID_EDIT_NEXT_YEAR, QString::fromUtf8(kNextYearMenuText));

  QMenu* view = menuBar()->addMenu(QStringLiteral("表示(&V)"));
  AddCommand(view, ID_VIEW_AGENDA, QStringLiteral("予定表(&Y)..."));
  AddCommand(view, ID_VIEW_CHECK, QStringLiteral("スケジュールの確認(&K)..."));

  QMenu* link = menuBar()->addMenu(QStringLiteral("接続処理(&C)"));
  AddCommand(link, ID_USB_WRITE, QStringLiteral("USBメモリに書き込み(&W)..."));
  AddCommand(link, ID_USB_READ, QStringLiteral("USBメモリから読み込み(&R)..."));
  link->addSeparator();
  AddCommand(link, ID_CABLE_WRITE, QStringLiteral("ケーブル接続で書き込み(&T)..."));
  AddCommand(link, ID_CABLE_READ, QStringLiteral("ケーブル接続で読み込み(&D)..."));

  QMenu* help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
  // F1 itself opens the page about the window it is pressed in; the view's key filter takes it.
  AddCommand(help, ID_HELP_GUIDE, QStringLiteral("使い方(&U)\tF1"));
  help->addSeparator();
  AddCommand(help, ID_APP_ABOUT, QStringLiteral("バージョン情報(&A)..."));

  // The clipboard and pane commands have accelerators but no menu item, and no one handles them.
  AddCommand(this, ID_EDIT_CUT, QString(), {Qt::CTRL | Qt::Key_X, Qt::SHIFT | Qt::Key_Delete});
  AddCommand(this, ID_EDIT_COPY, QString(), {Qt::CTRL | Qt::Key_C, Qt::CTRL | Qt::Key_Insert});
  AddCommand(this, ID_EDIT_PASTE, QString(), {Qt::CTRL | Qt::Key_V, Qt::SHIFT | Qt::Key_Insert});
  AddCommand(this, ID_NEXT_PANE, QString(), {Qt::Key_F6});
  AddCommand(this, ID_PREV_PANE, QString(), {Qt::SHIFT | Qt::Key_F6});

  // F10 opens the menu bar at its first menu, as on other desktops, for users without a mouse.
  auto* openMenus = new QAction(this);
  openMenus->setShortcut(Qt::Key_F10);
  openMenus->setShortcutContext(Qt::WindowShortcut);
  addAction(openMenus);
  connect(openMenus, &QAction::triggered, this, [this] {
    if (!menuBar()->actions().isEmpty()) menuBar()->setActiveAction(menuBar()->actions().first());
  });
}

void CMainFrame::BuildToolBar() {
  toolBar_ = new QToolBar(QStringLiteral("標準"), this);
  toolBar_->setObjectName(QLatin1String(kToolbarName));
  toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
  toolBar_->setIconSize(QSize(24, 24));
  const struct {
    int id;
    const char* picture;
    QString tip;
  } buttons[] = {
      {ID_FILE_NEW, ":/pictures/toolbar-new.png", QStringLiteral("新規ファイル")},
      {ID_FILE_OPEN, ":/pictures/toolbar-open.png", QStringLiteral("開く")},
      {ID_FILE_SAVE, ":/pictures/toolbar-save.png", QStringLiteral("保存")},
  };
  for (const auto& button : buttons) {
    // The toolbar shares the menu's action, so both stay one command; the menu shows no tooltip.
    QAction* shared = action(button.id);
    shared->setIcon(QIcon(QLatin1String(button.picture)));
    shared->setToolTip(button.tip);
    shared->setIconVisibleInMenu(false);
    toolBar_->addAction(shared);
    QWidget* tool = toolBar_->widgetForAction(shared);
    tool->setFixedSize(70, 40);
    tool->setObjectName(ControlName(button.id));
  }
  addToolBar(Qt::TopToolBarArea, toolBar_);
}

void CMainFrame::PlaceLogo() {
  // The logo sits in the strip right of the toolbar buttons, 10 pixels below the menu.
  const int top = menuBar()->isVisible() ? menuBar()->height() : menuBar()->sizeHint().height();
  logo_->move(kLogoPosition.x, top + kLogoPosition.y);
  logo_->raise();
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  PlaceLogo();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (!closeHandler_) {
    event->accept();
    return;
  }
  std::optional<QPoint> position;
  if (!isMinimized()) position = pos();
  if (closeHandler_(position)) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace tavrin
