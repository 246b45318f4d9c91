#include "cli/CliContext.h"

#include <algorithm>
#include <ostream>

#include "model/DataFolder.h"
#include "model/PathText.h"

namespace tavrin {
namespace {

const std::vector<OptionSpec> kSharedOptions = {
    {"--data-dir", "", true},
    {"--now", "", true},
    {"--help", "-h", false},
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
  err_ << text << "\n";
  switch (buttons) {
    case MsgButtons::Ok:
      return MsgAnswer::Ok;
    case MsgButtons::YesNo:
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
      parsed.options[spec->name] = {""};
      continue;
    }
    std::string value;
    if (equals != std::string::npos) {
      value = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
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
  io.err << "tavrin-cli: " << error << "\n" << usage;
  return kExitUsage;
}

Result<CliContext> LoadContext(const Arguments& args) {
  CliContext context;
  if (const std::string* now = args.Option("--now")) {
    std::optional<LocalTime> time = ParseLocalTime(*now);
    if (!time) return Fail("--now: expected YYYY-MM-DDTHH:MM:SS, got \"" + *now + "\"");
    context.now = *time;
  } else {
    context.now = SystemClock().Now();
  }
  context.years = YearsFromClock(context.now.year);

  const std::string* dataDir = args.Option("--data-dir");
  context.dataDir = dataDir ? *dataDir : DataFolderPath();
  ClearHolidayTable(context.holidays);
  if (!context.dataDir.empty()) {
    // Missing files mean no holidays and the default settings, as in the desktop program; only
    // the desktop program complains about them.
    if (!LoadHolidayFile(context.dataDir + "/" + kHolidayFileName, context.holidays)) {
      ClearHolidayTable(context.holidays);
    }
    ReadSettingsIni(context.dataDir + "/" + kSettingsIniName, context.settings);
  }
  return context;
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
  if (parsed->help) {
    io.out << usage;
    exitCode = kExitOk;
    return std::nullopt;
  }
  return parsed;
}

bool LoadSettingsWithNames(const Arguments& args, const std::string& settingsPath,
                           MessageSink& messages, SettingsImage& image, ProgramNameTable& names) {
  Result<> read = ReadSettingsFile(settingsPath, image);
  if (!read) {
    messages.Show(read.message(), kAppCaption, MsgButtons::Ok, MsgIcon::Exclamation);
    return false;
  }
  names = {};
  if (const std::string* namesPath = args.Option("--names")) {
    // A name file asked for by name must be there; the one beside the settings file may not be.
    if (!ReadNameFile(*namesPath, names)) {
      messages.Show(FormatMessage("%s のオープンに失敗しました。", *namesPath), kAppCaption,
                    MsgButtons::Ok, MsgIcon::Exclamation);
      return false;
    }
  } else {
    DocumentPaths paths = PathsFor(settingsPath);
    DeriveNamePaths(paths);
    if (!ReadNameFile(paths.namePath, names)) names = {};
  }
  return true;
}

}  // namespace tavrin
