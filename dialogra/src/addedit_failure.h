#pragma once

// What the editor tells the user when the engine fails it.

#include <string>
#include <string_view>

#include "dao/error.h"

namespace dialogra {

// "The word book "<path>" could not be opened: <why in plain words>"
std::string OpenFailureText(std::string_view path, const dao::Error& e);

// "The word could not be saved in "<path>": <why>" and the like.
std::string ChangeFailureText(std::string_view what, std::string_view path, const dao::Error& e);

}  // namespace dialogra
