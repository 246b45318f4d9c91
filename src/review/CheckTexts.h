// The words around the schedule check's findings in the desktop program: the window's summary and
// the question before a write that the check finds faults in (UTF-8).
#pragma once

#include <string>
#include <vector>

#include "review/ScheduleCheck.h"

namespace tavrin {

inline constexpr char kCheckCaption[] = "スケジュールの確認";
inline constexpr char kWriteCheckContinue[] = "続行";
inline constexpr char kWriteCheckCancel[] = "キャンセル";
inline constexpr const char* kCheckColumns[] = {"重要度", "規則", "内容"};

// "エラー", "警告", "注意"
const char* SeverityLabel(Severity severity);
// "エラー 1 件、警告 2 件、注意 0 件", or that nothing was found.
std::string CheckSummary(const std::vector<Finding>& findings);
// The question before a write: how many errors, that the timer will not do what the schedule
// suggests, and whether to write all the same.
std::string WriteCheckQuestion(const std::vector<Finding>& findings);
// The errors' messages under the question, one a line; past `shown` of them, a last line says how
// many more there are, so that the box stays on the screen.
std::string WriteCheckErrors(const std::vector<Finding>& findings, std::size_t shown = 8);

}  // namespace tavrin
