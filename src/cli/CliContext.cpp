#include "cli/CliContext.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ostream>

#include "cli/InputFiles.h"
#include "document/DataFolder.h"
#include "document/FileProbe.h"
#include "document/PathText.h"
#include "maintenance/MaintenanceTexts.h"
#include "model/FileHead.h"

namespace tavrin {
namespace {

const std::vector<OptionSpec> kSharedOptions = {
    {"--data-dir", "", true},
    {"--now", "", true},
    {"--help", "-h", false},
    {"--version", "", false},
};

const OptionSpec* FindOption(const std::vector<OptionSpec>& specs, const std::string& name) {
  auto it = std::find_if(specs.begin(), specs.end(), [&](const OptionSpec& spec) {
    return spec.name == name || (!spec.alias.empty() && spec.alias == name);
  });
  return it == specs.end() ? nullptr : &*it;
}

}  // namespace

MsgAnswer StreamMessageSink::Show(const std::string& text, const std::string&, MsgButtons buttons,
                                  MsgIcon) {
  err_ << kMessagePrefix << text << "\n";
  switch (buttons) {
    case MsgButtons::Ok:
      return MsgAnswer::Ok;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoDefaultNo:
      return MsgAnswer::No;
    case MsgButtons::OkCancel:
    case MsgButtons::YesNoCancel:
      return MsgAnswer::Cancel;
  }
  return MsgAnswer::Cancel;
}

const std::string* Arguments::Option(const std::string& name) const {
  auto it = options.find(name);
  return it == options.end() ? nullptr : &it->second.front();
}

std::vector<std::string> Arguments::Values(const std::string& name) const {
  auto it = options.find(name);
  return it == options.end() ? std::vector<std::string>() : it->second;
}

std::optional<Arguments> ParseArguments(const std::vector<std::string>& args,
                                        const std::vector<OptionSpec>& extra, std::string& error) {
  std::vector<OptionSpec> specs = kSharedOptions;
  specs.insert(specs.end(), extra.begin(), extra.end());
  Arguments parsed;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      parsed.positional.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    std::size_t equals = arg.find('=');
    std::string name = arg.substr(0, equals);
    const OptionSpec* spec = FindOption(specs, name);
    if (!spec) {
      error = "unknown option " + name;
      return std::nullopt;
    }
    if (!spec->takesValue) {
      if (equals != std::string::npos) {
        error = spec->name + " takes no value";
        return std::nullopt;
      }
      if (spec->name == "--help") parsed.help = true;
      if (spec->name == "--version") parsed.version = true;
      parsed.options[spec->name] = {""};
      continue;
    }
    std::string value;
    if (equals != std::string::npos) {
      value = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    }
    // "--names=" would name no file: said here, for every option alike.
    if (value.empty()) {
      error = spec->name + " needs a value";
      return std::nullopt;
    }
    if (!spec->repeats && parsed.options.count(spec->name)) {
      error = spec->name + " is given twice";
      return std::nullopt;
    }
    parsed.options[spec->name].push_back(value);
  }
  return parsed;
}

int UsageError(CliIo& io, const std::string& usage, const std::string& error) {
  io.err << kMessagePrefix << error << "\n" << usage;
  return kExitUsage;
}

std::string VersionLine() { return std::string("tavrin-cli ") + kProgramVersion; }

Result<CliContext> LoadContext(const Arguments& args, CliIo& io, ContextUse use) {
  CliContext context;
  if (const std::string* now = args.Option("--now")) {
    std::optional<LocalTime> time = ParseLocalTime(*now);
    if (!time) return Fail(ClockFault("--now", *now));
    context.now = *time;
  } else {
    Result<std::optional<LocalTime>> fixed = FixedTimeFromEnvironment();
    if (!fixed) return Fail(fixed.message());
    context.now = fixed->value_or(SystemClock().Now());
  }
  context.years = YearsFromClock(context.now.year);

  const std::string* dataDir = args.Option("--data-dir");
  if (dataDir) {
    context.dataDir = *dataDir;
  } else if (std::optional<std::string> prepared = PrepareDataFolder()) {
    context.dataDir = *prepared;
    Result<std::vector<std::string>> seeded = SeedDataFolder(context.dataDir, io.shippedData);
    if (!seeded) io.err << kMessagePrefix << "warning: " << seeded.message() << "\n";
  }
  ClearHolidayTable(context.holidays);
  if (use == ContextUse::kCarriesImage) return context;
  const auto warnIfCut = [&](bool cut, const std::string& path) {
    if (!cut) return;
    io.err << kMessagePrefix << "warning: only the first " << kDataFileLimitBytes / 1024
           << " KB of " << path << " were read; the rest was ignored\n";
  };
  // Missing files mean no holidays and the default settings, as in the desktop program.
  const std::string holidayPath = context.dataDir + "/" + kHolidayFileName;
  bool cut = false;
  if (context.dataDir.empty() || !LoadHolidayFile(holidayPath, context.holidays, &cut) ||
      context.holidays.yearCount == 0) {
    ClearHolidayTable(context.holidays);
    const std::string why = context.dataDir.empty() ? std::string("there is no data folder")
                            : RegularFileSize(holidayPath).ok()
                                ? holidayPath + " holds no year"
                                : RegularFileSize(holidayPath).message();
    io.err << kMessagePrefix << "warning: no holiday file (" << why
           << "): public holidays are ordinary days\n";
  }
  warnIfCut(cut, holidayPath);
  if (!context.dataDir.empty()) {
    cut = false;
    ReadIniSettings(context.dataDir, context.settings, io.err, &cut);
    warnIfCut(cut, JoinPath(context.dataDir, kSettingsIniName));
  }
  return context;
}

