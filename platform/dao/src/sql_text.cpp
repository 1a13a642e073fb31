#include "dao/sql_text.h"

namespace dao {

namespace {

// A typed text ends at a NUL (pasted from a binary file, say): the engine's
// SQL text ends there too, so what follows would leave the query unclosed.
std::string_view UpToNul(std::string_view text) {
  return text.substr(0, text.find('\0'));
}

}  // namespace

std::string EscapeQuotes(std::string_view text) {
  text = UpToNul(text);
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '\'') out += '\'';
    out += c;
  }
  return out;
}

std::string Quote(std::string_view text) {
  return "'" + EscapeQuotes(text) + "'";
}

namespace {

std::string EscapeLike(std::string_view text, bool keepWildcards) {
  text = UpToNul(text);
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '\'') {
      out += "''";
    } else if (c == '[' || (!keepWildcards && (c == '*' || c == '?' || c == '#'))) {
      out += '[';
      out += c;
      out += ']';
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

std::string LikeLiteral(std::string_view text) {
  return EscapeLike(text, false);
}

std::string LikePattern(std::string_view text) {
  return EscapeLike(text, true);
}

std::string Identifier(std::string_view name) {
  std::string out = "[";
  for (char c : UpToNul(name))
    if (c != ']') out += c;
  return out + "]";
}

}  // namespace dao
