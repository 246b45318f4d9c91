#include "cli/ExportCommand.h"

#include "app/ProgramSettings.h"
#include "calendar/HolidayTable.h"
#include "calendar/YearCalendar.h"
#include "model/DataFolder.h"
#include "model/ExportCommand.h"
#include "model/ImagePacking.h"
#include "model/PathText.h"
#include "model/SettingsFiles.h"

namespace tavrin {

std::optional<ExportRequest> ParseExportArguments(const std::vector<std::string>& args,
                                                  std::ostream& err) {
  ExportRequest request;
  bool haveOutput = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if ((arg == "--names" || arg == "-o") && i + 1 < args.size()) {
      if (arg == "--names") {
        request.namesPath = args[++i];
      } else {
        request.outputPath = args[++i];
        haveOutput = true;
      }
    } else if (!arg.empty() && arg[0] != '-' && request.settingsPath.empty()) {
      request.settingsPath = arg;
    } else {
      request.settingsPath.clear();
      break;
    }
  }
  if (request.settingsPath.empty() || !haveOutput || request.outputPath.empty()) {
    err << "usage: tavrin-cli export FILE.BIN [--names FILE.TXT] -o OUT.CSV\n";
    return std::nullopt;
  }
  return request;
}

int RunExport(const ExportRequest& request, const std::string& dataFolder, const LocalTime& now,
              std::ostream& err) {
  ProgramSettings settings;
  if (!ReadSettingsIni(JoinPath(dataFolder, kSettingsIniName), settings)) {
    settings = ProgramSettings{};
  }
  BuildChimeLists(settings);
  HolidayTable holidays;
  if (!LoadHolidayFile(JoinPath(dataFolder, kHolidayFileName), holidays)) {
    ClearHolidayTable(holidays);
    err << "warning: no holiday file in " << dataFolder << "; no day is a holiday\n";
  }

  SettingsImage image{};
  Status read = LoadFromFile(request.settingsPath, image);
  if (!read.ok) {
    err << read.message << "\n";
    return 1;
  }
  ProgramNameTable names{};
  if (request.namesPath && !ReadNameFile(*request.namesPath, names)) {
    err << *request.namesPath << ": the program-name file cannot be read\n";
    return 1;
  }

  const ImageContext context{YearsFromClock(now.year), &holidays, settings.RadioModeOn()};
  ScheduleModel model;
  UnpackImage(image, context, model);
  RadioStation station;
  std::array<YearCalendar, 2> calendars{};

  // The same name rule as the export dialog's: a name without extension gets ".CSV".
  std::string path = request.outputPath;
  std::string title = FileNameOf(path);
  if (ExtensionOf(title).empty()) {
    title += ".CSV";
    path += ".CSV";
  }
  CsvReportInput input{model,   names, settings,  station,
                       context, image, calendars, ToShiftJisOrQuestionMarks(title),
                       now};
  Status written = WriteCsvFile(path, input, SafeFileOpener());
  if (!written.ok) {
    err << written.message << "\n";
    return 1;
  }
  return 0;
}

}  // namespace tavrin
