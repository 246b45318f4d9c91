#include "review/CheckTexts.h"

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
         " 件見つかりました。\nタイマはスケジュールのとおりには動作しません。\n"
         "このまま書き込みますか？";
}

std::string WriteCheckErrors(const std::vector<Finding>& findings, std::size_t shown) {
  std::string text;
  std::size_t errors = 0;
  for (const Finding& finding : findings) {
    if (finding.severity != Severity::Error) continue;
    if (++errors > shown) continue;
    if (!text.empty()) text += "\n";
    text += "・" + finding.message;
  }
  if (errors > shown) text += "\nほか " + std::to_string(errors - shown) + " 件";
  return text;
}

}  // namespace tavrin
