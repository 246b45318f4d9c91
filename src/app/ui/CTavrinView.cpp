#include "app/ui/CTavrinView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>
#include <QWindow>

#include "app/PrintCommands.h"
#include "app/ReviewCommands.h"
#include "app/TransferCommands.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/CommandIds.h"
#include "app/ui/GuideWindow.h"
#include "app/ui/OpenEditor.h"
#include "document/CsvExportCommand.h"
#include "document/DataFolder.h"
#include "document/FileProbe.h"
#include "export/ui/ReportPainter.h"
#include "framework/ui/CProgSheet.h"
#include "framework/ui/ControlIds.h"
#include "framework/ui/EditorPage.h"
#include "maintenance/SystemFacts.h"
#include "maintenance/ui/AboutDialog.h"
#include "maintenance/ui/SettingsDisplayDialog.h"
#include "maintenance/ui/SpecialMenuDialog.h"
#include "platform/ControlNames.h"
#include "platform/serial/CMSComm.h"
#include "platform/serial/QtWindowTimers.h"
#include "platform/serial/SystemPorts.h"
#include "review/ui/AgendaWindow.h"
#include "review/ui/CheckWindow.h"
#include "review/ui/CompareWindow.h"
#include "transfer/CableMessages.h"
#include "transfer/ui/CableTransferDialog.h"
#include "transfer/ui/SerialDiagnosticsDialog.h"
#include "transfer/ui/SerialSettingsDialog.h"
#include "transfer/ui/UsbDriveDialog.h"

