#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "forms/font.h"
#include "forms/picture.h"

namespace forms {

// A property value as form descriptions and property bags carry it.
class Value {
 public:
  using Storage =
      std::variant<std::monostate, bool, std::int32_t, double, std::string, Picture, Font>;

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

  bool IsEmpty() const { return std::holds_alternative<std::monostate>(v_); }
  // Conversions follow the runtime's rules: numbers from text, True is -1.
  bool ToBool() const;
  std::int32_t ToLong() const;
  double ToDouble() const;
  std::string ToString() const;
  Picture ToPicture() const;
  Font ToFont() const;
  const Storage& Raw() const { return v_; }
  friend bool operator==(const Value&, const Value&) = default;

 private:
  Storage v_;
};

}  // namespace forms
