#include "settings_text.h"

#include <array>

namespace forms::settings_detail {

namespace {

constexpr std::array<char, 16> kHexDigits = {'0', '1', '2', '3', '4', '5', '6', '7',
                                             '8', '9', 'A', 'B', 'C', 'D', 'E', 'F'};

bool InRange(unsigned char c, unsigned char low, unsigned char high) {
  return c >= low && c <= high;
}

bool IsControl(unsigned char c) {
  return c < 0x20 || c == 0x7F;
}

void AppendHex(std::string& out, std::string_view prefix, unsigned char byte) {
  out += prefix;
  out += kHexDigits[byte >> 4];
  out += kHexDigits[byte & 0x0F];
}

std::optional<unsigned char> HexValue(char c) {
  if (c >= '0' && c <= '9') return static_cast<unsigned char>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<unsigned char>(c - 'A' + 10);
  if (c >= 'a' && c <= 'f') return static_cast<unsigned char>(c - 'a' + 10);
  return std::nullopt;
}

std::optional<unsigned char> HexByte(std::string_view text, std::size_t pos) {
  if (pos + 2 > text.size()) return std::nullopt;
  auto high = HexValue(text[pos]);
  auto low = HexValue(text[pos + 1]);
  if (!high || !low) return std::nullopt;
  return static_cast<unsigned char>((*high << 4) | *low);
}

// Shared by keys and values; keys also escape "=" and a leading comment or
// section mark so that a key line can never be taken for something else.
std::string EscapeText(std::string_view text, bool isKey) {
  std::string out;
  out.reserve(text.size() + 8);
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const bool atEdge = i == 0 || i + 1 == text.size();
    if (c >= 0x80) {
      const std::size_t n = Utf8SequenceLength(text, i);
      if (n == 0) {
        AppendHex(out, "\\x", c);
        ++i;
      } else {
        out.append(text.substr(i, n));
        i += n;
      }
      continue;
    }
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      case ' ':
        out += atEdge ? "\\s" : " ";
        break;
      case '=':
        out += isKey ? "\\=" : "=";
        break;
      case '[':
      case '#':
      case ';':
        if (isKey && i == 0) out += '\\';
        out += static_cast<char>(c);
        break;
      default:
        if (IsControl(c)) {
          AppendHex(out, "\\x", c);
        } else {
          out += static_cast<char>(c);
        }
    }
    ++i;
  }
  return out;
}

}  // namespace

std::size_t Utf8SequenceLength(std::string_view text, std::size_t pos) {
  const auto at = [&](std::size_t k) { return static_cast<unsigned char>(text[pos + k]); };
  const std::size_t left = text.size() - pos;
  const unsigned char b0 = at(0);
  if (b0 < 0x80) return 1;
  const auto cont = [&](std::size_t k) { return k < left && InRange(at(k), 0x80, 0xBF); };
  if (InRange(b0, 0xC2, 0xDF)) return cont(1) ? 2 : 0;
  if (InRange(b0, 0xE0, 0xEF)) {
    if (left < 3) return 0;
    const unsigned char b1 = at(1);
    const bool secondOk = b0 == 0xE0   ? InRange(b1, 0xA0, 0xBF)
                          : b0 == 0xED ? InRange(b1, 0x80, 0x9F)
                                       : InRange(b1, 0x80, 0xBF);
    return secondOk && cont(2) ? 3 : 0;
  }
  if (InRange(b0, 0xF0, 0xF4)) {
    if (left < 4) return 0;
    const unsigned char b1 = at(1);
    const bool secondOk = b0 == 0xF0   ? InRange(b1, 0x90, 0xBF)
                          : b0 == 0xF4 ? InRange(b1, 0x80, 0x8F)
                                       : InRange(b1, 0x80, 0xBF);
    return secondOk && cont(2) && cont(3) ? 4 : 0;
  }
  return 0;
}

bool IsValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = Utf8SequenceLength(text, i);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

std::string EscapeKey(std::string_view key) {
  return EscapeText(key, true);
}
std::string EscapeValue(std::string_view value) {
  return EscapeText(value, false);
}

std::optional<std::string> Unescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) return std::nullopt;
    switch (text[i]) {
      case '\\':
        out += '\\';
        break;
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      case 't':
        out += '\t';
        break;
      case 's':
        out += ' ';
        break;
      case '=':
      case '[':
      case '#':
      case ';':
        out += text[i];
        break;
      case 'x': {
        auto byte = HexByte(text, i + 1);
        if (!byte) return std::nullopt;
        out += static_cast<char>(*byte);
        i += 2;
        break;
      }
      default:
        return std::nullopt;
    }
  }
  return out;
}

std::string EscapeName(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (std::size_t i = 0; i < name.size();) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (c >= 0x80) {
      const std::size_t n = Utf8SequenceLength(name, i);
      if (n == 0) {
        AppendHex(out, "%", c);
        ++i;
      } else {
        out.append(name.substr(i, n));
        i += n;
      }
      continue;
    }
    const bool blankAtEdge = c == ' ' && (i == 0 || i + 1 == name.size());
    if (c == '%' || c == '\\' || c == '[' || c == ']' || IsControl(c) || blankAtEdge) {
      AppendHex(out, "%", c);
    } else {
      out += static_cast<char>(c);
    }
    ++i;
  }
  return out;
}

std::optional<std::string> UnescapeName(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\\' || c == '[' || c == ']') return std::nullopt;
    if (c != '%') {
      out += c;
      continue;
    }
    auto byte = HexByte(text, i + 1);
    if (!byte) return std::nullopt;
    out += static_cast<char>(*byte);
    i += 2;
  }
  return out;
}

}  // namespace forms::settings_detail
