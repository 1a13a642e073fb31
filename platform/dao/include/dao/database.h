#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dao/recordset.h"

namespace dao {

namespace detail {
struct DatabaseState;
}

// An open database file. Copies share one connection, which lasts until
// Close() or until the last copy and the last of its recordsets are gone;
// the file stays held (exclusively or shared) for that long.
class Database {
 public:
  Database() = default;

  bool IsOpen() const;
  const std::string& Name() const;
  bool Exclusive() const;
  bool ReadOnly() const;

  // A table's name gives a table-type recordset, an SQL text a dynaset (or
  // a snapshot when it cannot be changed, or when asked for). The SQL is
  // the engine's dialect (see jet_sql.h in the sources for what is taken).
  Recordset OpenRecordset(std::string_view source,
                          RecordsetType type = RecordsetType::kDefault) const;

  // Runs an action query (INSERT, UPDATE, DELETE, CREATE ...); returns the
  // number of rows it changed.
  long Execute(std::string_view sql) const;

  std::vector<std::string> TableNames() const;

  // Transactions (they nest). Rollback does not reach back into the values
  // that open recordsets hold: Requery them.
  void BeginTrans() const;
  void CommitTrans() const;
  void Rollback() const;

  // Lets go of the file at once; the recordsets of this database close too.
  void Close();

 private:
  friend Database OpenDatabase(std::string_view, bool, bool, std::string_view);
  friend Database CreateDatabase(std::string_view, std::string_view);
  explicit Database(std::shared_ptr<detail::DatabaseState> state) : state_(std::move(state)) {}
  detail::DatabaseState& State() const;
  std::shared_ptr<detail::DatabaseState> state_;
};

// Opens the database file `name` ("\" or "/" as separators). `exclusive`
// keeps every other connection out, in this process and in others, until the
// database is released; a shared open is refused while one holds it
// exclusively (err::kHeldExclusively), an exclusive one while anyone holds it
// (err::kFileInUse). `connect` is the engine's connect string: ";pwd=secret"
// opens a file encrypted with that password.
//
// Failures: err::kFileNotFound (no such file), err::kInvalidPath (no such
// folder), err::kInvalidPassword (no password or the wrong one),
// err::kNotADatabase (not a database file), err::kCorrupt (a damaged one),
// err::kNoPermission (the file may not be read).
Database OpenDatabase(std::string_view name, bool exclusive = false, bool readOnly = false,
                      std::string_view connect = "");

// A process that holds a database file open through this engine.
struct Holder {
  int process = 0;
  std::string program;  // the process's name, as the system reports it
  bool thisProcess = false;
};

// Who holds the database file `name` now, for telling a user why an open
// was refused; empty when no one does or the system cannot tell.
std::vector<Holder> Holders(std::string_view name);

// For a program that ends at once, without unwinding: lets go of every
// database this process holds, so that the lock files beside them go with
// their last user. The open databases are unusable afterwards.
void ReleaseAllAtEnd();

// Makes a new, empty database file (encrypted when `connect` holds a
// password) and opens it exclusively; err::kDatabaseExists if there is one.
Database CreateDatabase(std::string_view name, std::string_view connect = "");

}  // namespace dao