std::vector<std::string> CliContext::DataFiles() const {
  if (dataDir.empty()) return {};
  return {JoinPath(dataDir, kHolidayFileName), JoinPath(dataDir, kSettingsIniName)};
}

void ReadIniSettings(const std::string& dataDir, IniSettings& settings, std::ostream& err,
                     bool* cut) {
  const std::string path = JoinPath(dataDir, kSettingsIniName);
  int error = 0;
  // A missing file means the defaults, without a word, as in the desktop program.
  if (!ReadSettingsIni(path, settings, cut, &error) && error != ENOENT) {
    err << kMessagePrefix << "warning: " << FileFault(path, error)
        << "; the default settings are used\n";
  }
}

DocumentPaths PathsFor(const std::string& settingsPath) {
  DocumentPaths paths;
  paths.settingsFolder = FolderOf(settingsPath);
  paths.settingsTitle = FileNameOf(settingsPath);
  paths.settingsPath = settingsPath;
  return paths;
}

std::optional<Arguments> ReadCommandLine(const std::vector<std::string>& args,
                                         const std::vector<OptionSpec>& extra,
                                         const std::string& usage, CliIo& io, int& exitCode) {
  std::string error;
  std::optional<Arguments> parsed = ParseArguments(args, extra, error);
  if (!parsed) {
    exitCode = UsageError(io, usage, error);
    return std::nullopt;
  }
  if (parsed->help || parsed->version) {
    io.out << (parsed->help ? usage : VersionLine() + "\n");
    exitCode = kExitOk;
    return std::nullopt;
  }
  // Every command checks a clock given, also one that does not use it.
  if (const std::string* now = parsed->Option("--now"); now && !ParseLocalTime(*now)) {
    exitCode = UsageError(io, usage, ClockFault("--now", *now));
    return std::nullopt;
  }
  return parsed;
}

std::optional<SettingsInput> LoadSettingsInput(const Arguments& args, const std::string& usage,
                                               CliIo& io, int& exitCode) {
  Result<CliContext> context = LoadContext(args, io);
  if (!context) {
    exitCode = UsageError(io, usage, context.message());
    return std::nullopt;
  }
  SettingsInput input{std::move(*context), {}, {}, {}};
  StreamMessageSink messages(io.err);
  auto fail = [&](const std::string& text) {
    messages.Show(text, kAppCaption, MsgButtons::Ok, MsgIcon::Exclamation);
    exitCode = kExitFailure;
    return std::nullopt;
  };
  const std::string& settingsPath = args.positional.front();
  SettleInterruptedSave(settingsPath, input.context.dataDir, io.err);
  // The program reads a file of another size too (a short one keeps the defaults where it ends).
  Result<SettingsImage> image = ReadInputSettings(settingsPath, ImageSize::kAsOpened, io.err);
  if (!image) return fail(image.message());
  input.image = *image;
  // A name file asked for by name must be there; the one beside the settings file may not be.
  const std::string* namesPath = args.Option("--names");
  Result<ProgramNameTable> names =
      namesPath ? ReadInputNames(*namesPath) : NamesBeside(settingsPath, io.err);
  if (!names) return fail(names.message());
  input.names = *names;
  input.files = {settingsPath, namesPath ? *namesPath : NamePathBeside(settingsPath)};
  const std::vector<std::string> dataFiles = input.context.DataFiles();
  input.files.insert(input.files.end(), dataFiles.begin(), dataFiles.end());
  return input;
}

}  // namespace tavrin
