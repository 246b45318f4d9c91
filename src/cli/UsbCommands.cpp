#include "cli/UsbCommands.h"

#include <optional>
#include <ostream>

#include "cli/InputFiles.h"
#include "document/FileProbe.h"
#include "document/PathText.h"
#include "document/SettingsFiles.h"
#include "transfer/CableMessages.h"
#include "transfer/UsbTransfer.h"

namespace tavrin {
namespace {

constexpr char kOptionsHelp[] =
    "  --drive DIR     the stick's folder (default: the one removable volume mounted)\n"
    "  --data-dir DIR  the data folder, whose backups/ keeps every image carried and every\n"
    "                  stick file replaced (default: $TAVRIN_DATA_DIR or the data folder)\n"
    "  --now TIME      the clock that names the backups, YYYY-MM-DDTHH:MM:SS\n";

const std::string kWriteUsage =
    std::string(
        "usage: tavrin-cli usb-write FILE.BIN [--drive DIR] [--data-dir DIR] [--now TIME]\n"
        "Writes a settings file to a USB stick as \"VL-3400.BIN\".\n") +
    kOptionsHelp;
const std::string kReadUsage =
    std::string(
        "usage: tavrin-cli usb-read OUT.BIN [--drive DIR] [--data-dir DIR] [--now TIME]\n"
        "Reads \"VL-3400.BIN\" from a USB stick into OUT.BIN, which is written only when "
        "the\nread succeeded.\n") +
    kOptionsHelp;

// A USB command's command line, the volume it works on and the archive of its backups.
struct UsbRun {
  std::string file;
  Volume volume;
  CliContext context;
};

// Nothing when the command is already over, with its exit code in `exitCode`.
std::optional<UsbRun> ReadUsbRun(const std::vector<std::string>& args, const std::string& usage,
                                 CliIo& io, int& exitCode) {
  const std::optional<Arguments> parsed =
      ReadCommandLine(args, {{"--drive", "", true}}, usage, io, exitCode);
  if (!parsed) return std::nullopt;
  if (parsed->positional.size() != 1) {
    exitCode =
        UsageError(io, usage, parsed->positional.empty() ? "the file is missing" : "one file only");
    return std::nullopt;
  }
  Result<CliContext> context = LoadContext(*parsed, io, ContextUse::kCarriesImage);
  if (!context) {
    exitCode = UsageError(io, usage, context.message());
    return std::nullopt;
  }
  UsbRun run{parsed->positional.front(), {}, std::move(*context)};
  if (const std::string* drive = parsed->Option("--drive")) {
    run.volume = VolumeAt(*drive);
    return run;
  }
  const std::vector<Volume> volumes = ListRemovableVolumes();
  if (volumes.size() == 1) {
    run.volume = volumes.front();
    return run;
  }
  exitCode = kExitUsage;
  if (volumes.empty()) {
    io.err << kMessagePrefix << kNoRemovableDisk << "\n";
    return std::nullopt;
  }
  io.err << kMessagePrefix << "several removable volumes, choose one with --drive:\n";
  for (const Volume& volume : volumes) io.err << "  " << volume.mountPoint << "\n";
  return std::nullopt;
}

// The messages go where the outcome belongs; the backups' problems are said apart.
int Report(const UsbReport& report, CliIo& io) {
  for (const std::string& message : report.messages) {
    if (report.ok) {
      io.out << message << "\n";
    } else {
      io.err << kMessagePrefix << message << "\n";
    }
  }
  for (const std::string& problem : report.backupProblems) {
    io.err << kMessagePrefix << problem << "\n";
  }
  return report.ok ? kExitOk : kExitFailure;
}

}  // namespace

int RunUsbWrite(const std::vector<std::string>& args, CliIo& io) {
  int exitCode = kExitOk;
  const std::optional<UsbRun> run = ReadUsbRun(args, kWriteUsage, io, exitCode);
  if (!run) return exitCode;
  // Opening FILE.BIN makes it the saved, unchanged document; what cannot be opened is nothing
  // entered.
  if (Result<> own = CheckOutputIsNoInput(StickFilePath(run->volume), {run->file}); !own) {
    io.err << kMessagePrefix << own.message() << "\n";
    return kExitFailure;
  }
  const Result<SettingsImage> image = ReadInputSettings(run->file, ImageSize::kAsOpened, io.err);
  if (!image) {
    io.err << kMessagePrefix << image.message() << "\n"
           << kMessagePrefix << kNothingEntered << "\n";
    return kExitFailure;
  }
  const FixedClock clock(run->context.now);
  TransferArchive archive(run->context.dataDir, clock);
  return Report(WriteToStick(run->volume, *image, FileNameOf(run->file), archive), io);
}

int RunUsbRead(const std::vector<std::string>& args, CliIo& io) {
  int exitCode = kExitOk;
  const std::optional<UsbRun> run = ReadUsbRun(args, kReadUsage, io, exitCode);
  if (!run) return exitCode;
  if (Result<> own = CheckOutputIsNoInput(run->file, {StickFilePath(run->volume)}); !own) {
    io.err << kMessagePrefix << own.message() << "\n";
    return kExitFailure;
  }
  // Before the stick is read: its file would be kept among the backups as carried for nothing.
  if (Result<> writable = CheckOutputPath(run->file); !writable) {
    io.err << kMessagePrefix << writable.message() << "\n";
    return kExitFailure;
  }
  const FixedClock clock(run->context.now);
  TransferArchive archive(run->context.dataDir, clock);
  UsbReadReport report = ReadFromStick(run->volume, archive);
  if (report.ok) {
    const Result<> written = WriteSettingsFile(run->file, report.image);
    if (!written) {
      io.err << kMessagePrefix << written.message() << "\n";
      report.ok = false;
      report.messages = {kUsbReadFailed};
    }
  }
  return Report(report, io);
}

}  // namespace tavrin
