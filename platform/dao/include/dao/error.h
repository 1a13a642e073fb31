#pragma once

#include <stdexcept>
#include <string>

namespace dao {

// The engine's error numbers. Programs test a few of them (a duplicate key
// above all), so each failure keeps the number the engine has always used
// for it, with a text in the engine's words.
namespace err {
inline constexpr int kReserved = 3000;           // anything without a number of its own
inline constexpr int kInvalidArgument = 3001;    // a bad argument to a call
inline constexpr int kUpdateWithoutEdit = 3020;  // Update or CancelUpdate with no change begun
inline constexpr int kNoCurrentRecord = 3021;    // at BOF or EOF, or an empty recordset
inline constexpr int kDuplicateKey = 3022;       // a unique index would hold a value twice
inline constexpr int kFileNotFound = 3024;       // the database file does not exist
inline constexpr int kDiskFull = 3026;
inline constexpr int kReadOnly = 3027;         // a write to a read-only database or recordset
inline constexpr int kInvalidPassword = 3031;  // no password, or the wrong one
inline constexpr int kNoTransaction = 3034;    // CommitTrans or Rollback without BeginTrans
inline constexpr int kDiskError = 3043;
inline constexpr int kInvalidPath = 3044;         // the folder of the file does not exist
inline constexpr int kFileInUse = 3045;           // exclusive open refused: others use the file
inline constexpr int kCorrupt = 3049;             // the file is damaged
inline constexpr int kNoPermission = 3051;        // the file may not be opened (rights)
inline constexpr int kExecuteSelect = 3065;       // Execute given a query that returns rows
inline constexpr int kTooFewParameters = 3061;    // a name in the SQL is no column
inline constexpr int kSyntax = 3075;              // the SQL text cannot be read
inline constexpr int kNoSuchTable = 3078;         // no table or query of that name
inline constexpr int kTrailingCharacters = 3142;  // text after the end of the statement
inline constexpr int kInvalidBookmark = 3159;
inline constexpr int kFieldNotUpdatable = 3164;
inline constexpr int kRecordDeleted = 3167;     // the current record was deleted
inline constexpr int kDatabaseExists = 3204;    // CreateDatabase over an existing file
inline constexpr int kLocked = 3218;            // another connection holds a write lock
inline constexpr int kInvalidOperation = 3219;  // e.g. a table-type recordset of a query
inline constexpr int kItemNotFound = 3265;      // Fields(name) with an unknown name
inline constexpr int kRequired = 3314;          // a required field left without a value
inline constexpr int kNotADatabase = 3343;      // the file is no database of this engine
inline constexpr int kHeldExclusively = 3356;   // shared open refused: one holds it exclusively
inline constexpr int kObjectClosed = 3420;      // the database or recordset was closed
}  // namespace err

// An engine failure: the number a program tests and the engine's message.
class Error : public std::runtime_error {
 public:
  Error(int number, const std::string& message) : std::runtime_error(message), number_(number) {}
  int number() const { return number_; }

 private:
  int number_;
};

// The engine's own message for a number; "|" in it stands for `detail`.
std::string ErrorText(int number, const std::string& detail = {});

// Throws Error(number, ErrorText(number, detail)).
[[noreturn]] void Raise(int number, const std::string& detail = {});

}  // namespace dao
