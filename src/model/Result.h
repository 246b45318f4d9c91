// The one shape in which the core reports an operation that can fail: a value, or the message
// that tells the user why not (UTF-8). The UI and the command-line tool only show the message.
#pragma once

#include <cassert>
#include <optional>
#include <string>
#include <utility>

namespace tavrin {

// Why an operation failed, in the words shown to the user.
struct Failure {
  std::string message;
};

inline Failure Fail(std::string message) { return Failure{std::move(message)}; }

// [[nodiscard]]: a dropped result is how a failed write once reported success.
template <class T = void>
class [[nodiscard]] Result {
 public:
  Result(T value) : value_(std::move(value)) {}  // NOLINT: implicit on purpose, as for optional
  Result(Failure failure) : message_(std::move(failure.message)) {}  // NOLINT

  bool ok() const { return value_.has_value(); }
  explicit operator bool() const { return ok(); }
  // Empty when the operation succeeded.
  const std::string& message() const { return message_; }

  T& value() & {
    assert(ok());
    return *value_;
  }
  const T& value() const& {
    assert(ok());
    return *value_;
  }
  T&& value() && {
    assert(ok());
    return std::move(*value_);
  }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }

 private:
  std::optional<T> value_;
  std::string message_;
};

template <>
class [[nodiscard]] Result<void> {
 public:
  Result() = default;
  Result(Failure failure) : failed_(true), message_(std::move(failure.message)) {}  // NOLINT

  bool ok() const { return !failed_; }
  explicit operator bool() const { return ok(); }
  const std::string& message() const { return message_; }

 private:
  bool failed_ = false;
  std::string message_;
};

}  // namespace tavrin
