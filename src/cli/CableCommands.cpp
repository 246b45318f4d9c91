#include "cli/CableCommands.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <thread>

#include "cli/InputFiles.h"
#include "document/FileProbe.h"
#include "document/SettingsFiles.h"
#include "model/ImageLayout.h"
#include "transfer/ByteTrace.h"
#include "transfer/CableLink.h"
#include "transfer/CableMessages.h"
#include "transfer/CableRecords.h"
#include "transfer/Interrupts.h"
#include "transfer/TransferMonitor.h"

namespace tavrin {
namespace {

constexpr char kCancelled[] = "cancelled";

constexpr char kCableOptionsHelp[] =
    "  --port DEV     a device to search, COM1 first; repeat for more (default: the system's\n"
    "                 serial ports, or $TAVRIN_PORTS)\n"
    "  --baud SPEED   9600, 19200 (default) or 38400 bit/s\n"
    "  --wait SECONDS without --port, wait up to SECONDS for a serial device to appear\n"
    "  --trace FILE   record every byte sent and received\n"
    "  --data-dir DIR the data folder, whose backups/ keeps every image carried (default:\n"
    "                 $TAVRIN_DATA_DIR or the data folder)\n"
    "  --now TIME     the clock that names the backups, YYYY-MM-DDTHH:MM:SS\n";
const std::string kWriteUsage =
    std::string(
        "usage: tavrin-cli cable-write FILE.BIN [--port DEV]... [--baud SPEED] "
        "[--wait SECONDS] [--trace FILE]\n"
        "       [--data-dir DIR] [--now TIME]\n"
        "Serves a saved settings file to the timer set to Fn-11.\n") +
    kCableOptionsHelp;
const std::string kReadUsage =
    std::string(
        "usage: tavrin-cli cable-read OUT.BIN [--port DEV]... [--baud SPEED] "
        "[--wait SECONDS] [--trace FILE]\n"
        "       [--data-dir DIR] [--now TIME]\n"
        "Receives the timer's settings (Fn-13) into OUT.BIN.\n") +
    kCableOptionsHelp;

const std::vector<OptionSpec> kCableOptions = {
    {"--port", "", true, true},
    {"--baud", "", true},
    {"--wait", "", true},
    {"--trace", "", true},
};

struct CableOptions {
  std::string file;
  std::vector<std::string> ports;
  int baud = 19200;
  int waitSeconds = 0;
  std::string trace;
  CliContext context;  // the data folder the records go to, and the clock that names them
};

// The command line of either cable command; nothing when the command is already over, with its
// exit code in `exitCode`.
std::optional<CableOptions> ReadCableOptions(const std::vector<std::string>& args,
                                             const std::string& usage, CliIo& io, int& exitCode) {
  const std::optional<Arguments> parsed = ReadCommandLine(args, kCableOptions, usage, io, exitCode);
  if (!parsed) return std::nullopt;
  CableOptions options;
  options.ports = parsed->Values("--port");
  if (const std::string* trace = parsed->Option("--trace")) options.trace = *trace;
  std::string error;
  if (const std::string* baud = parsed->Option("--baud")) {
    if (*baud == "9600" || *baud == "19200" || *baud == "38400") {
      options.baud = std::stoi(*baud);
    } else {
      error = "the speed must be 9600, 19200 or 38400";
    }
  }
  if (const std::string* wait = parsed->Option("--wait")) {
    const bool digits = !wait->empty() && wait->size() <= 5 &&
                        wait->find_first_not_of("0123456789") == std::string::npos;
    if (digits) {
      options.waitSeconds = std::stoi(*wait);
    } else if (error.empty()) {
      error = "--wait takes a number of seconds";
    }
  }
  if (error.empty() && parsed->positional.size() > 1) error = "one file only";
  if (error.empty() && parsed->positional.empty()) error = "the file is missing";
  if (error.empty() && options.ports.size() > static_cast<std::size_t>(kSerialPortCount)) {
    error = "at most 16 ports";
  }
  Result<CliContext> context = LoadContext(*parsed, io, ContextUse::kCarriesImage);
  if (error.empty() && !context) error = context.message();
  if (!error.empty()) {
    exitCode = UsageError(io, usage, error);
    return std::nullopt;
  }
  options.file = parsed->positional.front();
  options.context = std::move(*context);
  // The trace replaces its file when the command ends: never one the command itself works on.
  if (!options.trace.empty()) {
    const FixedClock clock(options.context.now);
    const struct {
      std::string path;
      const char* what;
    } own[] = {{options.file, "the settings file of this command"},
               {TransferArchive(options.context.dataDir, clock).TracePath(),
                "the trace the data folder keeps"}};
    for (const auto& file : own) {
      if (SameFilePath(options.trace, file.path)) {
        exitCode = UsageError(io, usage, "--trace " + options.trace + " is " + file.what);
        return std::nullopt;
      }
    }
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
  const SettingsImage& Image() const override { return image; }
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

// The dialog's status line, one line each time it changes.
class TerminalDisplay : public TransferDisplay {
 public:
  TerminalDisplay(std::ostream& out, CableEnvironment& environment)
      : out_(out), environment_(environment) {}
  void ShowStatus(const std::string& text) override { out_ << text << std::endl; }
  void ShowBytes(int bytes) override {
    out_ << status_text::kCommunicating << " " << bytes << " バイト" << std::endl;
  }
  void Finished() override { environment_.Quit(); }

 private:
  std::ostream& out_;
  CableEnvironment& environment_;
};

// The system's serial devices, said as the COM numbers the search goes through; with none yet,
// looked for again each second for up to --wait seconds (an adapter being plugged in).
std::vector<std::string> ScannedPorts(const CableOptions& options, std::ostream& out,
                                      CableEnvironment& environment) {
  if (!options.ports.empty()) return options.ports;
  std::vector<std::string> ports = environment.SystemPortPaths();
  for (int waited = 0; ports.empty() && waited < options.waitSeconds; ++waited) {
    if (waited == 0) {
      out << "waiting up to " << options.waitSeconds << " s for a serial device" << std::endl;
    }
    std::this_thread::sleep_for(std::chrono::seconds(1));
    ports = environment.SystemPortPaths();
  }
  if (ports.size() > static_cast<std::size_t>(kSerialPortCount)) ports.resize(kSerialPortCount);
  out << "searching " << ports.size() << " serial device" << (ports.size() == 1 ? "" : "s")
      << (ports.empty() ? "" : ":") << "\n";
  for (std::size_t i = 0; i < ports.size(); ++i) {
    out << "  COM" << i + 1 << " " << ports[i] << "\n";
  }
  out.flush();
  return ports;
}

struct TransferOutcome {
  int exitCode;
  SettingsImage received{};
};

// Says what could not be kept of the transfer's records; the transfer's result stands.
void ReportRecordProblems(const std::vector<std::string>& problems, CliIo& io) {
  for (const std::string& problem : problems) io.err << kMessagePrefix << problem << "\n";
}

// `served` is what a write serves: the copy of the file checked when the command started.
TransferOutcome RunTransfer(TransferMode mode, const CableOptions& options,
                            TransferDocument& document, const SettingsImage& served, CliIo& io,
                            CableEnvironment& environment) {
  ByteTrace trace;
  if (!options.trace.empty()) {
    // Only a regular file: a FIFO would hold the command before the timer is even looked for.
    if (Result<> writable = CheckOutputPath(options.trace); !writable) {
      io.err << kMessagePrefix << writable.message() << "\n";
      return {kExitFailure};
    }
    if (!trace.Open(options.trace)) {
      io.err << kMessagePrefix << "cannot create " << options.trace << "\n";
      return {kExitFailure};
    }
  }
  const FixedClock clock(options.context.now);
  TransferArchive archive(options.context.dataDir, clock);
  CableRecords records;
  records.Begin(archive);
  // Every byte goes to the kept trace, and to the one asked for with --trace.
  TracingSerialControl kept(environment.Serial(), records.Trace());
  TracingSerialControl serial(kept, trace);
  TerminalDisplay display(io.out, environment);
  TransferMonitor monitor(display);
  const auto refreshPorts = [&] {
    std::vector<std::string> ports = ScannedPorts(options, io.out, environment);
    environment.SetPortPaths(ports);
    return ports;
  };
  auto link = std::make_unique<CableLink>(serial, environment.Timers(), document, monitor,
                                          ServeImage(served), refreshPorts);
  monitor.Attach(*link);
  bool cancelled = false;
  environment.SetHandlers([&] { link->OnComm(); }, [&](LinkTimer id) { link->OnTimer(id); },
                          [&] {
                            cancelled = true;
                            environment.Quit();
                          });

  link->SetSerialParameters(SerialParametersAt(options.baud));
  link->CloseSourceFile();
  link->BeginTransfer(mode);
  io.out << (mode == TransferMode::Write ? CableWriteMessage(document.title) : CableReadMessage())
         << "\n"
         << (mode == TransferMode::Write ? CableWriteInstruction() : CableReadInstruction())
         << std::endl;
  monitor.Show(status_text::kWaiting);
  if (!link->CountPorts()) {
    monitor.ShowNoPort();
    link->EndTransfer(DialogState::NotConnected);
    trace.Close();
    ReportRecordProblems(records.End(archive, mode, false, served), io);
    return {kExitFailure};
  }
  link->StartSearch();
  if (!monitor.SearchFailed()) {
    const DeferredInterrupts asCancel;
    environment.Run();
  }

  const DialogState state = monitor.State();
  link->EndTransfer(state);
  environment.SetHandlers(nullptr, nullptr, nullptr);
  if (!trace.Close()) io.err << kMessagePrefix << "cannot write " << options.trace << "\n";
  const bool succeeded = state == DialogState::Succeeded;
  ReportRecordProblems(
      records.End(archive, mode, succeeded, mode == TransferMode::Write ? served : document.loaded),
      io);
  const bool ended = state == DialogState::Succeeded || state == DialogState::Failed;
  if ((cancelled || PendingInterrupt() != 0) && !ended) {
    io.err << kMessagePrefix << kCancelled << "\n";
    return {InterruptExitCode(PendingInterrupt() != 0 ? PendingInterrupt() : SIGINT)};
  }
  if (monitor.SearchFailed()) return {kExitFailure};
  if (succeeded) return {kExitOk, document.loaded};
  const std::string failure = mode == TransferMode::Write
                                  ? CableWriteFailure(document.title, monitor.Detail())
                                  : CableReadFailure(monitor.Detail());
  io.err << kMessagePrefix << failure << "\n";
  return {kExitFailure};
}

}  // namespace

int RunCableWrite(const std::vector<std::string>& args, CliIo& io, CableEnvironment& environment) {
  const InterruptGuard interrupts(std::string(kMessagePrefix) + kCancelled + "\n");
  int exitCode = kExitOk;
  const auto options = ReadCableOptions(args, kWriteUsage, io, exitCode);
  if (!options) return exitCode;
  // Opening FILE.BIN makes it the document: saved and unchanged, or new when it is no
  // settings file.
  TransferDocument document;
  const Result<SettingsImage> read = ReadInputSettings(options->file, ImageSize::kAsOpened, io.err);
  if (read) {
    document.path = options->file;
    document.title = std::filesystem::path(options->file).filename().string();
    document.untitled = false;
    document.image = *read;
    document.loaded = *read;
  } else {
    io.err << kMessagePrefix << read.message() << "\n";
  }
  const Result<SettingsImage> served = CheckedWriteSource(document);
  if (!served) {
    io.err << kMessagePrefix << served.message() << "\n";
    return kExitFailure;
  }
  const TransferOutcome outcome =
      RunTransfer(TransferMode::Write, *options, document, *served, io, environment);
  if (outcome.exitCode == kExitOk) io.out << CableWriteSuccess(document.title) << std::endl;
  return outcome.exitCode;
}

int RunCableRead(const std::vector<std::string>& args, CliIo& io, CableEnvironment& environment) {
  const InterruptGuard interrupts(std::string(kMessagePrefix) + kCancelled + "\n");
  int exitCode = kExitOk;
  const auto options = ReadCableOptions(args, kReadUsage, io, exitCode);
  if (!options) return exitCode;
  // The timer's whole transfer would be lost on a path that cannot take the file.
  if (Result<> writable = CheckOutputPath(options->file); !writable) {
    io.err << kMessagePrefix << writable.message() << "\n";
    return kExitFailure;
  }
  TransferDocument document;
  const TransferOutcome outcome =
      RunTransfer(TransferMode::Read, *options, document, document.image, io, environment);
  if (outcome.exitCode != kExitOk) return outcome.exitCode;
  const Result<> written = WriteSettingsFile(options->file, outcome.received);
  if (!written) {
    io.err << kMessagePrefix << CableReadFailure("") << "\n"
           << kMessagePrefix << written.message() << "\n";
    return kExitFailure;
  }
  io.out << CableReadSuccess() << std::endl;
  return kExitOk;
}

}  // namespace tavrin
