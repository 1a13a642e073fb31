#include "jet_sql.h"

#include <cctype>
#include <vector>

#include "base/ascii_case.h"
#include "dao/error.h"
#include "jet_text.h"

namespace dao::jet {

namespace {

enum class Kind { kWord, kName, kString, kNumber, kSymbol };

struct Token {
  Kind kind;
  std::string text;  // a word or symbol as written; a name or string unquoted
};

bool IsWordStart(unsigned char c) {
  return std::isalpha(c) || c == '_' || c >= 0x80;
}
bool IsWordPart(unsigned char c) {
  return std::isalnum(c) || c == '_' || c >= 0x80;
}

bool Is(const Token& t, std::string_view word) {
  return t.kind == Kind::kWord && base::EqualsIgnoreAsciiCase(t.text, word);
}

bool IsSymbol(const Token& t, std::string_view s) {
  return t.kind == Kind::kSymbol && t.text == s;
}

[[noreturn]] void SyntaxError(std::string_view sql) {
  Raise(err::kSyntax, std::string(sql));
}

std::vector<Token> Tokenize(std::string_view sql) {
  std::vector<Token> tokens;
  std::size_t i = 0;
  const auto at = [&](std::size_t k) -> unsigned char { return k < sql.size() ? sql[k] : 0; };
  while (i < sql.size()) {
    const unsigned char c = sql[i];
    if (std::isspace(c)) {
      ++i;
    } else if (c == '\'' || c == '"') {
      // A quote inside is written twice.
      std::string value;
      std::size_t k = i + 1;
      for (;;) {
        if (k >= sql.size()) SyntaxError(sql);
        if (sql[k] == static_cast<char>(c)) {
          if (at(k + 1) == c) {
            value += static_cast<char>(c);
            k += 2;
            continue;
          }
          break;
        }
        value += sql[k++];
      }
      tokens.push_back({Kind::kString, std::move(value)});
      i = k + 1;
    } else if (c == '[') {
      const std::size_t close = sql.find(']', i + 1);
      if (close == std::string_view::npos || close == i + 1) SyntaxError(sql);
      tokens.push_back({Kind::kName, std::string(sql.substr(i + 1, close - i - 1))});
      i = close + 1;
    } else if (c == '#') {
      // A date literal; SQLite keeps dates as text.
      const std::size_t close = sql.find('#', i + 1);
      if (close == std::string_view::npos) SyntaxError(sql);
      tokens.push_back({Kind::kString, std::string(sql.substr(i + 1, close - i - 1))});
      i = close + 1;
    } else if (std::isdigit(c) || (c == '.' && std::isdigit(at(i + 1)))) {
      std::size_t k = i;
      while (std::isdigit(at(k)) || at(k) == '.') ++k;
      if ((at(k) == 'e' || at(k) == 'E') &&
          (std::isdigit(at(k + 1)) ||
           ((at(k + 1) == '+' || at(k + 1) == '-') && std::isdigit(at(k + 2))))) {
        k += 2;
        while (std::isdigit(at(k))) ++k;
      }
      tokens.push_back({Kind::kNumber, std::string(sql.substr(i, k - i))});
      i = k;
    } else if (IsWordStart(c)) {
      std::size_t k = i;
      while (k < sql.size() && IsWordPart(sql[k])) ++k;
      tokens.push_back({Kind::kWord, std::string(sql.substr(i, k - i))});
      i = k;
    } else {
      static constexpr std::string_view kPairs[] = {"<=", ">=", "<>", "!="};
      std::string sym(1, static_cast<char>(c));
      for (std::string_view p : kPairs)
        if (sql.substr(i, 2) == p) sym = p;
      // SQLite's parameter signs have no meaning in the engine's dialect.
      static constexpr std::string_view kAllowed = "=<>!(),.*+-/\\;&^";
      if (sym.size() == 1 && kAllowed.find(static_cast<char>(c)) == std::string_view::npos)
        SyntaxError(sql);
      tokens.push_back({Kind::kSymbol, sym});
      i += sym.size();
    }
  }
  return tokens;
}

std::string QuoteString(std::string_view s) {
  std::string out = "'";
  for (char c : s) {
    if (c == '\'') out += '\'';
    out += c;
  }
  return out + "'";
}

std::string Collated(std::string_view s) {
  return QuoteString(s) + " COLLATE " + kCollation;
}

// Renders one token as SQLite text.
std::string Render(const Token& t, bool collateStrings) {
  switch (t.kind) {
    case Kind::kName:
      return QuoteName(t.text);
    case Kind::kString:
      return collateStrings ? Collated(t.text) : QuoteString(t.text);
    case Kind::kWord:
      if (Is(t, "TRUE")) return "-1";
      if (Is(t, "FALSE")) return "0";
      return t.text;
    case Kind::kSymbol:
      if (t.text == "&") return "||";
      if (t.text == "\\") return "/";  // integer division, near enough
      return t.text;
    case Kind::kNumber:
      return t.text;
  }
  return t.text;
}

bool IsColumnRef(const std::vector<Token>& tokens, std::size_t first, std::size_t last) {
  const auto name = [&](std::size_t k) {
    return tokens[k].kind == Kind::kName || tokens[k].kind == Kind::kWord;
  };
  if (first == last) return name(first);
  return last == first + 2 && name(first) && IsSymbol(tokens[first + 1], ".") && name(last);
}

// Tokens before which an operand stands on its own, so that a rewritten
// comparison keeps its place in the expression.
bool OpensOperand(const Token& t) {
  return IsSymbol(t, "(") || IsSymbol(t, ",") || Is(t, "WHERE") || Is(t, "AND") || Is(t, "OR") ||
         Is(t, "ON") || Is(t, "HAVING") || Is(t, "WHEN") || Is(t, "THEN") || Is(t, "ELSE") ||
         Is(t, "SELECT");
}

bool ClosesOperand(const Token& t) {
  return IsSymbol(t, ")") || IsSymbol(t, ",") || Is(t, "AND") || Is(t, "OR") || Is(t, "ORDER") ||
         Is(t, "GROUP") || Is(t, "HAVING") || Is(t, "THEN") || Is(t, "ELSE") || Is(t, "END") ||
         Is(t, "UNION");
}

bool IsClauseWord(const Token& t) {
  return Is(t, "WHERE") || Is(t, "ORDER") || Is(t, "GROUP") || Is(t, "HAVING") || Is(t, "UNION") ||
         Is(t, "INNER") || Is(t, "LEFT") || Is(t, "RIGHT") || Is(t, "JOIN");
}

bool IsTextType(const Token& t) {
  return Is(t, "TEXT") || Is(t, "CHAR") || Is(t, "VARCHAR") || Is(t, "MEMO") || Is(t, "LONGTEXT") ||
         Is(t, "STRING") || Is(t, "LONGCHAR") || Is(t, "NOTE");
}

std::string Join(const std::vector<std::string>& parts, std::size_t from, std::size_t to) {
  std::string out;
  for (std::size_t k = from; k < to; ++k) {
    if (!out.empty()) out += ' ';
    out += parts[k];
  }
  return out;
}

}  // namespace

std::string QuoteName(std::string_view name) {
  // Backquotes, not double quotes: SQLite reads a double-quoted name that
  // matches no column as a string, so a misspelt column would quietly
  // compare a constant instead of failing.
  std::string out = "`";
  for (char c : name) {
    if (c == '`') out += '`';
    out += c;
  }
  return out + "`";
}

std::optional<std::string> BareName(std::string_view source) {
  std::vector<Token> tokens;
  try {
    tokens = Tokenize(source);
  } catch (const Error&) {
    // Not a name: the source is SQL, whose errors its own execution reports.
    return std::nullopt;
  }
  if (tokens.size() == 1 && (tokens[0].kind == Kind::kWord || tokens[0].kind == Kind::kName))
    return tokens[0].text;
  return std::nullopt;
}

Statement Translate(std::string_view jetSql) {
  std::vector<Token> tokens = Tokenize(jetSql);
  for (std::size_t k = 0; k < tokens.size(); ++k) {
    if (IsSymbol(tokens[k], ";")) {
      if (k + 1 != tokens.size()) Raise(err::kTrailingCharacters);
      tokens.pop_back();
    }
  }
  if (tokens.empty()) SyntaxError(jetSql);

  Statement st;
  st.isSelect = Is(tokens[0], "SELECT");
  const bool dml = st.isSelect || Is(tokens[0], "UPDATE") || Is(tokens[0], "DELETE");

  // DISTINCTROW means nothing to SQLite; TOP n becomes LIMIT n.
  std::string limit;
  if (st.isSelect) {
    std::size_t k = 1;
    if (k < tokens.size() && Is(tokens[k], "DISTINCTROW")) tokens.erase(tokens.begin() + k);
    if (k < tokens.size() && Is(tokens[k], "DISTINCT")) ++k;
    if (k + 1 < tokens.size() && Is(tokens[k], "TOP") && tokens[k + 1].kind == Kind::kNumber) {
      limit = tokens[k + 1].text;
      tokens.erase(tokens.begin() + k, tokens.begin() + k + 2);
    }
  }

  // Render, token by token; parts[k] is the text of tokens[k].
  std::vector<std::string> parts(tokens.size());
  std::vector<bool> collateAfter(tokens.size() + 1, false);
  const bool createTable = tokens.size() > 1 && Is(tokens[0], "CREATE") && Is(tokens[1], "TABLE");
  int depth = 0;
  bool inOrderBy = false;
  bool termCollated = false;
  const auto closeOrderTerm = [&](std::size_t at) {
    // Give the term just ended the engine's text order, unless it has one.
    if (!termCollated && at > 0) parts[at - 1] += std::string(" COLLATE ") + kCollation;
    termCollated = false;
  };
  for (std::size_t k = 0; k < tokens.size(); ++k) {
    const Token& t = tokens[k];
    if (IsSymbol(t, "(")) ++depth;
    if (IsSymbol(t, ")")) --depth;
    if (depth < 0) SyntaxError(jetSql);
    parts[k] = Render(t, dml);
    if (collateAfter[k]) parts[k] += std::string(" COLLATE ") + kCollation;

    // A text column made here compares as the engine's text does.
    if (createTable && depth == 1 && IsTextType(t) && k >= 2 &&
        (IsSymbol(tokens[k - 2], "(") || IsSymbol(tokens[k - 2], ","))) {
      if (k + 3 < tokens.size() && IsSymbol(tokens[k + 1], "(") && IsSymbol(tokens[k + 3], ")"))
        collateAfter[k + 3] = true;
      else
        parts[k] += std::string(" COLLATE ") + kCollation;
    }

    if (depth == 0 && Is(t, "ORDER") && k + 1 < tokens.size() && Is(tokens[k + 1], "BY")) {
      parts[k + 1] = tokens[k + 1].text;
      ++k;
      inOrderBy = true;
      termCollated = false;
      continue;
    }
    if (inOrderBy && depth == 0) {
      if (Is(t, "COLLATE")) termCollated = true;
      if (IsSymbol(t, ",")) {
        closeOrderTerm(k);
      } else if (Is(t, "ASC") || Is(t, "DESC")) {
        closeOrderTerm(k);
        termCollated = true;  // already closed
      }
    }

    // column LIKE 'pattern'
    if (Is(t, "LIKE") && k + 1 < tokens.size() && tokens[k + 1].kind == Kind::kString) {
      const std::string& pattern = tokens[k + 1].text;
      std::size_t colFirst = k, colLast = k - 1;
      if (k >= 1) colFirst = k - 1;
      if (k >= 3 && IsSymbol(tokens[k - 2], ".")) colFirst = k - 3;
      const bool column = k >= 1 && IsColumnRef(tokens, colFirst, colLast);
      const bool before = column && (colFirst == 0 || OpensOperand(tokens[colFirst - 1]));
      const bool after = k + 2 >= tokens.size() || ClosesOperand(tokens[k + 2]);
      parts[k + 1] = QuoteString(pattern);
      const PrefixRange range = RangeForPrefix(LiteralPrefix(pattern));
      if (before && after && !range.lower.empty()) {
        const std::string col = Join(parts, colFirst, colLast + 1);
        std::string bounds = "( " + col + " >= " + Collated(range.lower);
        if (!range.upper.empty()) bounds += " AND " + col + " < " + Collated(range.upper);
        parts[colFirst] = bounds + " AND " + parts[colFirst];
        parts[k + 1] += " )";
      }
      ++k;
      continue;
    }
  }
  if (depth != 0) SyntaxError(jetSql);
  if (inOrderBy) closeOrderTerm(tokens.size());

  st.sql = Join(parts, 0, parts.size());
  if (!limit.empty()) st.sql += " LIMIT " + limit;

  // An updatable source: SELECT list FROM one table [WHERE ...] [ORDER BY ...].
  if (st.isSelect && limit.empty() && !(tokens.size() > 1 && Is(tokens[1], "DISTINCT"))) {
    std::size_t from = 0;
    depth = 0;
    bool simple = true;
    for (std::size_t k = 1; k < tokens.size(); ++k) {
      if (IsSymbol(tokens[k], "(")) ++depth;
      if (IsSymbol(tokens[k], ")")) --depth;
      if (depth != 0) continue;
      if (Is(tokens[k], "FROM") && from == 0) from = k;
      if (Is(tokens[k], "GROUP") || Is(tokens[k], "HAVING") || Is(tokens[k], "UNION") ||
          Is(tokens[k], "JOIN") || Is(tokens[k], "SELECT"))
        simple = false;
    }
    std::size_t k = from + 1;
    if (simple && from > 1 && k < tokens.size() &&
        (tokens[k].kind == Kind::kWord || tokens[k].kind == Kind::kName) &&
        !IsClauseWord(tokens[k])) {
      const std::string table = tokens[k].text;
      std::string ref = QuoteName(table);
      ++k;
      if (k < tokens.size() && Is(tokens[k], "AS")) ++k;
      if (k < tokens.size() && (tokens[k].kind == Kind::kWord || tokens[k].kind == Kind::kName) &&
          !IsClauseWord(tokens[k])) {
        ref = QuoteName(tokens[k].text);
        ++k;
      }
      if (k == tokens.size() || Is(tokens[k], "WHERE") || Is(tokens[k], "ORDER")) {
        const std::string list = Join(parts, 1, from);
        const std::string fromClause = Join(parts, from + 1, k);
        // Rows with equal sort keys keep the order they were written in, as the engine's
        // sort does: a list can rank its equal keys (the commonest answer first).
        const std::string tieBreak = inOrderBy ? " , " + ref + ".rowid" : "";
        st.sql += tieBreak;
        RowSource src;
        src.table = table;
        src.rowidSql = "SELECT " + ref + ".rowid , " + list + " FROM " +
                       Join(parts, from + 1, parts.size()) + tieBreak;
        src.refetchSql = "SELECT " + list + " FROM " + fromClause + " WHERE " + ref + ".rowid = ?";
        st.source = std::move(src);
      }
    }
  }
  return st;
}

}  // namespace dao::jet
