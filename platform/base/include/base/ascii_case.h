#pragma once

// Names that compare without regard to case: settings keys, property and
// field names, program ids, window classes, font faces, file suffixes. They
// fold only the ASCII letters, the same under every locale, so that a name
// stored by one user is found by every other; bytes past ASCII (UTF-8 text)
// compare exactly. Word-book text, which needs folding of accented letters,
// compares through the database engine's own collation instead.

#include <algorithm>
#include <string>
#include <string_view>

namespace base {

constexpr char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string AsciiLowerCopy(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

constexpr bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

constexpr bool StartsWithIgnoreAsciiCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         EqualsIgnoreAsciiCase(text.substr(0, prefix.size()), prefix);
}

constexpr bool EndsWithIgnoreAsciiCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         EqualsIgnoreAsciiCase(text.substr(text.size() - suffix.size()), suffix);
}

// An ordering for maps keyed by such names; bytes order as unsigned.
struct LessIgnoreAsciiCase {
  using is_transparent = void;
  constexpr bool operator()(std::string_view a, std::string_view b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
      return static_cast<unsigned char>(AsciiLower(x)) < static_cast<unsigned char>(AsciiLower(y));
    });
  }
};

}  // namespace base