namespace tavrin {
namespace {

struct ButtonFace {
  const char* text;
  const char* icon;
};
constexpr ButtonFace kButtonFaces[kEditorButtonCount] = {
    {"チャンネル設定", ":/pictures/channels.png"}, {"週間プログラム", ":/pictures/weekly.png"},
    {"年間プログラム", ":/pictures/annual.png"},   {"サマータイム", ":/pictures/summer.png"},
    {"ラジオ選局", ":/pictures/radio.png"},
};

QRect ToQRect(const Rect& rect) { return QRect(rect.x, rect.y, rect.width, rect.height); }

// The letter or digit of an Alt+key press as the special-menu sequence knows it; 0 for Alt
// alone, and a mark that matches nothing for every other key.
char AltKeyChar(int key) {
  if (key == Qt::Key_Alt) return 0;
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<char>('A' + (key - Qt::Key_A));
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<char>('0' + (key - Qt::Key_0));
  return '\x7f';
}

// The letters with which Alt opens the menu bar's menus, read off their texts.
std::string MenuKeys(QMenuBar& bar) {
  std::string keys;
  for (const QAction* menu : bar.actions()) {
    const QKeySequence mnemonic = QKeySequence::mnemonic(menu->text());
    if (!mnemonic.isEmpty()) keys += AltKeyChar(mnemonic[0].key());
  }
  return keys;
}

}  // namespace

CTavrinView::CTavrinView(CMainFrame& frame, CTavrinDoc& doc, ProfileStore& profile,
                         MessageSink& messages, const Clock& clock)
    : QWidget(&frame),
      frame_(frame),
      doc_(doc),
      profile_(profile),
      messages_(messages),
      clock_(clock),
      viewModel_(doc, clock),
      history_(doc, viewModel_),
      altKeys_(MenuKeys(*frame.menuBar())),
      cableDocument_(doc, viewModel_) {
  setObjectName(ControlName(ids::main::kFormView));
  auto* label = new QLabel(QStringLiteral("ファイル名："), this);
  label->setObjectName(QLatin1String(kFileNameLabelName));
  fileName_ = new QLineEdit(this);
  fileName_->setObjectName(ControlName(ids::main::kFileName));
  fileName_->setReadOnly(true);
  fileName_->setFocusPolicy(Qt::NoFocus);
  for (int i = 0; i < kEditorButtonCount; ++i) {
    // A tool button puts the picture above the text, as the big buttons show them.
    auto* button = new QToolButton(this);
    button->setText(QString::fromUtf8(kButtonFaces[i].text));
    button->setObjectName(ControlName(kButtonIds[i]));
    button->setIcon(QIcon(QLatin1String(kButtonFaces[i].icon)));
    button->setIconSize(QSize(100, 85));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    buttons_[i] = button;
    const auto kind = static_cast<EditorKind>(i + 1);
    connect(button, &QToolButton::clicked, this, [this, kind] { OpenEditor(kind); });
  }
  viewModel_.SetTitleObserver(this);
  history_.SetChangeObserver([this] { ShowHistory(); });
  ShowHistory();
  serial_ = std::make_unique<CMSComm>();
  tracedSerial_ = std::make_unique<TracingSerialControl>(*serial_, records_.Trace());
  timers_ = std::make_unique<QtWindowTimers>([this](LinkTimer id) { link_->OnTimer(id); });
  LinkObserver& observer = *this;
  link_ = std::make_unique<CableLink>(*tracedSerial_, *timers_, cableDocument_, observer,
                                      OpenSourceFile, [this] {
                                        RefreshPorts();
                                        return serial_->PortPaths();
                                      });
  connect(serial_.get(), &CMSComm::Comm, this, [this] { link_->OnComm(); });
  sheet_ = new CProgSheet(&frame_);
  frame_.setCentralWidget(this);
  frame_.SetCloseHandler([this](std::optional<QPoint> position) { return OnCloseFrame(position); });
  connect(&frame_, &CMainFrame::commandTriggered, this, &CTavrinView::OnCommand);
  qApp->installEventFilter(this);
}

CTavrinView::~CTavrinView() {
  qApp->removeEventFilter(this);
  viewModel_.SetTitleObserver(nullptr);
  // The link reports to this view while it closes; the windows it reports to go first.
  delete diagnostics_;
  diagnostics_ = nullptr;
  diagnosticsVisible_ = false;
  link_->CloseLink(true);
}

void CTavrinView::InitializeView() {
  clipboards_.Clear();
  ReadRegistrySettings(profile_, viewModel_.registry());
  ApplySerialSettings();
  viewModel_.TakeYearsFromClock();

  const bool folderReady = doc_.PrepareDataFolder();
  bool iniCut = false;
  int iniError = 0;
  settingsFileRead_ = folderReady && ReadSettingsIni(doc_.SettingsIniPath(),
                                                     viewModel_.iniSettings(), &iniCut, &iniError);
  const std::string iniProblem = SettingsIniProblemText(doc_.SettingsIniPath(), iniError);
  if (!settingsFileRead_) viewModel_.iniSettings() = IniSettings();
  BuildChimeLists(viewModel_.iniSettings());

  bool holidaysCut = false;
  holidayState_ =
      LoadHolidays(folderReady ? std::optional<std::string>(doc_.DataFolder()) : std::nullopt,
                   viewModel_.holidays(), &holidaysCut);
  std::vector<std::string> cutFiles;
  if (iniCut) cutFiles.push_back(doc_.SettingsIniPath());
  if (holidaysCut) cutFiles.push_back(doc_.DataFolder() + "/" + kHolidayFileName);
  const std::string holidayProblem = HolidayProblemText(holidayState_);
  if (!cutFiles.empty() || !holidayProblem.empty() || !iniProblem.empty()) {
    QTimer::singleShot(kHolidayReportDelayMs, this, [this, cutFiles, holidayProblem, iniProblem] {
      if (!iniProblem.empty())
        messages_.Show(iniProblem, kAppCaption, MsgButtons::Ok, MsgIcon::Exclamation);
      for (const std::string& path : cutFiles)
        messages_.Show(DataFileCutText(path), kAppCaption, MsgButtons::Ok, MsgIcon::Exclamation);
      if (!holidayProblem.empty())
        messages_.Show(holidayProblem, kHolidayCaption, MsgButtons::Ok, MsgIcon::Exclamation);
    });
  }

  ApplyLayout(LayOutMainForm(viewModel_.RadioModeOn()));
  // A button whose editor is not built yet stays visible but cannot be pressed.
  CalendarContext calendar = EditorCalendar();
  EditorContext context = EditorContextOf(calendar);
  for (int i = 0; i < kEditorButtonCount; ++i) {
    buttons_[i]->setEnabled(MakeEditorPage(static_cast<EditorKind>(i + 1), context) != nullptr);
  }
  viewModel_.RefreshFromDocument();
}

CalendarContext CTavrinView::EditorCalendar() {
  WindowPos& confirmAt = viewModel_.registry().window(WindowSlot::Year);
  return {viewModel_.years(),    viewModel_.currentMonth(),
          viewModel_.holidays(), viewModel_.calendars(),
          confirmAt.x,           confirmAt.y};
}

EditorContext CTavrinView::EditorContextOf(CalendarContext& calendar) {
  return {viewModel_.model(),
          viewModel_.names(),
          messages_,
          clipboards_,
          &calendar,
          &viewModel_.currentStation(),
          &viewModel_.iniSettings(),
          &viewModel_.registry().windows};
}

EditorOutcome CTavrinView::OpenEditor(EditorKind kind) {
  CalendarContext calendar = EditorCalendar();
  EditorContext context = EditorContextOf(calendar);
  WindowPos& position = viewModel_.registry().window(WindowSlot::Prog);
  SheetState state{position.x, position.y, viewModel_.fileState(),
                   QString::fromStdString(doc_.SettingsTitle())};
  const DocumentState before = history_.Current();
  const EditorOutcome outcome = tavrin::OpenEditor(*sheet_, kind, context, viewModel_, state);
  if (outcome != EditorOutcome::Cancelled) history_.RecordChange(EditorTitle(kind), before);
  return outcome;
}

void CTavrinView::ShowHistory() {
  const UndoHistory& history = history_.history();
  QAction* undo = frame_.action(ID_EDIT_UNDO);
  undo->setText(QString::fromStdString(UndoMenuText(history.UndoLabel())));
  undo->setEnabled(history.CanUndo());
  QAction* redo = frame_.action(ID_EDIT_REDO);
  redo->setText(QString::fromStdString(RedoMenuText(history.RedoLabel())));
  redo->setEnabled(history.CanRedo());
}

void CTavrinView::ApplyLayout(const MainFormLayout& layout) {
  findChild<QLabel*>(QLatin1String(kFileNameLabelName))->setGeometry(ToQRect(layout.fileNameLabel));
  fileName_->setGeometry(ToQRect(layout.fileNameField));
  for (int i = 0; i < kEditorButtonCount; ++i) buttons_[i]->setGeometry(ToQRect(layout.buttons[i]));
  buttons_[kEditorButtonCount - 1]->setVisible(layout.radioButtonVisible);
}

void CTavrinView::ShowTitle(const std::string& caption, const std::string& fileNameField) {
  frame_.setWindowTitle(QString::fromStdString(caption));
  fileName_->setText(QString::fromStdString(fileNameField));
}

void CTavrinView::OnCommand(int id) {
  switch (id) {
    case ID_FILE_NEW:
      doc_.NewCommand();
      break;
    case ID_FILE_OPEN:
      doc_.OpenCommand();
      break;
    case ID_FILE_SAVE:
      doc_.SaveCommand();
      break;
    case ID_FILE_SAVE_AS:
      doc_.SaveAsCommand();
      break;
    case ID_EDIT_UNDO:
      history_.Undo();
      break;
    case ID_EDIT_REDO:
      history_.Redo();
      break;
    case ID_FILE_COMPARE:
      ShowComparison();
      break;
    case ID_FILE_EXPORT: {
      WorkingScheduleReport report(viewModel_.Schedule());
      ExportCommand(doc_, report, clock_, SafeFileOpener());
      break;
    }
    case ID_FILE_PRINT:
      PrintCommand();
      break;
    case ID_FILE_PDF:
      PdfCommand();
      break;
    case ID_VIEW_AGENDA:
      ShowAgenda();
      break;
    case ID_VIEW_CHECK:
      ShowCheck();
      break;
    case ID_APP_EXIT:
      ExitCommand();
      break;
    case ID_APP_ABOUT:
      ShowAbout();
      break;
    case ID_HELP_GUIDE:
      ShowGuide();
      break;
    case ID_USB_WRITE:
      RunUsbCommand(UsbDirection::Write);
      break;
    case ID_USB_READ:
      RunUsbCommand(UsbDirection::Read);
      break;
    case ID_CABLE_WRITE:
      RunCableTransfer(TransferMode::Write);
      break;
    case ID_CABLE_READ:
      RunCableTransfer(TransferMode::Read);
      break;
    default:
      break;
  }
  // Whatever the command did to the document, its history agrees with the modified flag after it.
  history_.Settle();
}

void CTavrinView::ExitCommand() {
  if (doc_.SaveModifiedPrompt() == MsgAnswer::Cancel) return;
  CleanUpView();
  QCoreApplication::exit(0);
}

bool CTavrinView::OnCloseFrame(std::optional<QPoint> position) {
  if (doc_.SaveModifiedPrompt() == MsgAnswer::Cancel) return false;
  if (position) viewModel_.registry().window(WindowSlot::Main) = {position->x(), position->y()};
  CleanUpView();
  return true;
}

void CTavrinView::CleanUpView() {
  if (cleanedUp_) return;
  cleanedUp_ = true;
  if (diagnostics_ != nullptr) diagnostics_->close();  // stores its position
  WriteRegistrySettings(profile_, viewModel_.registry());
  link_->CloseSourceFile();
}

void CTavrinView::PrintCommand() {
  QPrinter printer(QPrinter::HighResolution);
  SetUpReportPrinter(printer, QString::fromStdString(viewModel_.fileNameField()));
  printer.setOutputFileName(QString::fromStdString(PrintToFilePath(doc_)));
  // The name only fills the dialog's "print to file"; a printer, when there is one, stays the
  // first choice.
  printer.setOutputFormat(QPrinter::NativeFormat);
  QPrintDialog dialog(&printer, &frame_);
  if (dialog.exec() != QDialog::Accepted) return;
  if (!PrintReport(printer)) {
    messages_.Show(kPrintFailed, kPrintCaption, MsgButtons::Ok, MsgIcon::Exclamation);
  }
}

void CTavrinView::PdfCommand() {
  const std::optional<std::string> path = doc_.dialogs().Run(PdfSaveRequest(doc_));
  if (!path) return;
  if (Result<> own = CheckOutputIsNoInput(*path, doc_.FilesRead(), Language::kJapanese); !own) {
    messages_.Show(own.message(), kPdfCaption, MsgButtons::Ok, MsgIcon::Exclamation);
    return;
  }
  QPrinter printer(QPrinter::HighResolution);
  SetUpReportPrinter(printer, QString::fromStdString(viewModel_.fileNameField()));
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(*path));
  if (PrintReport(printer)) {
    messages_.Show(PdfWrittenText(*path), kPdfCaption, MsgButtons::Ok, MsgIcon::Information);
  } else {
    messages_.Show(PdfWriteFailedText(*path), kPdfCaption, MsgButtons::Ok, MsgIcon::Exclamation);
  }
}

