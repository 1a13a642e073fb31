#include "dao/sql_text.h"

namespace dao {

std::string EscapeQuotes(std::string_view text) {
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
  for (char c : name)
    if (c != ']') out += c;
  return out + "]";
}

}  // namespace dao
