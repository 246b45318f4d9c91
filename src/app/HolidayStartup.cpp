#include "app/HolidayStartup.h"

#include "document/DataFolder.h"

namespace tavrin {

HolidayLoadState LoadHolidays(const std::optional<std::string>& dataFolder, HolidayTable& table) {
  ClearHolidayTable(table);
  if (!dataFolder) return HolidayLoadState::FolderFailed;
  const std::string path = *dataFolder + "/" + kHolidayFileName;
  if (!LoadHolidayFile(path, table) || table.yearCount == 0) return HolidayLoadState::FileFailed;
  return HolidayLoadState::Loaded;
}

std::string HolidayProblemText(HolidayLoadState state) {
  switch (state) {
    case HolidayLoadState::Loaded:
      return {};
    case HolidayLoadState::FolderFailed:
      return "祭日設定ファイルの格納フォルダの生成に失敗しました。\n"
             "祭日設定が正しく実行できません。";
    case HolidayLoadState::FileFailed:
      return "祭日設定ファイルが存在しないかまたは壊れています。\n"
             "祭日設定が正しく実行できません。";
  }
  return {};
}

}  // namespace tavrin