bool CTavrinView::PrintReport(QPrinter& printer) {
  const PageHeader header = HeaderOfView(viewModel_, clock_);
  const ReportPainter painter(ReportOfView(viewModel_, agendaFrom_.value_or(Today(clock_))),
                              QString::fromStdString(header.fileName),
                              QString::fromStdString(header.printedOn), printer.resolution());
  return painter.PaintAll(printer);
}

void CTavrinView::ShowAgenda() {
  const std::unique_ptr<PackedSchedule> packed = viewModel_.PackedCopy();
  AgendaWindow agenda(packed->image, viewModel_.names(), viewModel_.iniSettings(),
                      agendaFrom_.value_or(Today(clock_)), &frame_);
  connect(&agenda, &AgendaWindow::saveCalendarRequested, this, [this, &agenda, &packed] {
    SaveAgendaCalendarCommand(viewModel_, packed->image, agenda.firstDay(), clock_);
  });
  agenda.exec();
  agendaFrom_ = agenda.firstDay();
}

void CTavrinView::ShowComparison() {
  const std::optional<Comparison> comparison = CompareCommand(viewModel_);
  if (!comparison) return;
  CompareWindow window(comparison->heading, comparison->differences, &frame_);
  window.exec();
}

void CTavrinView::ShowCheck() {
  CheckWindow check(viewModel_.CheckWorkingSchedule(), &frame_);
  check.exec();
}

