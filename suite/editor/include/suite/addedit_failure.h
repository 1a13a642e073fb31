#pragma once

// What the editor tells the user when the engine fails it.

#include <string>
#include <string_view>

#include <vector>

#include "dao/database.h"
#include "dao/error.h"

namespace dialogra {

// "The word book "<path>" could not be opened: <why in plain words>"; for a
// file in use, `holders` names who holds it, when the system can tell, and
// `heldHere` says why this program holds it itself, when it knows.
std::string OpenFailureText(std::string_view path, const dao::Error& e,
                            const std::vector<dao::Holder>& holders = {},
                            std::string_view heldHere = {});

// "The word could not be saved in "<path>": <why>" and the like.
std::string ChangeFailureText(std::string_view what, std::string_view path, const dao::Error& e);

// For a trainer that keeps trying a word book it could not open: says which
// book and why once, not at every try. A book that opens in between may be
// reported again when it fails anew.
class OpenFailureNotice {
 public:
  void Failed(std::string_view path, const dao::Error& e);
  void Opened() { said_.clear(); }

 private:
  std::string said_;
};

}  // namespace dialogra
