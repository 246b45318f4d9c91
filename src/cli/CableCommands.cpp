#include "cli/CableCommands.h"

#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <thread>

#include "cli/CliContext.h"
#include "model/FileProbe.h"
#include "model/ImageLayout.h"
#include "model/SettingsFiles.h"
#include "transfer/ByteTrace.h"
#include "transfer/CableLink.h"
#include "transfer/CableMessages.h"

namespace tavrin {
namespace {

constexpr int kExitCancelled = 130;

constexpr char kCableOptions[] =
    "  --port DEV     a device to search, COM1 first; repeat for more (default: the system's\n"
    "                 serial ports, or $TAVRIN_PORTS)\n"
    "  --baud SPEED   9600, 19200 (default) or 38400 bit/s\n"
    "  --wait SECONDS without --port, wait up to SECONDS for a serial device to appear\n"
    "  --trace FILE   record every byte sent and received\n";
const std::string kWriteUsage =
    std::string(
        "usage: tavrin-cli cable-write FILE.BIN [--port DEV]... [--baud SPEED] "
        "[--wait SECONDS] [--trace FILE]\n"
        "Serves a saved settings file to the timer set to Fn-11.\n") +
    kCableOptions;
const std::string kReadUsage =
    std::string(
        "usage: tavrin-cli cable-read OUT.BIN [--port DEV]... [--baud SPEED] "
        "[--wait SECONDS] [--trace FILE]\n"
        "Receives the timer's settings (Fn-13) into OUT.BIN.\n") +
    kCableOptions;

struct CableOptions {
  std::string file;
  std::vector<std::string> ports;
  int baud = 19200;
  int waitSeconds = 0;
  std::string trace;
  bool help = false;
  bool version = false;
};

std::optional<CableOptions> ParseCableOptions(const std::vector<std::string>& args,
                                              std::string& error) {
  CableOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h" || arg == "--version") {
      (arg == "--version" ? options.version : options.help) = true;
      continue;
    }
    if (arg == "--port" || arg == "--baud" || arg == "--trace" || arg == "--wait") {
      if (i + 1 == args.size()) {
        error = arg + " needs a value";
        return std::nullopt;
      }
      const std::string& value = args[++i];
      if (arg == "--port") {
        options.ports.push_back(value);
      } else if (arg == "--trace") {
        options.trace = value;
      } else if (arg == "--wait") {
        const bool digits = !value.empty() && value.size() <= 5 &&
                            value.find_first_not_of("0123456789") == std::string::npos;
        if (!digits) {
          error = "--wait takes a number of seconds";
          return std::nullopt;
        }
        options.waitSeconds = std::stoi(value);
      } else if (value == "9600" || value == "19200" || value == "38400") {
        options.baud = std::stoi(value);
      } else {
        error = "the speed must be 9600, 19200 or 38400";
        return std::nullopt;
      }
    } else if (!arg.empty() && arg[0] == '-') {
      error = "unknown option " + arg;
      return std::nullopt;
    } else if (options.file.empty()) {
      options.file = arg;
    } else {
      error = "one file only";
      return std::nullopt;
    }
  }
  if (options.file.empty() && !options.help && !options.version) {
    error = "the file is missing";
    return std::nullopt;
  }
  if (options.ports.size() > static_cast<std::size_t>(kPortCount)) {
    error = "at most 16 ports";
    return std::nullopt;
  }
  return options;
}

// The document as the desktop program would hold it for one transfer. The view's working
// model is the image as it stood when the document was last loaded into the view.
class TransferDocument : public CableDocument {
 public:
  std::string path;
  std::string title;
  bool modified = false;
  bool untitled = true;
  SettingsImage image{};
  SettingsImage loaded{};

  TransferDocument() {
    tavrin::InitImage(image);
    loaded = image;
  }
  std::string SettingsPath() const override { return path; }
  std::string SettingsTitle() const override { return title; }
  bool IsModified() const override { return modified; }
  void SetModified(bool m) override { modified = m; }
  bool IsUntitled() const override { return untitled; }
  void InitImage() override { tavrin::InitImage(image); }
  bool PutImageBytes(const uint8_t* data, std::size_t length, std::size_t offset) override {
    return tavrin::PutImageBytes(image, data, length, offset);
  }
  void NewDocument() override {
    tavrin::InitImage(image);
    untitled = true;
    modified = false;
    path.clear();
    title.clear();
  }
  void RefreshFromDocument() override { loaded = image; }
  void UpdateTitle() override {}
};