bool CTavrinView::WriteDespiteErrors(const std::vector<Finding>& findings) {
  return ConfirmWriteDespiteErrors(&frame_, findings);
}

void CTavrinView::ShowAbout() {
  AboutDialog about(QString::fromStdString(AboutProgramText()),
                    QString::fromStdString(AboutHolidayText(
                        holidayState_ == HolidayLoadState::Loaded, viewModel_.holidays())),
                    &frame_);
  about.exec();
}

void CTavrinView::ShowGuide() {
  if (guide_ == nullptr) {
    const std::optional<std::string> path = FindGuide(shippedData_);
    const std::optional<UserGuide> guide = path ? LoadGuide(*path) : std::nullopt;
    if (!guide) {
      messages_.Show(FormatMessage(kGuideMissing, path.value_or(kGuideRelativePath)), kAppCaption,
                     MsgButtons::Ok, MsgIcon::Exclamation);
      return;
    }
    guide_ = new GuideWindow(*guide, &frame_);
  }
  guide_->show();
  guide_->raise();
  guide_->activateWindow();
}

void CTavrinView::OpenHandedOver(const std::string& path) {
  handedOver_ = path;  // a later hand-over replaces one still waiting
  OpenHandedOverWhenFree();
}

void CTavrinView::OpenHandedOverWhenFree() {
  if (!handedOver_ || cleanedUp_) return;
  if (QApplication::activeModalWidget() != nullptr) {
    if (handOverWait_ == nullptr) {
      handOverWait_ = new QTimer(this);
      handOverWait_->setSingleShot(true);
      handOverWait_->setInterval(200);
      connect(handOverWait_, &QTimer::timeout, this, [this] { OpenHandedOverWhenFree(); });
    }
    handOverWait_->start();
    return;
  }
  const std::string path = *handedOver_;
  handedOver_.reset();
  doc_.OpenByPath(path);
}

