#include "SimLine.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace sim {
namespace {

speed_t Speed(int baud) {
  switch (baud) {
    case 9600:
      return B9600;
    case 19200:
      return B19200;
    case 38400:
      return B38400;
    default:
      return B19200;
  }
}

}  // namespace

SimLine::~SimLine() {
  if (fd_ >= 0) ::close(fd_);
  if (keepOpen_ >= 0) ::close(keepOpen_);
}

bool SimLine::Configure(std::string& error) {
  termios tio{};
  if (::tcgetattr(fd_, &tio) != 0) {
    error = std::string("tcgetattr: ") + std::strerror(errno);
    return false;
  }
  ::cfmakeraw(&tio);
  tio.c_cflag |= CLOCAL | CREAD;
  tio.c_cflag &= ~(CSTOPB | PARENB | CRTSCTS);
  ::cfsetispeed(&tio, Speed(baud_));
  ::cfsetospeed(&tio, Speed(baud_));
  if (::tcsetattr(fd_, TCSANOW, &tio) != 0) {
    error = std::string("tcsetattr: ") + std::strerror(errno);
    return false;
  }
  if (baud_ > 0) {
    // Start bit, 8 data bits, stop bit.
    byteTime_ = std::chrono::duration_cast<SteadyClock::duration>(
        std::chrono::duration<double>(10.0 / baud_));
  }
  return true;
}

bool SimLine::OpenDevice(const std::string& path, int baud, std::string& error) {
  baud_ = baud;
  fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (fd_ < 0) {
    error = path + ": " + std::strerror(errno);
    return false;
  }
  return Configure(error);
}

bool SimLine::CreatePty(int baud, std::string& path, std::string& error) {
  baud_ = baud;
  fd_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (fd_ < 0 || ::grantpt(fd_) != 0 || ::unlockpt(fd_) != 0) {
    error = std::string("pseudo-terminal: ") + std::strerror(errno);
    return false;
  }
  path = ::ptsname(fd_);
  keepOpen_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (keepOpen_ < 0) {
    error = path + ": " + std::strerror(errno);
    return false;
  }
  // The program's side starts raw too, in case it does not set it up itself.
  termios tio{};
  if (::tcgetattr(keepOpen_, &tio) == 0) {
    ::cfmakeraw(&tio);
    ::tcsetattr(keepOpen_, TCSANOW, &tio);
  }
  return Configure(error);
}

TimePoint SimLine::Write(std::span<const uint8_t> bytes) {
  std::size_t sent = 0;
  TimePoint start = std::max(SteadyClock::now(), outFree_);
  while (sent < bytes.size()) {
    std::size_t due = bytes.size();
    if (baud_ > 0) {
      // Byte i has crossed the wire at start + (i + 1) byte times.
      const auto now = SteadyClock::now();
      if (now < start + byteTime_ * static_cast<long>(sent + 1)) {
        std::this_thread::sleep_until(start + byteTime_ * static_cast<long>(sent + 1));
      }
      const auto elapsed = SteadyClock::now() - start;
      due = std::min<std::size_t>(bytes.size(), static_cast<std::size_t>(elapsed / byteTime_));
      due = std::max(due, sent + 1);
    }
    const ssize_t n = ::write(fd_, bytes.data() + sent, due - sent);
    if (n < 0) {
      if (errno == EAGAIN || errno == EINTR || errno == EIO) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        continue;
      }
      break;
    }
    if (trace_) trace_->Record("tx", bytes.subspan(sent, static_cast<std::size_t>(n)));
    sent += static_cast<std::size_t>(n);
  }
  bytesOut_ += static_cast<long>(sent);
  if (baud_ > 0) outFree_ = start + byteTime_ * static_cast<long>(bytes.size());
  return SteadyClock::now();
}

bool SimLine::Fill(TimePoint deadline) {
  for (;;) {
    const auto now = SteadyClock::now();
    if (now >= deadline) return false;
    const int wait = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count() + 1);
    pollfd p{fd_, POLLIN, 0};
    const int ready = ::poll(&p, 1, std::min(wait, 50));
    if (ready <= 0) continue;
    uint8_t buffer[4096];
    const ssize_t n = ::read(fd_, buffer, sizeof buffer);
    if (n <= 0) {
      // EIO while the program has its side closed (it does between ports).
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
      continue;
    }
    const auto read = SteadyClock::now();
    if (trace_) trace_->Record("rx", std::span(buffer, static_cast<std::size_t>(n)));
    bytesIn_ += n;
    TimePoint arrives = std::max(read, inFree_);
    for (ssize_t i = 0; i < n; ++i) {
      if (baud_ > 0) arrives += byteTime_;
      pending_.push_back({buffer[i], read, baud_ > 0 ? arrives : read});
    }
    if (baud_ > 0) inFree_ = arrives;
    return true;
  }
}

std::optional<Arrival> SimLine::ReadByte(TimePoint deadline) {
  if (pending_.empty() && !Fill(deadline)) return std::nullopt;
  const Pending next = pending_.front();
  if (next.arrives > deadline) {
    std::this_thread::sleep_until(deadline);
    return std::nullopt;
  }
  std::this_thread::sleep_until(next.arrives);
  pending_.pop_front();
  return Arrival{next.byte, next.read};
}

void SimLine::DropInput() {
  pending_.clear();
  uint8_t buffer[4096];
  while (::read(fd_, buffer, sizeof buffer) > 0) {
  }
}

}  // namespace sim
