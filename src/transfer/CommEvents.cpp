#include "transfer/CommEvents.h"

#include "transfer/SerialControl.h"

namespace tavrin {

std::optional<CommEventText> DescribeCommEvent(int commEvent) {
  switch (commEvent) {
    case comm::kSend:
      return CommEventText{3000, "データを送信中です", false};
    case comm::kReceive:
      return CommEventText{3001, "データを受信中です", false};
    case comm::kCts:
      return CommEventText{3002, "ＣＴＳ信号が変化しました", false};
    case comm::kDsr:
      return CommEventText{3003, "ＤＳＲ信号が変化しました", false};
    case comm::kCd:
      return CommEventText{3004, "ＣＤ信号が変化しました", false};
    case comm::kRing:
      return CommEventText{3005, "呼び出し信号受信しました", false};
    case comm::kEof:
      return CommEventText{3006, "エンド オブ ファイルを検出しました", false};
    case comm::kBreak:
      return CommEventText{3007, "ブレーク信号を受信しました", true};
    case comm::kCtsTimeout:
      return CommEventText{3008, "ＣＴＳタイムアウト", true};
    case comm::kDsrTimeout:
      return CommEventText{3009, "ＤＳＲタイムアウト", true};
    case comm::kFrame:
      return CommEventText{3010, "フレーミング エラー 検出", true};
    case comm::kOverrun:
      return CommEventText{3011, "オーバーラン エラー 検出", true};
    case comm::kCdTimeout:
      return CommEventText{3012, "ＣＤタイムアウト", true};
    case comm::kRxOver:
      return CommEventText{3013, "受信バッファー オバーフロー", true};
    case comm::kRxParity:
      return CommEventText{3014, "パリティ エラー 検出", true};
    case comm::kTxFull:
      return CommEventText{3015, "送信バッファー フル", true};
    default:
      return std::nullopt;
  }
}

}  // namespace tavrin
