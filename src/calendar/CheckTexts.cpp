#include "calendar/CheckTexts.h"

#include <algorithm>

namespace tavrin {
namespace {

std::string Count(const std::vector<Finding>& findings, Severity severity) {
  return std::to_string(
      std::count_if(findings.begin(), findings.end(),
                    [severity](const Finding& f) { return f.severity == severity; }));
}

std::string CountOf(const std::vector<Finding>& findings, Severity severity) {
  return std::string(SeverityLabel(severity)) + " " + Count(findings, severity) + " 件";
}

}  // namespace

const char* SeverityLabel(Severity severity) {
  switch (severity) {
    case Severity::Error:
      return "エラー";
    case Severity::Warning:
      return "警告";
    case Severity::Note:
      break;
  }
  return "注意";
}

std::string CheckSummary(const std::vector<Finding>& findings) {
  if (findings.empty()) return "問題は見つかりませんでした。";
  return CountOf(findings, Severity::Error) + "、" + CountOf(findings, Severity::Warning) + "、" +
         CountOf(findings, Severity::Note);
}

std::string WriteCheckQuestion(const std::vector<Finding>& findings) {
  return "スケジュールの確認でエラーが " + Count(findings, Severity::Error) +
         " 件見つかりました。\nタイマーはスケジュールのとおりには動作しません。\n"
         "このまま書き込みますか？";
}

}  // namespace tavrin
