// Where written bytes go, one piece at a time.
#pragma once

#include <cstddef>

namespace tavrin {

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // False when the bytes could not be taken; the writer then stops.
  virtual bool Write(const char* data, std::size_t size) = 0;
};

}  // namespace tavrin
