#include "transfer/LinkObserver.h"

#include "transfer/Frame.h"

namespace tavrin {

std::string_view AnswerText(uint8_t answerByte) {
  switch (answerByte) {
    case kACK:
      return "ACK";
    case kNAK:
      return "NAK";
    case kENQ:
      return "ENQ";
    default:
      return {};
  }
}

}  // namespace tavrin
