// The application object: single instance, the document, the main frame and the main view.
#pragma once

#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "document/FileDialogs.h"
#include "document/ProfileStore.h"
#include "model/Clock.h"
#include "model/Messages.h"

namespace tavrin {

class ActivationKeeper;
class CMainFrame;
class CTavrinDoc;
class CTavrinView;
class SingleInstance;

// What the program talks to outside itself. Left empty, the desktop's own are used (QSettings,
// message boxes, file dialogs, the system clock); tests put fakes in.
struct AppServices {
  ProfileStore* profile = nullptr;
  MessageSink* messages = nullptr;
  FileDialogs* dialogs = nullptr;
  const Clock* clock = nullptr;
  // Where the shipped holiday file and "Tavrin.ini" are copied from into a data folder that lacks
  // them; none in tests, whose data folders hold what each test puts there.
  std::vector<std::string> shippedData{};
};

class CTavrinApp {
 public:
  explicit CTavrinApp(AppServices services = {});
  ~CTavrinApp();
  CTavrinApp(const CTavrinApp&) = delete;
  CTavrinApp& operator=(const CTavrinApp&) = delete;

  // False when another copy already runs: it gets the file (if any) to open and comes to the
  // front, and the caller ends. `arguments` are those after the program name and its options:
  // none makes a new document, a path opens that settings file.
  bool InitInstance(const QStringList& arguments);

  CMainFrame* frame() const { return frame_.get(); }
  CTavrinView* view() const { return view_; }
  CTavrinDoc* doc() const { return doc_.get(); }

  // Registers the pictures and makes "MS UI Gothic", the dialogs' font, resolve to the installed
  // Japanese Gothic face. Call once after the QApplication exists.
  static void InstallResources();
  // Qt's Japanese texts for its own dialogs; false when they are not installed
  // (qt6-translations-l10n), which leaves those dialogs in English.
  static bool InstallJapaneseTranslations();

 private:
  AppServices services_;
  std::unique_ptr<ProfileStore> ownProfile_;
  std::unique_ptr<MessageSink> ownMessages_;
  std::unique_ptr<FileDialogs> ownDialogs_;
  std::unique_ptr<Clock> ownClock_;
  std::unique_ptr<SingleInstance> instance_;
  std::unique_ptr<ActivationKeeper> activation_;
  std::unique_ptr<CTavrinDoc> doc_;
  std::unique_ptr<CMainFrame> frame_;
  CTavrinView* view_ = nullptr;  // owned by the frame
};

}  // namespace tavrin
