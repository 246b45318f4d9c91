#include "TimerSession.h"

#include <thread>

#include "transfer/Frame.h"

namespace sim {
namespace {

using namespace std::chrono_literals;
using tavrin::kACK;
using tavrin::kENQ;
using tavrin::kNAK;

constexpr int kAnswerWaitMs = 500;
constexpr int kReplyWaitMs = 3000;
constexpr int kAttempts = 4;

}  // namespace

void TimerSession::SendFrame(const Bytes& data, const std::set<Fault>& faults, bool first) {
  Bytes wire = tavrin::BuildFrame(data);
  if (first && faults.count(Fault::Noise)) {
    const Bytes noise{0x00, 0xFF, 0x55, 0xAA, 0x03, 0x7E, 0x02};
    line_.Write(noise);
    std::this_thread::sleep_for(20ms);
  }
  if (first && faults.count(Fault::BadCheck)) wire.back() ^= 0xFF;
  if (first && faults.count(Fault::Interrupt)) {
    const std::size_t half = wire.size() / 2;
    line_.Write(std::span(wire).first(half));
    std::this_thread::sleep_for(300ms);
    checkSent_ = line_.Write(std::span(wire).subspan(half));
    return;
  }
  checkSent_ = line_.Write(wire);
}

TimerSession::Answer TimerSession::AwaitAnswer(int ms) {
  const auto deadline = SteadyClock::now() + std::chrono::milliseconds(ms);
  while (auto got = line_.ReadByte(deadline)) {
    if (got->byte == kACK) return Answer::Ack;
    if (got->byte == kNAK) return Answer::Nak;
  }
  return Answer::None;
}

std::optional<Bytes> TimerSession::AwaitReply(const std::set<Fault>& faults, TimePoint sentAt) {
  tavrin::FrameReader reader;
  bool refused = false;
  bool silent = false;
  const auto deadline = SteadyClock::now() + std::chrono::milliseconds(kReplyWaitMs);
  while (auto got = line_.ReadByte(deadline)) {
    switch (reader.Feed(got->byte)) {
      case tavrin::FrameReader::Event::Frame:
        if (faults.count(Fault::Nak) && !refused) {
          refused = true;
          lastAnswer_ = kNAK;
          line_.Write(Bytes{kNAK});
          continue;
        }
        if (faults.empty()) {
          timings_.push_back(
              {std::chrono::duration<double, std::milli>(got->read - sentAt).count()});
        }
        lastAnswer_ = kACK;
        if (faults.count(Fault::NoAck) && !silent) {
          // Say nothing: the program asks with ENQ after its answer time and gets the ACK.
          silent = true;
          const auto enqBy = SteadyClock::now() + std::chrono::milliseconds(kReplyWaitMs);
          while (auto asked = line_.ReadByte(enqBy)) {
            if (asked->byte == kENQ) break;
          }
        }
        line_.Write(Bytes{kACK});
        return Bytes(reader.Data().begin(), reader.Data().end());
      case tavrin::FrameReader::Event::BadCheck:
        lastAnswer_ = kNAK;
        line_.Write(Bytes{kNAK});
        break;
      case tavrin::FrameReader::Event::Control:
        if (reader.Control() == kENQ && lastAnswer_ != 0) line_.Write(Bytes{lastAnswer_});
        break;
      case tavrin::FrameReader::Event::None:
      case tavrin::FrameReader::Event::Progress:
      case tavrin::FrameReader::Event::Overflow:
        break;
    }
  }
  return std::nullopt;
}

std::optional<Bytes> TimerSession::Command(const Bytes& data, const std::set<Fault>& faults) {
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    SendFrame(data, faults, attempt == 0);
    Answer answer = AwaitAnswer(kAnswerWaitMs);
    if (answer == Answer::None) {
      // Ask what became of the frame; the program repeats its last answer.
      line_.Write(Bytes{kENQ});
      answer = AwaitAnswer(kAnswerWaitMs);
    }
    if (answer != Answer::Ack) continue;
    if (auto reply = AwaitReply(faults, checkSent_)) return reply;
    error_ = "no reply frame";
    return std::nullopt;
  }
  error_ = "the frame was never acknowledged";
  return std::nullopt;
}

bool TimerSession::Identify(const std::string& text, int seconds) {
  const auto deadline = SteadyClock::now() + std::chrono::seconds(seconds);
  Bytes data{'Q'};
  data.insert(data.end(), text.begin(), text.end());
  while (SteadyClock::now() < deadline) {
    SendFrame(data, {}, false);
    if (AwaitAnswer(kAnswerWaitMs) != Answer::Ack) continue;
    auto reply = AwaitReply({}, checkSent_);
    if (reply && *reply == Bytes{'Q', '0'}) return true;
  }
  error_ = "the program never answered the identification";
  return false;
}

}  // namespace sim
