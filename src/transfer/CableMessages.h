// The texts of the two cable transfers: their checks before a dialog opens, the dialog's status
// line and the closing message.
#pragma once

#include <optional>
#include <string>

#include "model/Result.h"
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

inline constexpr char kNothingEntered[] = "プログラム設定データが入力されていません。";
inline constexpr char kCableSaveFirst[] =
    "ケーブル接続で書き込みを実行するには、プログラム設定データの保存が必要です。\n\n"
    "保存後、再度実行して下さい。\n";

// The message that stops a write to the timer before its dialog opens, or nothing when it may
// run: something must have been entered, and saved (else `saveFirst`). The caller has brought
// the modified flag up to date.
std::optional<std::string> WriteRefusal(const CableDocument& document, const char* saveFirst);

// The saved file as a cable write serves it, or the message that stops the write. The file on
// disk must still be the document's image, else it is as good as unsaved; the copy checked here
// is what the timer gets, whatever happens to the file later.
Result<SettingsImage> CheckedWriteSource(const CableDocument& document);

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
