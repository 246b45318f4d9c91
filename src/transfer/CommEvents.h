// The texts the diagnostics dialog shows for the serial control's events and errors.
#pragma once

#include <optional>
#include <string>

namespace tavrin {

struct CommEventText {
  int id;  // string-table identifier, 3000..3015
  std::string text;
  bool error;  // errors beep
};

// Nothing for codes without a text.
std::optional<CommEventText> DescribeCommEvent(int commEvent);

}  // namespace tavrin
