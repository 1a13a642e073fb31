#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "forms/font.h"
#include "forms/picture.h"

namespace forms {

// A byte array value: the contents of a nested property bag, or raw data.
using ByteArray = std::vector<std::uint8_t>;

// A property value as form descriptions and property bags carry it.
class Value {
 public:
  using Storage = std::variant<std::monostate, bool, std::int32_t, double, std::string, Picture,
                               Font, ByteArray>;

  Value() = default;
  Value(bool v) : v_(v) {}
  Value(int v) : v_(static_cast<std::int32_t>(v)) {}
  Value(long v) : v_(static_cast<std::int32_t>(v)) {}
  Value(double v) : v_(v) {}
  Value(float v) : v_(static_cast<double>(v)) {}
  Value(const char* v) : v_(std::string(v)) {}
  Value(std::string v) : v_(std::move(v)) {}
  Value(std::string_view v) : v_(std::string(v)) {}
  Value(Picture v) : v_(std::move(v)) {}
  Value(Font v) : v_(std::move(v)) {}
  Value(ByteArray v) : v_(std::move(v)) {}

  bool IsEmpty() const { return std::holds_alternative<std::monostate>(v_); }
  // Conversions follow the runtime's rules: numbers from text, True is -1.
  bool ToBool() const;
  std::int32_t ToLong() const;
  double ToDouble() const;
  std::string ToString() const;
  Picture ToPicture() const;
  Font ToFont() const;
  bool IsByteArray() const { return std::holds_alternative<ByteArray>(v_); }
  // A byte array as it is; text as its bytes; anything else is a mismatch.
  ByteArray ToByteArray() const;
  const Storage& Raw() const { return v_; }
  friend bool operator==(const Value&, const Value&) = default;

 private:
  Storage v_;
};

}  // namespace forms
