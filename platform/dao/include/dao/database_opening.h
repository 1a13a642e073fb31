#pragma once

// A database opened on a thread of its own. Opening an encrypted file spends
// most of its time deriving the key from the password, and a program that
// shows one of its records in its first window need not wait for that while
// it builds the window. Letting go of an opening (at its end, or by
// assigning another) waits for its thread, and closes a database that nobody
// took, so that the file is not held for nothing.

#include <future>
#include <string>
#include <string_view>

#include "dao/database.h"

namespace dao {

class DatabaseOpening {
 public:
  // Nothing being opened: Take() gives nothing.
  DatabaseOpening() = default;
  // Starts OpenDatabase(name, exclusive, readOnly, connect) on its own
  // thread.
  DatabaseOpening(std::string name, bool exclusive, bool readOnly, std::string connect);
  // Waits for the opening and hands over its database when it was opened
  // with these very arguments; the database is then the caller's alone, on
  // the caller's thread. Gives an empty Database (and lets go of the file)
  // when the opening failed or was for other arguments, and on every later
  // call: the caller then opens the file itself, so that a failure is met
  // where and when it always was, as the file is at that moment.
  Database Take(std::string_view name, bool exclusive, bool readOnly, std::string_view connect);

 private:
  std::string name_;
  bool exclusive_ = false;
  bool readOnly_ = false;
  std::string connect_;
  std::future<Database> opened_;
};

}  // namespace dao