// Follows the link as the cable dialog does and prints what the dialog would show.
class TransferMonitor : public LinkObserver {
 public:
  TransferMonitor(std::ostream& out, CableEnvironment& environment)
      : out_(out), environment_(environment) {}
  void Attach(const CableLink* link) { link_ = link; }

  int state = 0;  // the dialog's: 0 waiting, 1 connected, 2 succeeded, 3 failed
  bool searchFailed = false;
  bool cancelled = false;
  std::string detail;

  void Show(const std::string& text) {
    if (text == status_) return;
    status_ = text;
    out_ << text << std::endl;
  }

  void ReportProgress(int kind, const std::string& text) override {
    if (state >= 2) return;
    if (kind == progress::kCommunicating || kind == progress::kConnected) {
      if (kind == progress::kConnected) state = 1;
      Show(status_text::kCommunicating);
      return;
    }
    state = kind == progress::kSucceeded ? 2 : 3;
    detail = text;
    Show(status_text::kDone);
    environment_.Quit();
  }

  void ConnectionChanged() override {
    if (state != 0 || searchFailed) return;
    const int phase = link_->SearchPhase();
    const bool identified = link_->DeviceIdentified();
    Show(SearchStatusText(phase, identified));
    if (phase != search::kEnded) return;
    if (identified) {
      state = 1;
    } else {
      // Nothing left to wait for: the dialog would only offer its cancel button.
      searchFailed = true;
      environment_.Quit();
    }
  }

  void DiagnosticsChanged(const LinkDiagnostics& diagnostics) override {
    if (diagnostics.byteCount.empty() || diagnostics.byteCount == bytes_) return;
    bytes_ = diagnostics.byteCount;
    out_ << status_text::kCommunicating << " " << bytes_ << " バイト" << std::endl;
  }

  void Beep() override {}

  void Interrupt() {
    cancelled = true;
    environment_.Quit();
  }

 private:
  std::ostream& out_;
  CableEnvironment& environment_;
  const CableLink* link_ = nullptr;
  std::string status_;
  std::string bytes_;
};

struct TransferOutcome {
  int exitCode;
  SettingsImage received{};
};

// The system's serial devices, said as the COM numbers the search goes through; with none yet,
// looked for again each second for up to --wait seconds (an adapter being plugged in).
std::vector<std::string> ScannedPorts(const CableOptions& options, std::ostream& out,
                                      CableEnvironment& environment) {
  if (!options.ports.empty()) return options.ports;
  std::vector<std::string> ports = environment.SystemPortPaths();
  for (int waited = 0; ports.empty() && waited < options.waitSeconds; ++waited) {
    if (waited == 0) out << "waiting up to " << options.waitSeconds << " s for a serial device\n";
    std::this_thread::sleep_for(std::chrono::seconds(1));
    ports = environment.SystemPortPaths();
  }
  if (ports.size() > static_cast<std::size_t>(kPortCount)) ports.resize(kPortCount);
  out << "searching " << ports.size() << " serial device" << (ports.size() == 1 ? "" : "s")
      << (ports.empty() ? "" : ":") << "\n";
  for (std::size_t i = 0; i < ports.size(); ++i) {
    out << "  COM" << i + 1 << " " << ports[i] << "\n";
  }
  return ports;
}

