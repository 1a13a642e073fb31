#include "sqlite.h"

#include "dao/error.h"

namespace dao::sqlite {

namespace {

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

}  // namespace

void RaiseFor(sqlite3* db, int rc, std::string_view sql) {
  const std::string message = db ? Api().sqlite3_errmsg(db) : Api().sqlite3_errstr(rc);
  const std::string file =
      db && Api().sqlite3_db_filename(db, "main") ? Api().sqlite3_db_filename(db, "main") : "";
  switch (rc & 0xFF) {
    case SQLITE_CONSTRAINT:
      if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY)
        Raise(err::kDuplicateKey);
      if (rc == SQLITE_CONSTRAINT_NOTNULL) {
        // "NOT NULL constraint failed: table.column"
        const auto dot = message.rfind('.');
        Raise(err::kRequired, dot == std::string::npos ? message : message.substr(dot + 1));
      }
      Raise(err::kReserved, message);
    case SQLITE_READONLY:
      Raise(err::kReadOnly);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      Raise(err::kLocked);
    case SQLITE_FULL:
      Raise(err::kDiskFull);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      Raise(err::kCorrupt, file);
    case SQLITE_IOERR:
      Raise(err::kDiskError);
    case SQLITE_PERM:
    case SQLITE_AUTH:
    case SQLITE_CANTOPEN:
      Raise(err::kNoPermission, file);
    case SQLITE_ERROR:
      if (StartsWith(message, "no such table: ")) Raise(err::kNoSuchTable, message.substr(15));
      if (StartsWith(message, "no such column: ")) Raise(err::kTooFewParameters, "1");
      if (message.find("syntax error") != std::string::npos ||
          message.find("unrecognized token") != std::string::npos ||
          message.find("incomplete input") != std::string::npos)
        Raise(err::kSyntax, std::string(sql));
      break;
    default:
      break;
  }
  Raise(err::kReserved, message);
}

Statement::Statement(sqlite3* db, const std::string& sql, std::string_view jetSql)
    : db_(db), jetSql_(jetSql.empty() ? sql : std::string(jetSql)) {
  const char* tail = nullptr;
  const int rc =
      Api().sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &stmt_, &tail);
  if (rc != SQLITE_OK) RaiseFor(db, rc, jetSql_);
  if (!stmt_) Raise(err::kSyntax, jetSql_);  // nothing but blanks
  if (tail && *tail) {
    Api().sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    Raise(err::kTrailingCharacters);
  }
}

Statement::~Statement() {
  Api().sqlite3_finalize(stmt_);
}

bool Statement::Step() {
  const int rc = Api().sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  // Leave the statement ready for another try (a failed Update stays begun).
  const int code = Api().sqlite3_reset(stmt_);
  RaiseFor(db_, code != SQLITE_OK ? code : rc, jetSql_);
}

void Statement::Reset() {
  Api().sqlite3_reset(stmt_);
  Api().sqlite3_clear_bindings(stmt_);
}

void Statement::Bind(int index, const std::optional<std::string>& value) {
  const int rc = value ? Api().sqlite3_bind_text(stmt_, index, value->data(),
                                                 static_cast<int>(value->size()), SQLITE_TRANSIENT)
                       : Api().sqlite3_bind_null(stmt_, index);
  if (rc != SQLITE_OK) RaiseFor(db_, rc, jetSql_);
}

void Statement::Bind(int index, std::int64_t value) {
  const int rc = Api().sqlite3_bind_int64(stmt_, index, value);
  if (rc != SQLITE_OK) RaiseFor(db_, rc, jetSql_);
}

int Statement::ColumnCount() const {
  return Api().sqlite3_column_count(stmt_);
}

std::string Statement::ColumnName(int i) const {
  const char* name = Api().sqlite3_column_name(stmt_, i);
  return name ? name : "";
}

std::optional<std::pair<std::string, std::string>> Statement::ColumnOrigin(int i) const {
  const char* table = Api().sqlite3_column_table_name(stmt_, i);
  const char* column = Api().sqlite3_column_origin_name(stmt_, i);
  if (!table || !column) return std::nullopt;
  return std::make_pair(std::string(table), std::string(column));
}

std::optional<std::string> Statement::Text(int i) const {
  if (Api().sqlite3_column_type(stmt_, i) == SQLITE_NULL) return std::nullopt;
  const auto* text = reinterpret_cast<const char*>(Api().sqlite3_column_text(stmt_, i));
  const int size = Api().sqlite3_column_bytes(stmt_, i);
  return std::string(text ? text : "", static_cast<std::size_t>(size));
}

std::int64_t Statement::Int64(int i) const {
  return Api().sqlite3_column_int64(stmt_, i);
}

long Run(sqlite3* db, const std::string& sql, std::string_view jetSql) {
  Statement st(db, sql, jetSql);
  while (st.Step()) {
  }
  return Api().sqlite3_changes(db);
}

}  // namespace dao::sqlite
