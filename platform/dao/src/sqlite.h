#pragma once

// Small owners of SQLCipher handles, and the translation of its failures
// into the engine's error numbers.

#include "sqlite_library.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace dao::sqlite {

struct CloseDb {
  void operator()(sqlite3* db) const { Api().sqlite3_close_v2(db); }
};
using DbHandle = std::unique_ptr<sqlite3, CloseDb>;

// Raises the engine error for SQLite's result `rc` on `db`. `sql` is the
// engine-dialect text the failing call came from (for syntax errors).
[[noreturn]] void RaiseFor(sqlite3* db, int rc, std::string_view sql = {});

// One prepared statement.
class Statement {
 public:
  // `jetSql`: the program's own text, quoted in syntax errors.
  Statement(sqlite3* db, const std::string& sql, std::string_view jetSql = {});
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement();

  // True when a row is ready; false when done.
  bool Step();
  void Reset();
  void Bind(int index, const std::optional<std::string>& value);
  void Bind(int index, std::int64_t value);

  int ColumnCount() const;
  std::string ColumnName(int i) const;
  // The table and column a result column reads, when it reads one.
  std::optional<std::pair<std::string, std::string>> ColumnOrigin(int i) const;
  std::optional<std::string> Text(int i) const;
  std::int64_t Int64(int i) const;

 private:
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
  std::string jetSql_;
};

// Runs a statement without rows to read; returns the rows it changed.
long Run(sqlite3* db, const std::string& sql, std::string_view jetSql = {});

}  // namespace dao::sqlite
