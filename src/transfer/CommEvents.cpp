#include "transfer/CommEvents.h"

namespace tavrin {

std::optional<CommEventText> DescribeCommEvent(CommEventCode code) {
  switch (code) {
    case CommEventCode::Send:
      return CommEventText{3000, "データを送信中です", false};
    case CommEventCode::Receive:
      return CommEventText{3001, "データを受信中です", false};
    case CommEventCode::Cts:
      return CommEventText{3002, "ＣＴＳ信号が変化しました", false};
    case CommEventCode::Dsr:
      return CommEventText{3003, "ＤＳＲ信号が変化しました", false};
    case CommEventCode::Cd:
      return CommEventText{3004, "ＣＤ信号が変化しました", false};
    case CommEventCode::Ring:
      return CommEventText{3005, "呼び出し信号受信しました", false};
    case CommEventCode::Eof:
      return CommEventText{3006, "エンド オブ ファイルを検出しました", false};
    case CommEventCode::Break:
      return CommEventText{3007, "ブレーク信号を受信しました", true};
    case CommEventCode::CtsTimeout:
      return CommEventText{3008, "ＣＴＳタイムアウト", true};
    case CommEventCode::DsrTimeout:
      return CommEventText{3009, "ＤＳＲタイムアウト", true};
    case CommEventCode::Frame:
      return CommEventText{3010, "フレーミング エラー 検出", true};
    case CommEventCode::Overrun:
      return CommEventText{3011, "オーバーラン エラー 検出", true};
    case CommEventCode::CdTimeout:
      return CommEventText{3012, "ＣＤタイムアウト", true};
    case CommEventCode::RxOver:
      return CommEventText{3013, "受信バッファー オバーフロー", true};
    case CommEventCode::RxParity:
      return CommEventText{3014, "パリティ エラー 検出", true};
    case CommEventCode::TxFull:
      return CommEventText{3015, "送信バッファー フル", true};
    default:
      return std::nullopt;
  }
}

}  // namespace tavrin
