#include "transfer/CableMessages.h"

#include "document/SettingsFiles.h"

namespace tavrin {
namespace {

std::string Quoted(const std::string& title) { return "\"" + title + "\""; }

std::string WithDetail(std::string text, const std::string& detail) {
  if (!detail.empty()) text += "\n\n" + detail;
  return text;
}

}  // namespace

std::optional<std::string> WriteRefusal(const CableDocument& document, const char* saveFirst) {
  if (document.IsUntitled() && !document.IsModified()) return kNothingEntered;
  if (document.IsModified()) return saveFirst;
  return std::nullopt;
}

Result<SettingsImage> CheckedWriteSource(const CableDocument& document) {
  if (const auto refusal = WriteRefusal(document, kCableSaveFirst)) return Fail(*refusal);
  SettingsImage onDisk{};
  if (!ReadWholeSettingsFile(document.SettingsPath(), onDisk) || onDisk != document.Image()) {
    return Fail(kCableSaveFirst);
  }
  return onDisk;
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
