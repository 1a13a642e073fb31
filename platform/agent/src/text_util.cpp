#include "text_util.h"

#include <cstdint>

namespace agent {

bool IsValidUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t n = 0;
    std::uint32_t cp = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xe0) == 0xc0) {
      n = 1;
      cp = c & 0x1f;
    } else if ((c & 0xf0) == 0xe0) {
      n = 2;
      cp = c & 0x0f;
    } else if ((c & 0xf8) == 0xf0) {
      n = 3;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (i + n >= s.size()) return false;
    for (std::size_t k = 1; k <= n; ++k) {
      const auto d = static_cast<unsigned char>(s[i + k]);
      if ((d & 0xc0) != 0x80) return false;
      cp = (cp << 6) | (d & 0x3f);
    }
    // Overlong forms, surrogates and values past the last code point.
    if ((n == 1 && cp < 0x80) || (n == 2 && cp < 0x800) || (n == 3 && cp < 0x10000) ||
        (cp >= 0xd800 && cp <= 0xdfff) || cp > 0x10ffff)
      return false;
    i += n + 1;
  }
  return true;
}

std::size_t Utf8Offset(std::string_view s, std::size_t index) {
  std::size_t pos = 0;
  for (std::size_t k = 0; k < index && pos < s.size(); ++k) {
    ++pos;
    while (pos < s.size() && (static_cast<unsigned char>(s[pos]) & 0xc0) == 0x80) ++pos;
  }
  return pos;
}

}  // namespace agent
