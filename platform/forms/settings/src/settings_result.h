#pragma once

// A value or the reason there is none: how the store's file steps report
// failure without exceptions.

#include <string>
#include <utility>
#include <variant>

namespace forms::settings_detail {

struct Failure {
  std::string message;
};

template <typename T>
class Expected {
 public:
  Expected(T value) : state_(std::move(value)) {}            // NOLINT: implicit by design
  Expected(Failure failure) : state_(std::move(failure)) {}  // NOLINT

  bool has_value() const { return std::holds_alternative<T>(state_); }
  explicit operator bool() const { return has_value(); }
  T& operator*() { return std::get<T>(state_); }
  T* operator->() { return &std::get<T>(state_); }
  const T& operator*() const { return std::get<T>(state_); }
  const T* operator->() const { return &std::get<T>(state_); }
  const std::string& error() const { return std::get<Failure>(state_).message; }

 private:
  std::variant<T, Failure> state_;
};

// A step that yields nothing but may fail.
using Outcome = Expected<std::monostate>;
inline Outcome Success() {
  return std::monostate{};
}

}  // namespace forms::settings_detail