void CTavrinView::ShowSpecialMenu() {
  SpecialMenuDialog menu(*this, messages_, &frame_);
  specialMenu_ = &menu;
  menu.winId();  // the menu's window exists now, so a serial window already open can join it
  KeepSerialWindowAbove(&menu);
  menu.exec();
  specialMenu_ = nullptr;
  KeepSerialWindowAbove(&frame_);
}

// A modal window blocks every window but those it owns. The serial window belongs to the special
// menu or the cable dialog while one is open, so that it answers beside it (a transfer is watched
// there), and to the main window again afterwards, above which it stays.
void CTavrinView::KeepSerialWindowAbove(QWidget* owner) {
  if (diagnostics_ == nullptr || diagnostics_->windowHandle() == nullptr) return;
  diagnostics_->windowHandle()->setTransientParent(owner->windowHandle());
}

MaintenanceFacts CTavrinView::Facts() const {
  MaintenanceFacts facts;
  // A document that has no folder yet uses the one its file dialogs open in: that is the folder
  // its data go to, not an empty text.
  facts.settingsFolder = doc_.InitialFolder();
  facts.userName = CurrentUserName();
  facts.currentDirectory = doc_.CurrentDirectory();
  facts.fileVersion = FileVersionText(doc_.image(), doc_.IsUntitled());
  facts.executablePath = QCoreApplication::applicationFilePath().toStdString();
  facts.csvFolder = doc_.csv.folder;
  facts.namePath = doc_.paths().namePath;
  facts.osMajorVersion = doc_.OsMajorVersion();
  facts.osName = OperatingSystemName();
  facts.kernelRelease = KernelRelease();
  return facts;
}

