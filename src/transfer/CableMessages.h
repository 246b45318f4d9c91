// The texts of the two cable transfers: their checks before a dialog opens, the dialog's status
// line and the closing message.
#pragma once

#include <optional>
#include <string>

#include "transfer/CableDocument.h"
#include "transfer/PortSearch.h"

namespace tavrin {

inline constexpr char kCableWriteTitle[] = "ケーブル接続で書き込み";
inline constexpr char kCableReadTitle[] = "ケーブル接続で読み込み";

namespace status_text {
inline constexpr char kWaiting[] = "接続待ち";
inline constexpr char kConnected[] = "接続完了";
inline constexpr char kCommunicating[] = "通信中";
inline constexpr char kDone[] = "通信完了";
inline constexpr char kNoPort[] = "ポートが存在しません。";
inline constexpr char kNotFound[] = "接続するポートが見つかりません。";
}  // namespace status_text

// The message that stops a cable write before its dialog opens, or nothing when it may run.
// The caller has brought the modified flag up to date.
std::optional<std::string> CableWriteRefusal(const CableDocument& document);

// The dialog's status text once the search has moved: waiting, connected or not found.
std::string SearchStatusText(SearchPhase phase, bool deviceIdentified);

std::string CableWriteMessage(const std::string& settingsTitle);
std::string CableWriteSuccess(const std::string& settingsTitle);
std::string CableWriteFailure(const std::string& settingsTitle, const std::string& detail);
std::string CableReadMessage();
std::string CableWriteInstruction();
std::string CableReadInstruction();
std::string CableReadSuccess();
std::string CableReadFailure(const std::string& detail);

}  // namespace tavrin
