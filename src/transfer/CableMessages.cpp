#include "transfer/CableMessages.h"

namespace tavrin {
namespace {

std::string Quoted(const std::string& title) { return "\"" + title + "\""; }

std::string WithDetail(std::string text, const std::string& detail) {
  if (!detail.empty()) text += "\n\n" + detail;
  return text;
}

}  // namespace

std::optional<std::string> CableWriteRefusal(const CableDocument& document) {
  if (document.IsUntitled() && !document.IsModified()) {
    return "プログラム設定データが入力されていません。";
  }
  if (document.IsModified()) {
    return "ケーブル接続で書き込みを実行するには、プログラム設定データの保存が必要です。\n\n"
           "保存後、再度実行して下さい。\n";
  }
  return std::nullopt;
}

std::string SearchStatusText(SearchPhase phase, bool deviceIdentified) {
  if (phase != SearchPhase::Ended) return status_text::kWaiting;
  return deviceIdentified ? status_text::kConnected : status_text::kNotFound;
}

std::string CableWriteMessage(const std::string& settingsTitle) {
  return Quoted(settingsTitle) + " をUSBケーブル接続で年間プログラムタイマに書き込みます。";
}

std::string CableWriteSuccess(const std::string& settingsTitle) {
  return Quoted(settingsTitle) + " の書き込みが正常に終了しました。";
}

std::string CableWriteFailure(const std::string& settingsTitle, const std::string& detail) {
  return WithDetail(Quoted(settingsTitle) + " の書き込みに失敗しました。", detail);
}

std::string CableReadMessage() {
  return "年間プログラムタイマからプログラム設定データを読み込みます。";
}

std::string CableWriteInstruction() {
  return "年間プログラムタイマのプログラム設定・確認モードで Fn-11 に設定して下さい。";
}

std::string CableReadInstruction() {
  return "年間プログラムタイマのプログラム設定・確認モードで Fn-13 に設定して下さい。";
}

std::string CableReadSuccess() {
  return "年間プログラムタイマからのデータの読み込みが正常に終了しました。";
}

std::string CableReadFailure(const std::string& detail) {
  return WithDetail("年間プログラムタイマからのデータの読み込みに失敗しました。", detail);
}

}  // namespace tavrin