void CTavrinView::ResetRegistry() {
  ResetRegistrySettings(profile_, viewModel_.registry());
  doc_.ClearFolderSettings();
}

void CTavrinView::ApplySerialSettings() {
  const SerialParameters& serial = viewModel_.registry().serial;
  link_->SetPort(serial.portNumber);
  link_->SetSerialParameters(serial);
}

void CTavrinView::RefreshPorts() { serial_->SetPortPaths(SystemPortPaths()); }

void CTavrinView::OpenSerialSettings() {
  SerialParameters& serial = viewModel_.registry().serial;
  SerialSettingsDialog dialog(serial.portIndex, serial.speedIndex, diagnostics_);
  if (dialog.exec() != QDialog::Accepted) return;
  serial.portIndex = dialog.portIndex();
  serial.speedIndex = dialog.speedIndex();
  ApplySerialIndexes(serial);
  ApplySerialSettings();  // takes effect at the next OpenLink
}

void CTavrinView::ShowSerialDiagnostics() {
  if (diagnostics_ == nullptr) {
    diagnostics_ = new SerialDiagnosticsDialog(
        *link_, [this] { OpenSerialSettings(); }, &frame_);
    connect(diagnostics_, &SerialDiagnosticsDialog::Closed, this, [this](QPoint position) {
      viewModel_.registry().window(WindowSlot::Serial) = {position.x(), position.y()};
      diagnosticsVisible_ = false;
    });
    link_->ClearDiagnostics();
  }
  const WindowPos position = viewModel_.registry().window(WindowSlot::Serial);
  diagnostics_->ShowAt(position.x, position.y);
  if (specialMenu_ != nullptr) KeepSerialWindowAbove(specialMenu_);
  diagnosticsVisible_ = true;
  diagnostics_->ShowDiagnostics(link_->Diagnostics());
  diagnostics_->ShowLine();
}

void CTavrinView::ReportProgress(Progress kind, const std::string& text) {
  if (cableDialog_ != nullptr) cableDialog_->observer().ReportProgress(kind, text);
}

void CTavrinView::ConnectionChanged() {
  if (cableDialog_ != nullptr) cableDialog_->observer().ConnectionChanged();
  if (diagnosticsVisible_) diagnostics_->ShowLine();
}

void CTavrinView::DiagnosticsChanged(const LinkDiagnostics& diagnostics) {
  if (cableDialog_ != nullptr) cableDialog_->observer().DiagnosticsChanged(diagnostics);
  if (diagnosticsVisible_) diagnostics_->ShowDiagnostics(diagnostics);
}

void CTavrinView::RunUsbCommand(UsbDirection direction) {
  TransferArchive archive(doc_.DataFolder(), clock_);
  DriveChooser& chooser = *this;
  WriteCheckPrompt& prompt = *this;
  UsbCommandContext context{messages_, chooser, archive, prompt};
  if (direction == UsbDirection::Write) {
    UsbWriteCommand(viewModel_, context);
  } else {
    const DocumentState before = history_.Current();
    const DocumentHistory::Files files = history_.CurrentFiles();
    UsbReadCommand(viewModel_, context);
    history_.RecordRead(kUsbReadTitle, before, files);
  }
}

std::optional<std::size_t> CTavrinView::ChooseDrive(UsbDirection direction,
                                                    const std::vector<std::string>& drives,
                                                    const std::string& message) {
  QStringList names;
  for (const std::string& drive : drives) names << QString::fromStdString(drive);
  UsbDriveDialog dialog(direction, names, QString::fromStdString(message), &frame_);
  WindowPos& position = viewModel_.registry().window(WindowSlot::Usb);
  dialog.move(position.x, position.y);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  position = {dialog.x(), dialog.y()};
  return static_cast<std::size_t>(dialog.selectedIndex());
}

