// The texts of the two cable transfers: their checks before a dialog opens, the dialog's status
// line and the closing message.
#pragma once

#include <optional>
#include <string>
#include <vector>

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
inline constexpr char kDone[] = "通信完了";  // only once the transfer ended well
inline constexpr char kFailed[] = "通信失敗";
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

// A port as the dialogs name it: "COM1 (/dev/ttyUSB0)", or "COM1" when its device is not known.
std::string PortName(int port, const std::string& path);

// A port that exists but did not open, named as the dialogs name it, and why.
struct RefusedPort {
  std::string name;
  PortRefusal refusal;
};

// The dialog's status text when no port opens: there is none, or none the user may open.
std::string NoPortStatusText(const std::vector<RefusedPort>& refused);
// The dialog's status text once the search has moved: waiting, connected or not found; a search
// that found nothing says why the ports that exist did not open.
std::string SearchStatusText(SearchPhase phase, bool deviceIdentified,
                             const std::vector<RefusedPort>& refused = {});
// Ports that the user may not open, and how to be let in; ports another program holds, which
// program, and what to do.
std::string RefusalText(const std::vector<RefusedPort>& ports);
// The diagnostics window's status line when its connect finds the port refused; empty for any
// other reason.
std::string RefusalStatusLine(const PortRefusal& refusal);

// The line under the dialog's status that says which port: the one listened on and the search's
// time limit, the one in use once the timer answered, or those searched in vain. Empty while the
// search moves from one port to the next.
std::string PortLineText(SearchPhase phase, bool deviceIdentified, const std::string& port,
                         const std::vector<std::string>& searched);
// The failure detail of a transfer whose port went away, an adapter pulled out.
std::string PortGoneText(const std::string& port);
// The failure detail of a transfer the timer carried no further for the no-progress limit.
std::string StalledText();

std::string CableWriteMessage(const std::string& settingsTitle);
std::string CableWriteSuccess(const std::string& settingsTitle);
std::string CableWriteFailure(const std::string& settingsTitle, const std::string& detail);
std::string CableReadMessage();
std::string CableWriteInstruction();
std::string CableReadInstruction();
std::string CableReadSuccess();
std::string CableReadFailure(const std::string& detail);

}  // namespace tavrin
