// What every tavrin-cli subcommand shares: where it writes, how its command line is read, and the
// data folder, clock and settings that the program's rules need.
#pragma once

#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "calendar/HolidayFile.h"
#include "calendar/YearCalendar.h"
#include "document/SettingsFiles.h"
#include "model/Clock.h"
#include "model/ImagePacking.h"
#include "model/IniSettings.h"
#include "model/Messages.h"
#include "model/Result.h"

namespace tavrin {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Standard output and error, or string streams in tests, and where the installed copies of the
// shipped data files are (none in tests, so that a test's data folder stays as the test made it).
struct CliIo {
  std::ostream& out;
  std::ostream& err;
  std::vector<std::string> shippedData{};
};

// Every message starts with the program's name, so that it stands out among a script's output.
inline constexpr char kMessagePrefix[] = "tavrin-cli: ";

// Prints the program's messages on standard error, one per line, after kMessagePrefix. Nobody is
// there to answer a question, so each gets the answer that changes nothing: No, or Cancel where
// there is one.
class StreamMessageSink : public MessageSink {
 public:
  explicit StreamMessageSink(std::ostream& err) : err_(err) {}
  MsgAnswer Show(const std::string& text, const std::string& caption, MsgButtons buttons,
                 MsgIcon icon) override;

 private:
  std::ostream& err_;
};

struct OptionSpec {
  std::string name;   // "--names"
  std::string alias;  // "-o", or empty
  bool takesValue;
  bool repeats = false;  // may be given more than once: see Arguments::Values
};

// A subcommand's command line. "--data-dir DIR", "--now TIME", "--help" and "--version" are
// always known;
// options take "--name value" or "--name=value"; "--" ends the options.
struct Arguments {
  std::vector<std::string> positional;
  std::map<std::string, std::vector<std::string>> options;  // by long name, in the given order
  bool help = false;
  bool version = false;

  // The value of an option given once; nothing when it was not given.
  const std::string* Option(const std::string& name) const;
  // Every value of a repeatable option.
  std::vector<std::string> Values(const std::string& name) const;
};
std::optional<Arguments> ParseArguments(const std::vector<std::string>& args,
                                        const std::vector<OptionSpec>& extra, std::string& error);

// Prints "tavrin-cli: <error>" and the usage on standard error; returns the usage exit code.
int UsageError(CliIo& io, const std::string& usage, const std::string& error);

// "tavrin-cli 1.06": what --version prints.
std::string VersionLine();

// ParseArguments for a subcommand that prints `usage` for "--help" and with a usage error. Gives
// nothing when the command is already over, with its exit code in `exitCode`.
std::optional<Arguments> ReadCommandLine(const std::vector<std::string>& args,
                                         const std::vector<OptionSpec>& extra,
                                         const std::string& usage, CliIo& io, int& exitCode);

// The state the desktop program has at start-up: the data folder's holiday file and
// "Tavrin.ini" (defaults when they are missing), the clock, the two image years and the
// remembered radio station.
struct CliContext {
  std::string dataDir;
  LocalTime now{};
  YearPair years{};
  HolidayTable holidays{};
  IniSettings settings;
  RadioStation station;

  ImageContext Image() const { return {years, &holidays, settings.RadioModeOn()}; }
  // The data folder's files that a command reads, whether they are there or not.
  std::vector<std::string> DataFiles() const;
};
// From --data-dir (else TAVRIN_DATA_DIR, else the data folder) and --now (else TAVRIN_NOW, else
// the system clock). A --now or TAVRIN_NOW that is no real time is a usage error. The data folder
// (not a --data-dir) first gets the shipped files it lacks, as the desktop program's start gives
// them; a holiday file that still cannot be read is reported on `io.err`, because without it the
// public holidays of a settings file read as individual dates, and so is a data file of which
// only the start was read.
// A transfer carries the image byte for byte: it needs the folder and the clock for its backups,
// not the holidays or the settings, and warns about neither.
enum class ContextUse { kReadsSchedule, kCarriesImage };
Result<CliContext> LoadContext(const Arguments& args, CliIo& io,
                               ContextUse use = ContextUse::kReadsSchedule);

// "Tavrin.ini" of `dataDir`: the defaults when it is missing, and a warning on `err` when something
// else is in its place (a FIFO, a folder, a looping link...).
void ReadIniSettings(const std::string& dataDir, IniSettings& settings, std::ostream& err,
                     bool* cut = nullptr);

// The document's paths for a settings file path given on the command line.
DocumentPaths PathsFor(const std::string& settingsPath);

// A command that works on one settings file: its context (the data folder, the clock) and the
// file with its program names.
struct SettingsInput {
  CliContext context;
  SettingsImage image{};
  ProgramNameTable names{};
  std::vector<std::string> files;  // every file read or looked for: none may be an output
};

// Loads the context, then the settings file given as the one positional argument and its program
// names: the file of "--names" when given, else the .TXT beside the settings file. On failure the
// reason is on `io.err` (with the usage for a wrong command line) and `exitCode` holds the code.
std::optional<SettingsInput> LoadSettingsInput(const Arguments& args, const std::string& usage,
                                               CliIo& io, int& exitCode);

}  // namespace tavrin