void CTavrinView::RunCableTransfer(TransferMode mode) {
  const DocumentState before = history_.Current();
  const DocumentHistory::Files files = history_.CurrentFiles();
  RunCableDialog(mode);
  if (mode == TransferMode::Read) history_.RecordRead(kCableReadTitle, before, files);
}

void CTavrinView::RunCableDialog(TransferMode mode) {
  link_->CloseSourceFile();
  std::optional<SettingsImage> served;
  if (mode == TransferMode::Write) {
    served = PrepareCableWrite(viewModel_, messages_, *this);
    if (!served) return;
    link_->SetSourceOpener(ServeImage(*served));
  } else if (!SettleUnsavedChanges(viewModel_)) {
    return;
  }
  TransferArchive archive(doc_.DataFolder(), clock_);
  records_.Begin(archive);
  link_->BeginTransfer(mode);
  // What a read carried is the image the view loaded when it succeeded.
  const auto carried = [this, mode, &served] {
    return mode == TransferMode::Write ? *served : viewModel_.imageBuffer();
  };
  CableTransferDialog dialog(
      *link_, mode, doc_.SettingsTitle(), messages_,
      [&](DialogState state) {
        return records_.End(archive, mode, state == DialogState::Succeeded, carried());
      },
      &frame_);
  WindowPos& position = viewModel_.registry().window(WindowSlot::Usb);
  dialog.move(position.x, position.y);
  cableDialog_ = &dialog;
  if (diagnostics_ != nullptr) diagnostics_->SetTransferRunning(true);
  dialog.winId();  // the dialog's window exists now, so that the serial window can join it
  KeepSerialWindowAbove(&dialog);
  dialog.exec();
  KeepSerialWindowAbove(&frame_);
  cableDialog_ = nullptr;
  if (diagnostics_ != nullptr) diagnostics_->SetTransferRunning(false);
  // A cancelled transfer keeps only its trace.
  const std::vector<std::string> unsaid = records_.End(archive, mode, false, carried());
  for (const std::string& problem : unsaid) {
    messages_.Show(problem, dialog.windowTitle().toStdString(), MsgButtons::Ok,
                   MsgIcon::Exclamation);
  }
  position = {dialog.x(), dialog.y()};
}

void CTavrinView::Beep() { QApplication::beep(); }

void CTavrinView::ShowSettingsFileDisplay() {
  SettingsDisplayDialog display(
      BuildSettingsDisplay(viewModel_.holidays(), viewModel_.iniSettings(), settingsFileRead_,
                           doc_.DataFolder()),
      viewModel_.holidays(), &frame_);
  display.exec();
}

bool CTavrinView::WatchesKeysOf(QObject* watched) const {
  auto* widget = qobject_cast<QWidget*>(watched);
  return widget != nullptr && widget->window() == &frame_ &&
         QApplication::activeModalWidget() == nullptr;
}

bool CTavrinView::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if (!(key->modifiers() & Qt::AltModifier) || (key->modifiers() & Qt::ControlModifier) ||
      !WatchesKeysOf(watched)) {
    return false;
  }
  const char letter = AltKeyChar(key->key());
  if (type == QEvent::ShortcutOverride) {
    // Keys that pass on go to the menu bar's mnemonics, and Alt+Backspace to undo, now; the rest
    // are claimed here so that no shortcut takes them, and are handled when their key press
    // arrives.
    if (altKeys_.Peek(letter) == AltKeyAction::PassOn || key->key() == Qt::Key_Backspace) {
      altKeys_.OnAltKey(letter);
      return false;
    }
    key->accept();
    return true;
  }
  switch (altKeys_.OnAltKey(letter)) {
    case AltKeyAction::PassOn:
      return false;
    case AltKeyAction::Consume:
      return true;
    case AltKeyAction::OpenAbout:
      ShowAbout();
      return true;
    case AltKeyAction::OpenSpecialMenu:
      ShowSpecialMenu();
      return true;
  }
  return true;
}

}  // namespace tavrin
