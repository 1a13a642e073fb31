#pragma once

// SQLCipher, opened when the first database is: the functions the engine
// calls, found in the library at run time.

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

namespace dao::sqlite {

// Every SQLCipher function the engine uses, named once.
// clang-format off
#define DAO_SQLITE_FUNCTIONS(X) \
  X(sqlite3_bind_int64) \
  X(sqlite3_bind_null) \
  X(sqlite3_bind_text) \
  X(sqlite3_busy_timeout) \
  X(sqlite3_changes) \
  X(sqlite3_clear_bindings) \
  X(sqlite3_close_v2) \
  X(sqlite3_column_bytes) \
  X(sqlite3_column_count) \
  X(sqlite3_column_int64) \
  X(sqlite3_column_name) \
  X(sqlite3_column_origin_name) \
  X(sqlite3_column_table_name) \
  X(sqlite3_column_text) \
  X(sqlite3_column_type) \
  X(sqlite3_create_collation_v2) \
  X(sqlite3_create_function) \
  X(sqlite3_db_filename) \
  X(sqlite3_errmsg) \
  X(sqlite3_errstr) \
  X(sqlite3_extended_result_codes) \
  X(sqlite3_finalize) \
  X(sqlite3_key) \
  X(sqlite3_last_insert_rowid) \
  X(sqlite3_open_v2) \
  X(sqlite3_prepare_v2) \
  X(sqlite3_reset) \
  X(sqlite3_result_int) \
  X(sqlite3_result_null) \
  X(sqlite3_step) \
  X(sqlite3_value_bytes) \
  X(sqlite3_value_text) \
  X(sqlite3_value_type)
// clang-format on

struct Library {
#define DAO_SQLITE_MEMBER(name) decltype(&::name) name = nullptr;
  DAO_SQLITE_FUNCTIONS(DAO_SQLITE_MEMBER)
#undef DAO_SQLITE_MEMBER
};

// The library, opened on the first call. Throws dao::Error, naming the
// library and what is wrong, when it cannot be opened; every later call
// throws the same.
const Library& Api();

}  // namespace dao::sqlite
