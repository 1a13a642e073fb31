#pragma once

// The programs write their queries in the engine's own dialect. This turns
// such a text into the SQLite statement that means the same:
// - strings in '...' or "..." become SQLite strings; [Name] a quoted name;
// - text compares and sorts without regard to case (collation JETTEXT);
// - LIKE takes the engine's patterns ("*", "?", "#", "[...]"), and a
//   pattern with a literal beginning also gets an index range, so that a
//   prefix search does not read the whole table;
// - True/False, "&" and TOP n take their SQLite forms;
// - nothing outside a string is passed through as SQLite syntax of its own:
//   "--" or "/*" are operators here, not comments, and SQLite's parameter
//   signs are refused, so text pasted into a query cannot smuggle in more.

#include <optional>
#include <string>
#include <string_view>

namespace dao::jet {

// The name of the collation that the engine registers on every connection.
inline constexpr const char* kCollation = "JETTEXT";

// Where an updatable query reads its rows from: a single table.
struct RowSource {
  std::string table;       // the table's name as written
  std::string rowidSql;    // the SELECT with the rowid as its first column
  std::string refetchSql;  // the same columns of one row: "... WHERE <t>.rowid = ?"
};

struct Statement {
  std::string sql;  // SQLite text
  bool isSelect = false;
  std::optional<RowSource> source;  // set when the rows can be updated
};

// Throws dao::Error (3075 syntax, 3142 trailing text) when the text cannot
// be read.
Statement Translate(std::string_view jetSql);

// Whether the text is a bare name (of a table), and that name.
std::optional<std::string> BareName(std::string_view source);

// A name quoted for SQLite.
std::string QuoteName(std::string_view name);

}  // namespace dao::jet
