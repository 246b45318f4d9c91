#include "model/Messages.h"

namespace tavrin {

std::string FormatMessage(const std::string& pattern, const std::string& value) {
  std::string text = pattern;
  std::size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, value);
  return text;
}

}  // namespace tavrin
