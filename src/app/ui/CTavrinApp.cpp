#include "app/ui/CTavrinApp.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include "app/MainFormLayout.h"
#include "app/RegistrySettings.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/CTavrinView.h"
#include "document/DataFolder.h"
#include "document/TavrinDoc.h"
#include "platform/ActivationKeeper.h"
#include "platform/QtFileDialogs.h"
#include "platform/QtMessageSink.h"
#include "platform/QtProfileStore.h"
#include "platform/SingleInstance.h"
#include "platform/UiFonts.h"

// The pictures live in the static UI library, whose resources are not registered on their own.
static void InitResources() { Q_INIT_RESOURCE(tavrin); }

namespace tavrin {

CTavrinApp::CTavrinApp(AppServices services) : services_(services) {}

CTavrinApp::~CTavrinApp() = default;

void CTavrinApp::InstallResources() {
  InitResources();
  // The original's 9-point dialog font is 12 pixels high.
  QApplication::setFont(UiGothicFont(12));
  // The desktop entry and its icon; window managers and task bars match the window to them.
  QGuiApplication::setDesktopFileName(QStringLiteral("jp.korva.Tavrin"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/tavrin.png")));
  InstallJapaneseTranslations();
}

bool CTavrinApp::InstallJapaneseTranslations() {
  // The program speaks Japanese whatever the user's locale: Qt's own dialogs (files, printing,
  // colours, standard buttons) must too, and dates and numbers in them follow.
  const QLocale japanese(QLocale::Japanese, QLocale::Japan);
  QLocale::setDefault(japanese);
  auto* translator = new QTranslator(qApp);
  if (!translator->load(japanese, QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

bool CTavrinApp::InitInstance(const QStringList& arguments) {
  instance_ = std::make_unique<SingleInstance>();
  if (!instance_->acquired()) {
    // The user asked for the program: show them the copy that runs, with their file open there.
    // Its path goes absolute: the running copy has a working folder of its own.
    std::optional<QString> file;
    if (!arguments.isEmpty()) file = QFileInfo(arguments.first()).absoluteFilePath();
    if (!instance_->HandOver(file) && file) {
      qWarning("tavrin: the running copy did not answer; %s was not opened", qPrintable(*file));
    }
    return false;
  }

  if (services_.profile == nullptr) {
    ownProfile_ = std::make_unique<QtProfileStore>();
    services_.profile = ownProfile_.get();
  }
  QtMessageSink* qtMessages = nullptr;
  if (services_.messages == nullptr) {
    ownMessages_ = std::make_unique<QtMessageSink>();
    qtMessages = static_cast<QtMessageSink*>(ownMessages_.get());
    services_.messages = qtMessages;
  }
  QtFileDialogs* qtDialogs = nullptr;
  if (services_.dialogs == nullptr) {
    ownDialogs_ = std::make_unique<QtFileDialogs>();
    qtDialogs = static_cast<QtFileDialogs*>(ownDialogs_.get());
    services_.dialogs = qtDialogs;
  }
  if (services_.clock == nullptr) {
    ownClock_ = std::make_unique<SystemClock>();
    services_.clock = ownClock_.get();
  }

  // Before the view reads them: a first start in this data folder gets the shipped files.
  if (std::optional<std::string> folder = PrepareDataFolder()) {
    Result<std::vector<std::string>> seeded = SeedDataFolder(*folder, services_.shippedData);
    if (!seeded) qWarning("%s", seeded.message().c_str());
  }
  doc_ = std::make_unique<CTavrinDoc>(*services_.profile, *services_.messages, *services_.dialogs);

  RegistrySettings stored;
  ReadRegistrySettings(*services_.profile, stored);
  const WindowPos main = stored.window(WindowSlot::Main);
  const Point position = MainWindowPosition(main.x, main.y);
  frame_ = std::make_unique<CMainFrame>(QPoint(position.x, position.y));
  if (qtMessages != nullptr) qtMessages->SetParent(frame_.get());
  if (qtDialogs != nullptr) qtDialogs->SetParent(frame_.get());

  view_ =
      new CTavrinView(*frame_, *doc_, *services_.profile, *services_.messages, *services_.clock);
  view_->InitializeView();
  // A file that cannot be read leaves a new document (its message has been shown); the program
  // still starts, so the user can open another one.
  if (!arguments.isEmpty()) doc_->OpenByPath(arguments.first().toStdString());

  view_->SetShippedData(services_.shippedData);
  instance_->Listen([frame = frame_.get(), view = view_](const std::optional<QString>& file) {
    frame->BringToFront();
    if (file) view->OpenHandedOver(file->toStdString());
  });
  activation_ = std::make_unique<ActivationKeeper>();
  frame_->show();
  // Asked once the window is up, so that the question stands in front of it.
  if (!arguments.isEmpty()) QTimer::singleShot(0, view_, [view = view_] { view->OfferNextYear(); });
  return true;
}

}  // namespace tavrin
