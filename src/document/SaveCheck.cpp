#include "document/SaveCheck.h"

#include <set>
#include <string>

namespace tavrin {

Result<> CheckSaveable(const ScheduleModel& model) {
  if (model.basicProgram == 0) return Fail("基本設定のプログラム番号が指定されていません。");
  if (model.basicProgram != kIdleProgram && !IsRegistered(model, model.basicProgram)) {
    return Fail("基本設定のプログラム番号 ( " + std::to_string(model.basicProgram) +
                " ) が登録されていません。");
  }
  std::set<int> missing;
  auto check = [&](int program) {
    if (program >= 1 && program <= kMaxProgram && program != kIdleProgram &&
        !IsRegistered(model, program)) {
      missing.insert(program);
    }
  };
  // Empty slots take no part in the schedule, whatever program they still carry.
  for (const PeriodEntry& entry : model.periods) {
    if (entry.year != 0) check(entry.program);
  }
  for (const DateEntry& entry : model.dates) {
    if (entry.year != 0) check(entry.program);
  }
  if (model.holidayEnabled) check(model.holidayProgram);
  if (!missing.empty()) {
    std::string list;
    for (int program : missing) {
      if (!list.empty()) list += ",";
      list += std::to_string(program);
    }
    return Fail("年間プログラムで次のプログラム番号が登録されていません。\n\n( " + list + " )");
  }
  return {};
}

}  // namespace tavrin
