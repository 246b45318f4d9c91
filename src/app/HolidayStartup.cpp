#include "app/HolidayStartup.h"

#include <cerrno>

#include "document/DataFolder.h"
#include "document/FileProbe.h"
#include "model/FileHead.h"

namespace tavrin {

HolidayLoadState LoadHolidays(const std::optional<std::string>& dataFolder, HolidayTable& table,
                              bool* cut) {
  ClearHolidayTable(table);
  if (!dataFolder) return HolidayLoadState::FolderFailed;
  const std::string path = *dataFolder + "/" + kHolidayFileName;
  if (!LoadHolidayFile(path, table, cut) || table.yearCount == 0)
    return HolidayLoadState::FileFailed;
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

std::string SettingsIniProblemText(const std::string& path, int error) {
  if (error == 0 || error == ENOENT) return {};
  return FileFault(path, error, Language::kJapanese) + "\n既定の設定を使います。";
}

std::string DataFileCutText(const std::string& path) {
  return path + " は大きすぎるため、先頭の " + std::to_string(kDataFileLimitBytes / 1024) +
         " KB だけを読み込みました。\n残りは無視しました。";
}

}  // namespace tavrin
