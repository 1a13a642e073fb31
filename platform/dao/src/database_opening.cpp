#include "dao/database_opening.h"

#include <system_error>
#include <utility>

namespace dao {

DatabaseOpening::DatabaseOpening(std::string name, bool exclusive, bool readOnly,
                                 std::string connect)
    : name_(std::move(name)),
      exclusive_(exclusive),
      readOnly_(readOnly),
      connect_(std::move(connect)) {
  // The connection is made with the engine's own locking left out (each
  // connection is used by one thread at a time); the future hands it over
  // whole, after the thread that made it is done with it.
  try {
    opened_ =
        std::async(std::launch::async, [name = name_, exclusive, readOnly, connect = connect_] {
          return OpenDatabase(name, exclusive, readOnly, connect);
        });
  } catch (const std::system_error&) {
    // No thread to be had: the caller opens the file itself, as it would
    // have without this.
  }
}

Database DatabaseOpening::Take(std::string_view name, bool exclusive, bool readOnly,
                               std::string_view connect) {
  if (!opened_.valid()) return {};
  try {
    Database db = opened_.get();
    if (name == name_ && exclusive == exclusive_ && readOnly == readOnly_ && connect == connect_)
      return db;
  } catch (...) {
    // Whatever went wrong is met again by the caller's own opening.
  }
  return {};
}

}  // namespace dao
