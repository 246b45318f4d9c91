// The main form view: the file-name field and the five editor buttons, the commands of the menu,
// the start-up and shut-down of everything the view owns, and the maintenance windows.
#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QToolButton>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/DocumentHistory.h"
#include "app/HolidayStartup.h"
#include "app/MainFormLayout.h"
#include "app/TavrinViewModel.h"
#include "app/TransferCommands.h"
#include "app/ViewCableDocument.h"
#include "app/ui/GuideWindow.h"
#include "app/ui/OpenEditor.h"
#include "calendar/ui/NextYearDialog.h"
#include "document/ProfileStore.h"
#include "document/TavrinDoc.h"
#include "editors/EditorClipboards.h"
#include "editors/EditorSession.h"
#include "maintenance/SpecialMenu.h"
#include "maintenance/SpecialMenuSequence.h"
#include "model/Clock.h"
#include "review/Agenda.h"
#include "transfer/ByteTrace.h"
#include "transfer/CableLink.h"
#include "transfer/CableRecords.h"
#include "transfer/LinkObserver.h"
#include "transfer/UsbTransfer.h"

class QKeyEvent;
class QPagedPaintDevice;

namespace tavrin {

class CableTransferDialog;
class CMainFrame;
class CMSComm;
class CProgSheet;
class QtWindowTimers;
class SerialDiagnosticsDialog;

class CTavrinView : public QWidget,
                    private TitleObserver,
                    private SpecialMenuHost,
                    private LinkObserver,
                    private DriveChooser,
                    private WriteCheckPrompt {
  Q_OBJECT

 public:
  CTavrinView(CMainFrame& frame, CTavrinDoc& doc, ProfileStore& profile, MessageSink& messages,
              const Clock& clock);
  ~CTavrinView() override;

  // Everything the view owns comes up here, once: settings, data folder, holidays, form layout.
  void InitializeView();
  // Closes the view's windows and writes the settings kept between runs; runs once.
  void CleanUpView();

  void OnCommand(int id);
  // The close box: false keeps the window open.
  bool OnCloseFrame(std::optional<QPoint> position);

  TavrinViewModel& viewModel() { return viewModel_; }
  const DocumentHistory& history() const { return history_; }
  QLineEdit* fileNameField() const { return fileName_; }
  QToolButton* editorButton(int index) const { return buttons_[index]; }
  HolidayLoadState holidayState() const { return holidayState_; }
  bool settingsFileRead() const { return settingsFileRead_; }

  void ShowAbout();
  // The user guide's `page`, found among `shippedData` (see SetShippedData); one window, brought
  // to the front when it is open already.
  void ShowGuide(const std::string& page);
  GuideWindow* guideWindow() const { return guide_; }
  void SetShippedData(std::vector<std::string> folders) { shippedData_ = std::move(folders); }
  // A settings file that a later start of the program handed over: opened (after the question
  // whether to save the open schedule) as soon as no modal window waits for an answer, because
  // an editor or a transfer works on the open document until it closes.
  void OpenHandedOver(const std::string& path);
  void ShowSpecialMenu();
  // "次の年度を作成(&N)...": the dialog, and the next school year it makes as one step of the
  // history.
  void MakeNextYear();
  // After a file was opened: when it holds a year before the clock's, the question whether to
  // make its next school year, asked once for each file.
  void OfferNextYear();
  void ShowSerialDiagnostics() override;
  void ShowSettingsFileDisplay() override;
  // The editor sheet with the page of `kind` (1..5) over the working schedule.
  EditorOutcome OpenEditor(EditorKind kind);
  CableLink& link() { return *link_; }
  SerialDiagnosticsDialog* diagnosticsWindow() const { return diagnostics_; }
  // The cable dialog while one is open.
  CableTransferDialog* cableDialog() const { return cableDialog_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowTitle(const std::string& caption, const std::string& fileNameField) override;
  MaintenanceFacts Facts() const override;
  void ResetRegistry() override;
  void ReportProgress(Progress kind, const std::string& text) override;
  void ConnectionChanged() override;
  void DiagnosticsChanged(const LinkDiagnostics& diagnostics) override;
  void Beep() override;
  std::optional<std::size_t> ChooseDrive(UsbDirection direction,
                                         const std::vector<std::string>& drives,
                                         const std::string& message) override;
  bool WriteDespiteErrors(const std::vector<Finding>& findings) override;
  void RunUsbCommand(UsbDirection direction);
  // The cable dialog, with a read recorded in the history.
  void RunCableTransfer(TransferMode mode);
  void RunCableDialog(TransferMode mode);
  void ApplySerialSettings();
  void RefreshPorts();
  void OpenSerialSettings();
  void KeepSerialWindowAbove(QWidget* owner);

  // What the editor pages work on, for one opening of the editor sheet (or a look at which pages
  // exist): the view's calendars and everything else.
  CalendarContext EditorCalendar();
  EditorContext EditorContextOf(CalendarContext& calendar);
  void ApplyLayout(const MainFormLayout& layout);
  void ExitCommand();
  void PrintCommand();
  void PdfCommand();
  // The report on the pages of a printer or a PDF at `resolution`; false when it could not be
  // painted on.
  bool PaintReport(QPagedPaintDevice& device, int resolution);
  void ShowAgenda();
  void ShowCheck();
  void ShowComparison();
  // What the next school year dialog shows for its choices.
  NextYearPreview PreviewOf(const NextYearOptions& options);
  // The edit menu's items name the steps the history would take, greyed when there is none.
  void ShowHistory();
  void OpenHandedOverWhenFree();
  bool WatchesKeysOf(QObject* watched) const;
  // F1 in any window but the guide's: the guide's page about that window.
  bool HelpKey(QObject* watched, QKeyEvent* key);

  CMainFrame& frame_;
  CTavrinDoc& doc_;
  ProfileStore& profile_;
  MessageSink& messages_;
  const Clock& clock_;
  TavrinViewModel viewModel_;
  DocumentHistory history_;
  SpecialMenuSequence altKeys_;
  HolidayLoadState holidayState_ = HolidayLoadState::FileFailed;
  bool settingsFileRead_ = false;
  bool cleanedUp_ = false;
  // The day the agenda window showed first last time; the printed week starts there.
  std::optional<CalendarDate> agendaFrom_;

  ViewCableDocument cableDocument_;
  std::unique_ptr<CMSComm> serial_;
  CableRecords records_;
  // Every byte the link sends or receives also goes to the records' trace while it is open.
  std::unique_ptr<TracingSerialControl> tracedSerial_;
  std::unique_ptr<QtWindowTimers> timers_;
  std::unique_ptr<CableLink> link_;
  CableTransferDialog* cableDialog_ = nullptr;
  QPointer<QWidget> specialMenu_;  // while it is open
  QPointer<GuideWindow> guide_;    // while it is open
  std::vector<std::string> shippedData_;
  std::optional<std::string> handedOver_;  // the file to open once no modal window is up
  std::set<std::string> nextYearOffered_;  // the files whose next school year was offered
  QTimer* handOverWait_ = nullptr;
  SerialDiagnosticsDialog* diagnostics_ = nullptr;
  bool diagnosticsVisible_ = false;
  CProgSheet* sheet_ = nullptr;
  EditorClipboards clipboards_;

  QLineEdit* fileName_ = nullptr;
  std::array<QToolButton*, kEditorButtonCount> buttons_{};
};

}  // namespace tavrin
