// The texts the diagnostics dialog shows for the serial line's events and errors.
#pragma once

#include <optional>
#include <string_view>

#include "transfer/SerialTransport.h"

namespace tavrin {

struct CommEventText {
  int id;  // string-table identifier, 3000..3015
  std::string_view text;
  bool error;  // errors beep
};

// Nothing for codes without a text.
std::optional<CommEventText> DescribeCommEvent(CommEventCode code);

}  // namespace tavrin