TransferOutcome RunTransfer(int mode, const CableOptions& options, TransferDocument& document,
                            std::ostream& out, std::ostream& err, CableEnvironment& environment) {
  environment.SetPortPaths(ScannedPorts(options, out, environment));
  ByteTrace trace;
  if (!options.trace.empty() && !trace.Open(options.trace)) {
    err << kMessagePrefix << "cannot create " << options.trace << "\n";
    return {kExitFailure};
  }
  TracingSerialControl traced(environment.Serial(), trace);
  SerialControl& serial =
      trace.IsOpen() ? static_cast<SerialControl&>(traced) : environment.Serial();
  TransferMonitor monitor(out, environment);
  auto link = std::make_unique<CableLink>(serial, environment.Timers(), document, monitor);
  monitor.Attach(link.get());
  environment.SetHandlers([&] { link->OnComm(); }, [&](int id) { link->OnTimer(id); },
                          [&] { monitor.Interrupt(); });

  link->SetSerialSettings({options.baud, 'N', 8, "1"});
  link->CloseSourceFile();
  link->BeginTransfer(mode);
  out << (mode == transfer::kWrite ? CableWriteMessage(document.title) : CableReadMessage()) << "\n"
      << "年間プログラムタイマのプログラム設定・確認モードで "
      << (mode == transfer::kWrite ? "Fn-11" : "Fn-13") << " に設定して下さい。" << std::endl;
  monitor.Show(status_text::kWaiting);
  if (!link->CountPorts()) {
    monitor.Show(status_text::kNoPort);
    link->EndTransfer(0);
    trace.Close();
    return {kExitFailure};
  }
  link->StartSearch();
  if (!monitor.searchFailed) environment.Run();

  const int state = monitor.state;
  link->EndTransfer(state);
  environment.SetHandlers(nullptr, nullptr, nullptr);
  if (!trace.Close()) err << kMessagePrefix << "cannot write " << options.trace << "\n";
  if (monitor.cancelled && state < 2) {
    err << kMessagePrefix << "cancelled\n";
    return {kExitCancelled};
  }
  if (monitor.searchFailed) return {kExitFailure};
  if (state == 2) return {kExitOk, document.loaded};
  const std::string failure = mode == transfer::kWrite
                                  ? CableWriteFailure(document.title, monitor.detail)
                                  : CableReadFailure(monitor.detail);
  out << failure << std::endl;
  return {kExitFailure};
}

}  // namespace

int RunCableWrite(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                  CableEnvironment& environment) {
  std::string error;
  const auto options = ParseCableOptions(args, error);
  if (!options) {
    err << kMessagePrefix << error << "\n" << kWriteUsage;
    return kExitUsage;
  }
  if (options->help || options->version) {
    out << (options->help ? kWriteUsage : VersionLine() + "\n");
    return kExitOk;
  }
  // Opening FILE.BIN makes it the document: saved and unchanged, or new when it is no
  // settings file.
  TransferDocument document;
  SettingsImage image;
  const Status read = ReadSettingsFile(options->file, image);
  if (read.ok) {
    document.path = options->file;
    document.title = std::filesystem::path(options->file).filename().string();
    document.untitled = false;
    document.image = image;
    document.loaded = image;
  } else {
    err << kMessagePrefix << read.message << "\n";
  }
  if (const auto refusal = CableWriteRefusal(document)) {
    err << kMessagePrefix << *refusal << "\n";
    return kExitFailure;
  }
  const TransferOutcome outcome =
      RunTransfer(transfer::kWrite, *options, document, out, err, environment);
  if (outcome.exitCode == kExitOk) out << CableWriteSuccess(document.title) << std::endl;
  return outcome.exitCode;
}

int RunCableRead(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                 CableEnvironment& environment) {
  std::string error;
  const auto options = ParseCableOptions(args, error);
  if (!options) {
    err << kMessagePrefix << error << "\n" << kReadUsage;
    return kExitUsage;
  }
  if (options->help || options->version) {
    out << (options->help ? kReadUsage : VersionLine() + "\n");
    return kExitOk;
  }
  // The timer's whole transfer would be lost on a path that cannot take the file.
  if (Result<> writable = CheckOutputPath(options->file); !writable) {
    err << kMessagePrefix << writable.message() << "\n";
    return kExitFailure;
  }
  TransferDocument document;
  const TransferOutcome outcome =
      RunTransfer(transfer::kRead, *options, document, out, err, environment);
  if (outcome.exitCode != kExitOk) return outcome.exitCode;
  const Status written = WriteSettingsFile(options->file, outcome.received);
  if (!written.ok) {
    out << CableReadFailure("") << std::endl;
    err << kMessagePrefix << written.message << "\n";
    return kExitFailure;
  }
  out << CableReadSuccess() << std::endl;
  return kExitOk;
}

}  // namespace tavrin
