#include "com/guid.h"

#include <cctype>
#include <cstdio>

namespace com {

std::string ToString(const GUID& g) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1,
                g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4],
                g.Data4[5], g.Data4[6], g.Data4[7]);
  return buf;
}

std::optional<GUID> GuidFromString(std::string_view text) {
  if (text.size() == 38 && text.front() == '{' && text.back() == '}') text = text.substr(1, 36);
  if (text.size() != 36) return std::nullopt;
  std::string digits;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
    if (dash != (text[i] == '-')) return std::nullopt;
    if (dash) continue;
    if (!std::isxdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
    digits += text[i];
  }
  auto hex = [&](std::size_t at, std::size_t n) {
    return static_cast<std::uint32_t>(std::stoul(digits.substr(at, n), nullptr, 16));
  };
  GUID g;
  g.Data1 = hex(0, 8);
  g.Data2 = static_cast<std::uint16_t>(hex(8, 4));
  g.Data3 = static_cast<std::uint16_t>(hex(12, 4));
  for (std::size_t i = 0; i < 8; ++i) g.Data4[i] = static_cast<std::uint8_t>(hex(16 + 2 * i, 2));
  return g;
}

}  // namespace com
