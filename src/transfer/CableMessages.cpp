#include "transfer/CableMessages.h"

#include <algorithm>
#include <utility>

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

std::string Seconds(LinkTimer limit) { return std::to_string(IntervalMs(limit) / 1000) + " 秒"; }

std::string SearchSeconds() { return Seconds(LinkTimer::SearchLimit); }

// A path as a shell takes it from a line copied whole.
std::string ShellWord(const std::string& path) {
  if (path.find_first_not_of(
          "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789/._-") ==
      std::string::npos) {
    return path;
  }
  std::string quoted = "'";
  for (char c : path) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string OwnedBy(const PortLock& lock) {
  return lock.owner.empty() ? "" : "、ユーザー " + lock.owner + " のファイル";
}

// The ports the user may not open, one paragraph for each group that would let the user in.
std::string PermissionText(const std::vector<RefusedPort>& ports) {
  std::vector<std::pair<std::string, std::vector<std::string>>> groups;
  for (const RefusedPort& port : ports) {
    if (port.refusal.error != PortOpenError::PermissionDenied) continue;
    auto same = std::find_if(groups.begin(), groups.end(),
                             [&](const auto& g) { return g.first == port.refusal.group; });
    if (same == groups.end()) same = groups.insert(groups.end(), {port.refusal.group, {}});
    same->second.push_back(port.name);
  }
  std::string text;
  for (const auto& [group, names] : groups) {
    text += (text.empty() ? "" : "\n") + Listed(names) + " を使用する権限がありません。\n";
    // The command stands on a line of its own, whole, to be copied.
    text += group.empty() ? "管理者に、このポートを使用する権限を依頼して下さい。"
                          : "次のコマンドでユーザーを " + group +
                                " グループに追加し、ログインし直して下さい。\nsudo usermod -aG " +
                                group + " $USER";
  }
  return text;
}

// Which program holds a lock: its process, command and user.
std::string Holder(const PortLock& lock) {
  std::string holder = "プロセス " + std::to_string(lock.pid);
  if (!lock.command.empty()) holder += " " + lock.command;
  if (!lock.owner.empty()) holder += "、ユーザー " + lock.owner;
  return holder;
}

std::string LockText(const RefusedPort& port) {
  const PortLock& lock = port.refusal.lock;
  const std::string remove = "\nsudo rm " + ShellWord(lock.file);
  if (lock.running) {
    return port.name + " は他のプログラムが使用中です（" + Holder(lock) +
           "）。\nそのプログラムを終了してから、もう一度実行して下さい。";
  }
  if (lock.pid != 0) {
    return port.name + " は、終了したプロセス " + std::to_string(lock.pid) +
           " のロックファイルで使用中のままです（" + lock.file + OwnedBy(lock) +
           "）。\n次のコマンドでロックファイルを削除してから、もう一度実行して下さい。" + remove;
  }
  return port.name + " はロックファイルで使用中になっています（" + lock.file + OwnedBy(lock) +
         "）。\nこのポートを使うプログラムが動いていなければ、次のコマンドでロックファイルを削除"
         "してから、もう一度実行して下さい。" +
         remove;
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

std::string NoPortStatusText(const std::vector<RefusedPort>& refused) {
  return refused.empty() ? status_text::kNoPort : RefusalText(refused);
}

std::string SearchStatusText(SearchPhase phase, bool deviceIdentified,
                             const std::vector<RefusedPort>& refused) {
  if (phase != SearchPhase::Ended) return status_text::kWaiting;
  if (deviceIdentified) return status_text::kConnected;
  if (refused.empty()) return status_text::kNotFound;
  return std::string(status_text::kNotFound) + "\n" + RefusalText(refused);
}

std::string RefusalText(const std::vector<RefusedPort>& ports) {
  std::string text = PermissionText(ports);
  for (const RefusedPort& port : ports) {
    if (port.refusal.error == PortOpenError::Locked) {
      text += (text.empty() ? "" : "\n") + LockText(port);
    }
  }
  return text;
}

std::string RefusalStatusLine(const PortRefusal& refusal) {
  switch (refusal.error) {
    case PortOpenError::PermissionDenied:
      return "ポートを使用する権限がありません" +
             (refusal.group.empty() ? "" : "（" + refusal.group + " グループ）");
    case PortOpenError::Locked:
      return refusal.lock.running
                 ? "ポートは他のプログラムが使用中です（" + Holder(refusal.lock) + "）"
                 : "ポートはロックファイルで使用中です（" + refusal.lock.file + "）";
    case PortOpenError::None:
    case PortOpenError::Other:
      break;
  }
  return {};
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

std::string StalledText() {
  return "年間プログラムタイマから " + Seconds(LinkTimer::NoProgress) +
         "間、転送の続きが届きませんでした。\n"
         "年間プログラムタイマの表示とケーブルの接続を確かめてから、もう一度実行して下さい。";
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
