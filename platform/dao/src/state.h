#pragma once

// The shared state behind the Database and Recordset handles.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dao/recordset.h"
#include "file_lock.h"
#include "sqlite.h"

namespace dao::detail {

struct DatabaseState {
  // The lock is declared first so that it goes last, after the connection.
  FileLock lock;
  sqlite::DbHandle db;
  std::string name;  // as the program gave it
  std::filesystem::path path;
  bool exclusive = false;
  bool readOnly = false;
  int transactions = 0;

  sqlite3* Handle() const;  // err::kObjectClosed once closed
};

// One row of a recordset, as read when it opened or last written.
struct Entry {
  std::int64_t rowid = 0;
  std::vector<std::optional<std::string>> values;
  bool deleted = false;
  bool counted = false;  // included in RecordCount
};

struct Column {
  std::string name;
  std::string origin;  // the table column it writes to; empty: cannot be written
};

struct RecordsetState {
  std::shared_ptr<DatabaseState> database;
  RecordsetType type = RecordsetType::kDynaset;
  std::string source;      // the program's text, for Requery
  std::string selectSql;   // SQLite text that reads the rows (rowid first when updatable)
  std::string refetchSql;  // one row by rowid
  std::string table;       // the table written to; empty when not updatable
  bool closed = false;

  std::uint64_t serial = 0;  // identifies bookmarks of this recordset
  std::vector<Column> columns;
  std::vector<Entry> entries;

  enum class Where { kBefore, kAt, kAfter };
  Where where = Where::kBefore;
  std::size_t current = 0;  // meaningful at kAt; the entry may be deleted
  std::size_t live = 0;     // entries not deleted
  std::size_t deletedCount = 0;
  std::size_t reached = 0;  // entries [0, reached) were reached
  std::size_t counted = 0;  // live entries counted in RecordCount
  std::optional<std::size_t> lastModified;

  struct Pending {
    bool adding = false;
    std::vector<std::optional<std::string>> values;
    std::vector<bool> changed;
  };
  std::optional<Pending> pending;

  std::uint64_t nextListener = 1;
  std::vector<std::pair<std::uint64_t, std::function<void()>>> listeners;
};

}  // namespace dao::detail
