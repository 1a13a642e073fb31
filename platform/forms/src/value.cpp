#include "forms/value.h"

#include <charconv>
#include <cmath>
#include <sstream>

#include "forms/errors.h"

namespace forms {

namespace {

template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};
// Spelt out for compilers that do not deduce an aggregate's arguments.
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

double ParseNumber(const std::string& s) {
  std::string t = s;
  while (!t.empty() && t.front() == ' ') t.erase(t.begin());
  while (!t.empty() && t.back() == ' ') t.pop_back();
  if (t.empty()) throw RuntimeError(err::TypeMismatch, "Type mismatch");
  double d = 0;
  auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), d);
  if (ec != std::errc() || p != t.data() + t.size())
    throw RuntimeError(err::TypeMismatch, "Type mismatch");
  return d;
}

}  // namespace

bool Value::ToBool() const {
  return std::visit(
      Overloaded{
          [](std::monostate) { return false; }, [](bool b) { return b; },
          [](std::int32_t i) { return i != 0; }, [](double d) { return d != 0.0; },
          [](const std::string& s) {
            if (s == "True" || s == "true") return true;
            if (s == "False" || s == "false") return false;
            return ParseNumber(s) != 0.0;
          },
          [](const Picture& p) { return static_cast<bool>(p); }, [](const Font&) { return true; },
          [](const ByteArray&) -> bool { throw RuntimeError(err::TypeMismatch, "Type mismatch"); }},
      v_);
}

double Value::ToDouble() const {
  return std::visit(
      Overloaded{
          [](std::monostate) { return 0.0; }, [](bool b) { return b ? -1.0 : 0.0; },
          [](std::int32_t i) { return static_cast<double>(i); }, [](double d) { return d; },
          [](const std::string& s) { return ParseNumber(s); },
          [](const Picture&) -> double { throw RuntimeError(err::TypeMismatch, "Type mismatch"); },
          [](const Font&) -> double { throw RuntimeError(err::TypeMismatch, "Type mismatch"); },
          [](const ByteArray&) -> double {
            throw RuntimeError(err::TypeMismatch, "Type mismatch");
          }},
      v_);
}

std::int32_t Value::ToLong() const {
  if (auto* i = std::get_if<std::int32_t>(&v_)) return *i;
  const double d = ToDouble();
  return static_cast<std::int32_t>(std::nearbyint(d));
}

std::string Value::ToString() const {
  return std::visit(
      Overloaded{[](std::monostate) { return std::string(); },
                 [](bool b) { return std::string(b ? "True" : "False"); },
                 [](std::int32_t i) { return std::to_string(i); },
                 [](double d) {
                   std::ostringstream os;
                   os.precision(15);
                   os << d;
                   return os.str();
                 },
                 [](const std::string& s) { return s; },
                 [](const Picture&) { return std::string(); }, [](const Font& f) { return f.Name; },
                 [](const ByteArray& b) { return std::string(b.begin(), b.end()); }},
      v_);
}

Picture Value::ToPicture() const {
  if (auto* p = std::get_if<Picture>(&v_)) return *p;
  // A stored empty picture reads back as an empty text.
  if (IsEmpty() || ToString().empty()) return {};
  throw RuntimeError(err::TypeMismatch, "Type mismatch: not a picture");
}

ByteArray Value::ToByteArray() const {
  if (auto* b = std::get_if<ByteArray>(&v_)) return *b;
  if (auto* s = std::get_if<std::string>(&v_)) return ByteArray(s->begin(), s->end());
  if (IsEmpty()) return {};
  throw RuntimeError(err::TypeMismatch, "Type mismatch: not a byte array");
}

Font Value::ToFont() const {
  if (auto* f = std::get_if<Font>(&v_)) return *f;
  if (IsEmpty()) return {};
  throw RuntimeError(err::TypeMismatch, "Type mismatch: not a font");
}

}  // namespace forms
