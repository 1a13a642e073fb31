#include "sqlite_library.h"

#include <memory>
#include <string>

#include "dao/error.h"
#include "shell/shared_library.h"

namespace dao::sqlite {

namespace {

struct Opened {
  Opened() : library(TAVRINEL_SQLCIPHER) {
#define DAO_SQLITE_BIND(name) library.Bind(api.name, #name);
    DAO_SQLITE_FUNCTIONS(DAO_SQLITE_BIND)
#undef DAO_SQLITE_BIND
  }
  shell::SharedLibrary library;
  Library api;
};

}  // namespace

const Library& Api() {
  // Opened once, by whichever thread asks first; never changed after.
  static const Opened opened;
  if (!opened.library.Loaded())
    throw Error(err::kReserved,
                "The database engine cannot start: " + opened.library.Problem() + ".");
  return opened.api;
}

}  // namespace dao::sqlite
