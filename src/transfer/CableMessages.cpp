#include "transfer/CableMessages.h"

#include "document/SettingsFiles.h"
#include "transfer/WindowTimers.h"

namespace tavrin {
namespace {

std::string Quoted(const std::string& title) { return "\"" + title + "\""; }

std::string WithDetail(std::string text, const std::string& detail) {
  if (!detail.empty()) text += "\n\n" + detail;
  return text;
}

std::string Listed(const std::vector<std::string>& ports) {
  std::string text;
  for (const std::string& port : ports) text += (text.empty() ? "" : "、") + port;
  return text;
}

std::string SearchSeconds() {
  return std::to_string(IntervalMs(LinkTimer::SearchLimit) / 1000) + " 秒";
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

std::string PortName(int port, const std::string& path) {
  const std::string com = "COM" + std::to_string(port);
  return path.empty() ? com : com + " (" + path + ")";
}

std::string NoPortStatusText(const std::vector<std::string>& deniedPorts) {
  return deniedPorts.empty() ? status_text::kNoPort : PermissionText(deniedPorts);
}

std::string SearchStatusText(SearchPhase phase, bool deviceIdentified,
                             const std::vector<std::string>& deniedPorts) {
  if (phase != SearchPhase::Ended) return status_text::kWaiting;
  if (deviceIdentified) return status_text::kConnected;
  if (deniedPorts.empty()) return status_text::kNotFound;
  return std::string(status_text::kNotFound) + "\n" + PermissionText(deniedPorts);
}

std::string PermissionText(const std::vector<std::string>& ports) {
  // The command stands on a line of its own, whole, to be copied.
  return Listed(ports) +
         " を使用する権限がありません。\n"
         "次のコマンドでユーザーを dialout グループに追加し、ログインし直して下さい。\n"
         "sudo usermod -aG dialout $USER";
}

std::string PortLineText(SearchPhase phase, bool deviceIdentified, const std::string& port,
                         const std::vector<std::string>& searched) {
  if (deviceIdentified) return port + " で通信しています。";
  if (phase == SearchPhase::Ended) {
    return Listed(searched) + " を " + SearchSeconds() + "間探しました。";
  }
  if (phase == SearchPhase::Listening) {
    return port + " で年間プログラムタイマを探しています（最長 " + SearchSeconds() + "）。";
  }
  return {};
}

std::string PortGoneText(const std::string& port) {
  return port + " が切断されました。\nUSBケーブルを接続し直してから、もう一度実行して下さい。";
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
