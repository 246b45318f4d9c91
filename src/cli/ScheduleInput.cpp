#include "cli/ScheduleInput.h"

#include <cctype>

#include "cli/InputFiles.h"
#include "cli/ModelJson.h"

namespace tavrin {

bool IsModelJsonPath(const std::string& path) {
  std::string extension = ExtensionOf(path);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == ".json";
}

Result<LoadedSchedule> LoadSchedule(const Arguments& args, const std::string& path,
                                    const CliContext& context, std::ostream& err,
                                    RefusedValues values) {
  LoadedSchedule schedule;
  const bool json = IsModelJsonPath(path);
  if (json) {
    Result<std::string> text = ReadModelJson(path);
    if (!text) return Fail(text.message());
    std::vector<std::string>* refused = values == RefusedValues::List ? &schedule.refused : nullptr;
    const Result<> parsed = ParseModelJson(*text, schedule.model, schedule.names, refused);
    if (!parsed) return Fail(path + ": " + parsed.message());
    if (const std::optional<std::string> tag = ModelTagFault(schedule.model); tag && refused) {
      refused->push_back(*tag);
    }
  } else {
    SettleInterruptedSave(path, context.dataDir, err);
    Result<SettingsImage> image = ReadInputSettings(path, ImageSize::kExact, err);
    if (!image) return Fail(image.message());
    UnpackImage(*image, context.Image(), schedule.model);
  }
  // A name file asked for by name must be there; the one beside the settings file may not be.
  const std::string* namesPath = args.Option("--names");
  if (namesPath || !json) {
    Result<ProgramNameTable> names =
        namesPath ? ReadInputNames(*namesPath) : NamesBeside(path, err);
    if (!names) return Fail(names.message());
    schedule.names = *names;
  }
  return schedule;
}

}  // namespace tavrin
